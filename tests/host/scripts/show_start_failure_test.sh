#!/usr/bin/env bash
# The show where it cannot start, without a display: it says why on stderr
# and ends with status 1, never going on drawing into nothing.
#   show_start_failure_test.sh BIN_DIR beside-font "Glass Meridian cannot start"
#     run beside its font: the dialog and then the window cannot be made;
#   show_start_failure_test.sh BIN_DIR without-font "Could not ... - Font"
#     the program alone in an empty folder: no font to install.
# Usage: show_start_failure_test.sh BIN_DIR beside-font|without-font MESSAGE
set -u
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"' EXIT
if [ "$2" = without-font ]; then
  cp "$1/glass-meridian" "$scratch/" || exit 1
  cd "$scratch" || exit 1
else
  cd "$1" || exit 1
fi
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy
said=$(timeout 60 ./glass-meridian 2>&1 >/dev/null)
status=$?
if [ $status -ne 1 ]; then echo "exit status $status ($2), expected 1"; echo "$said"; exit 1; fi
if ! grep -qF "$3" <<<"$said"; then echo "not '$3' on stderr ($2): $said"; exit 1; fi
echo "$2: the show says why and ends with status 1:"
echo "$said"
