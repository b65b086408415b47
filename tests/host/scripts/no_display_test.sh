#!/usr/bin/env bash
# Without any display the setup dialog cannot be created, so the show goes
# on with its defaults, and then its window cannot open either: it must say
# why on stderr and end with status 1, not go on drawing into nothing.
# Usage: no_display_test.sh BIN_DIR
set -u
cd "$1" || exit 1
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy
said=$(timeout 60 ./glass-meridian 2>&1 >/dev/null)
status=$?
if [ $status -ne 1 ]; then echo "exit status $status without a display, expected 1"; echo "$said"; exit 1; fi
if ! grep -q "Glass Meridian cannot start" <<<"$said"; then echo "no reason on stderr: $said"; exit 1; fi
echo "without a display the show says why and ends with status 1:"
echo "$said"
