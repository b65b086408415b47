#!/usr/bin/env bash
# The README's commands as a newcomer types them, where they are cheap:
# every build line configures its preset first, and the native ones work in
# a fresh clone (configured, then built as a dry run); the groups it names
# are scripts/bootstrap's; every capture option it uses is one the capture
# tool has, and its one-frame command runs. Nothing is installed.
# Usage: readme_commands_test.sh CAPTURE_TOOL
set -u
capture=$(realpath "$1")
cd "$(dirname "$0")/../.." || exit 1
failed=0
fail() { echo "FAIL: $*"; failed=1; }

# A build line on its own fails on a fresh clone: "not a directory".
while read -r line; do
  [[ $line =~ ^cmake\ --preset\ ([a-z0-9-]+)\ \&\&\ cmake\ --build\ --preset\ ([a-z0-9-]+)$ ]] &&
    [ "${BASH_REMATCH[1]}" = "${BASH_REMATCH[2]}" ] ||
    fail "README builds without configuring the preset first: '$line'"
done < <(grep -oE '(cmake --preset [a-z0-9-]+ && )?cmake --build --preset [a-z0-9-]+' README.md)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git clone -q . "$work/clone" || exit 1
  # The README's release build lines, in the clone; ninja only says what it would do.
  while read -r line; do
    configure=${line%% && *}
    build=${line#* && }
    (cd "$work/clone" && $configure >/dev/null && $build -- -n >/dev/null) ||
      fail "on a fresh clone, '$line' fails"
  done < <(grep -oE 'cmake --preset release && cmake --build --preset release[^`]*' "$work/clone/README.md" | sort -u)
else
  echo "not a git checkout: the fresh-clone check is left out"
fi

# "scripts/bootstrap show web", "group `release` (zip, unzip)": every group
# the README installs or describes exists, and the release group is as said.
while read -r group; do
  scripts/bootstrap --list "$group" >/dev/null 2>&1 || fail "README names a bootstrap group '$group' that does not exist"
done < <(grep -oE 'scripts/bootstrap( [a-z0-9]+)+' README.md | cut -d' ' -f2- | tr ' ' '\n' | sort -u)
[ "$(scripts/bootstrap --list release | tr '\n' ' ')" = "zip unzip " ] ||
  fail "the release group is no longer zip and unzip, as the README says"

# Every option the README gives the capture tool is in its --help.
help=$("$capture" --help) || fail "glass-meridian-capture --help fails"
while read -r option; do
  grep -qF -- "$option" <<<"$help" || fail "README uses $option, which the capture tool does not have"
done < <(grep -oE 'glass-meridian-capture( [^`#]*)?' README.md | grep -oE -- '--[a-z]+' | sort -u)

# The README's one-frame command, run where the font lies.
cp "$(dirname "$capture")/C64.ttf" "$work/" || fail "no C64.ttf beside the capture tool"
line=$(grep -oE '\./glass-meridian-capture --still [^#`]*' README.md | head -n 1)
(cd "$work" && ${line/.\/glass-meridian-capture/$capture} >/dev/null 2>&1) && [ -s "$work/still.png" ] ||
  fail "'$line' wrote no still.png"

[ $failed -eq 0 ] && echo "the README's commands hold"
exit $failed
