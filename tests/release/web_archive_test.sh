#!/usr/bin/env bash
# The web archive, unpacked into an empty folder outside the checkout: one
# folder with the page's three files, the song worker's two, the font, the info file (naming the
# version and the commit) and the screenshot; served as plain static files,
# the page plays the show in headless Chromium and Escape ends it.
# Usage: web_archive_test.sh ARCHIVE COMMIT
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/archive_checks.sh"
archive=$(realpath "$1")
commit=$2
name=$(basename "$archive" -web.zip)
version=${name#glass-meridian-}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$archive" -d "$work" || { echo "cannot unpack $archive"; exit 1; }
expect_layout "$work" "$name" glass-meridian.html glass-meridian.js glass-meridian.wasm \
  glass-meridian-synth.js glass-meridian-synth.wasm C64.ttf glass-meridian.nfo LICENSE screenshot.png
[ "$failed" -eq 0 ] || exit 1
grep -q "version ...... $version (commit $commit)" "$work/$name/glass-meridian.nfo" ||
  fail "the info file does not name version $version and commit $commit"
python3 "$here/../web/web_page_test.py" "$work/$name" show || failed=1
[ "$failed" -eq 0 ] && echo "$name plays in a browser from a static server"
exit "$failed"
