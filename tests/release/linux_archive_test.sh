#!/usr/bin/env bash
# The Linux archive, unpacked into an empty folder outside the checkout:
# one folder with the programs, the font, the info file, the licence and
# the screenshot;
# both programs name the version and the commit; the libraries they need
# are exactly those the info file lists, all present, and glibc no newer
# than it says; the capture tool renders the screenshot again, bit for bit;
# the show starts under a virtual display, plays, and quits on Escape.
# Usage: linux_archive_test.sh ARCHIVE COMMIT
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/archive_checks.sh"
archive=$(realpath "$1")
commit=$2
name=$(basename "$archive" -linux-x86_64.tar.gz)
version=${name#glass-meridian-}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/unpacked"
tar -xzf "$archive" -C "$work/unpacked" || { echo "cannot unpack $archive"; exit 1; }
expect_layout "$work/unpacked" "$name" glass-meridian glass-meridian-capture C64.ttf glass-meridian.nfo LICENSE screenshot.png
folder=$work/unpacked/$name
cd "$folder" || exit 1
[ "$failed" -eq 0 ] || exit 1

for program in glass-meridian glass-meridian-capture; do
  expect_version "$(./$program --version 2>&1)" "$program" "$version" "$commit"
done

# The info file's library table: lines of sonames, then a name.
listed=$(grep -oE '^ {6}[^ ]+\.so\.[0-9]+( [^ ]+\.so\.[0-9]+)*' glass-meridian.nfo | tr ' ' '\n' | grep .)
needed=$(objdump -p glass-meridian glass-meridian-capture | awk '$1 == "NEEDED" { print $2 }'
         readelf -l glass-meridian glass-meridian-capture | sed -n 's|.*interpreter: .*/\([^/]*\)]|\1|p')
expect_same_names "libraries" "$listed" "$needed"
missing=$(ldd glass-meridian glass-meridian-capture | grep "not found")
[ -z "$missing" ] || fail "ldd finds no $missing"
glibc_said=$(grep -oE 'glibc [0-9]+\.[0-9]+ or newer' glass-meridian.nfo | grep -oE '[0-9]+\.[0-9]+')
glibc_needed=$(objdump -T glass-meridian glass-meridian-capture | grep -oE 'GLIBC_[0-9.]+' | sort -uV | tail -n 1)
if [ -z "$glibc_said" ] || [ "$(printf '%s\n' "GLIBC_$glibc_said" "$glibc_needed" | sort -V | tail -n 1)" != "GLIBC_$glibc_said" ]; then
  fail "the info file says glibc '${glibc_said:-?}' or newer; the programs need $glibc_needed"
fi

./glass-meridian-capture --still 60 --size 640x360 --png "$work/still.png" 2>"$work/capture.txt" ||
  fail "the capture tool failed here: $(cat "$work/capture.txt")"
cmp -s "$work/still.png" screenshot.png || fail "the still rendered here differs from screenshot.png"

export SCRIPTS=$here/../host/scripts SDL_AUDIODRIVER=dummy WORK=$work
xvfb-run -a -s "-screen 0 1280x720x24" bash -c '
  . "$SCRIPTS/find_window.sh"
  ./glass-meridian 2> "$WORK/show.txt" & pid=$!
  dialog=$(find_window "Glass Meridian" 30)
  if [ -z "$dialog" ]; then echo "the setup dialog did not appear"; cat "$WORK/show.txt"; kill $pid; exit 1; fi
  sleep 0.5
  xdotool windowfocus --sync "$dialog"
  xdotool key Return
  show=$(find_window "Talon/Vexa" 60)
  if [ -z "$show" ]; then echo "the show window did not appear"; cat "$WORK/show.txt"; kill $pid; exit 1; fi
  sleep 2
  xdotool windowfocus "$show" 2>/dev/null
  xdotool key Escape
  timeout 30 tail --pid=$pid -f /dev/null
  if kill -0 $pid 2>/dev/null; then echo "the show did not end on Escape"; kill -9 $pid; exit 1; fi
  wait $pid; status=$?
  if [ $status -ne 0 ]; then echo "the show ended with status $status, expected 0"; cat "$WORK/show.txt"; exit 1; fi
' || failed=1

[ "$failed" -eq 0 ] && echo "$name for Linux runs from an empty folder"
exit "$failed"
