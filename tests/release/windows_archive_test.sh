#!/usr/bin/env bash
# The Windows archive, unpacked into an empty folder outside the checkout:
# one folder with the program, the font, the info file and the licence (CR LF
# line ends) and the screenshot; the program is a 32-bit x86 (PE32 i386)
# executable that imports exactly the DLLs the info file lists and names the
# commit. Where this host runs 32-bit code (scripts/windows-test-preset), it
# runs under Wine, in a prefix of its own: it names the version and the
# commit, and starts with its setup dialog, which Escape cancels (status
# 255). Elsewhere the same commit's x86-64 build (X64_BIN, the windows-x64
# preset's bin folder) runs under wine64 instead: it names the version and
# the commit, and goes from its dialog to the effect's message.
# Usage: windows_archive_test.sh ARCHIVE COMMIT [X64_BIN]
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/archive_checks.sh"
archive=$(realpath "$1")
commit=$2
name=$(basename "$archive" -windows-x86.zip)
version=${name#glass-meridian-}

work=$(mktemp -d)
export WINEPREFIX=$work/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WORK=$work
cleanup() {
  wineserver -k >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/unpacked"
unzip -q "$archive" -d "$work/unpacked" || { echo "cannot unpack $archive"; exit 1; }
expect_layout "$work/unpacked" "$name" glass-meridian.exe C64.ttf glass-meridian.nfo LICENSE screenshot.png
folder=$work/unpacked/$name
cd "$folder" || exit 1
[ "$failed" -eq 0 ] || exit 1

[ "$(grep -c $'\r$' glass-meridian.nfo)" = "$(wc -l <glass-meridian.nfo)" ] ||
  fail "not every line of the info file ends in CR LF"
listed=$(tr -d '\r' <glass-meridian.nfo | grep -oE '^ {6}[^ ]+\.dll ' | tr -d ' ')
imports=$(i686-w64-mingw32-objdump -p glass-meridian.exe | sed -n 's/^[[:space:]]*DLL Name: //p')
expect_same_names "DLLs" "$listed" "$imports"

# The shipped program is the 32-bit one, and holds this commit's name.
format=$(i686-w64-mingw32-objdump -f glass-meridian.exe | sed -n 's/.*file format //p')
[ "$format" = pei-i386 ] || fail "glass-meridian.exe is '$format', expected a 32-bit x86 program (pei-i386)"
grep -qaF "$commit" glass-meridian.exe ||
  fail "glass-meridian.exe does not name the commit $commit"

here_runs=$(bash "$here/../../scripts/windows-test-preset") || exit 1
# Everything under Wine runs on one display: the prefix's first windowed
# program fixes the display of all that follow.
export WINE_RUN=$here/../../scripts/wine-run WINE_WINDOWS=$here/../scripts/wine_windows.sh
if [ "$here_runs" = windows-x86 ]; then
  xvfb-run -a -s "-screen 0 1280x720x24" bash -c '
    . "$WINE_WINDOWS"
    "$WINE_RUN" win32 "$WINEPREFIX" --prepare
    "$WINE_RUN" win32 "$WINEPREFIX" ./glass-meridian.exe --version >"$WORK/version.txt" 2>/dev/null
    "$WINE_RUN" win32 "$WINEPREFIX" ./glass-meridian.exe >"$WORK/show.txt" 2>&1 & pid=$!
    dialog=$(wait_for_window "Glass Meridian" 120) || { echo "the setup dialog did not appear"; cat "$WORK/show.txt"; kill $pid; exit 1; }
    press_in_window "$dialog" Escape
    expect_exit $pid 255 "Escape in the dialog" "$WORK/show.txt" || exit 1
  ' || failed=1
else
  x64=${3:-}
  [ -f "$x64/glass-meridian.exe" ] || { echo "no windows-x64 build of the show at '$x64' to run instead"; exit 1; }
  "$WINE_RUN" win64 "$WINEPREFIX" "$x64/glass-meridian.exe" --version >"$work/version.txt" 2>/dev/null
  bash "$here/../host/scripts/wine_show_test.sh" win64 "$x64" "$work/x64-show" || failed=1
fi
expect_version "$(cat "$work/version.txt")" glass-meridian "$version" "$commit"

if [ "$here_runs" = windows-x86 ]; then ran="it starts under Wine from an empty folder"
else ran="this host runs no 32-bit code, and its x86-64 build ran under wine64 in its place"; fi
[ "$failed" -eq 0 ] && echo "$name for Windows: a 32-bit program; $ran"
exit "$failed"
