#!/usr/bin/env bash
# Without its font the show says so and ends with status 1. The program is
# copied into an empty folder (no C64.ttf there, nor beside it) and run
# without a display, so the message goes to stderr.
# Usage: no_font_test.sh BIN_DIR
set -u
scratch=$(mktemp -d) || exit 1
trap 'rm -rf "$scratch"' EXIT
cp "$1/glass-meridian" "$scratch/" || exit 1
cd "$scratch" || exit 1
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy
said=$(timeout 60 ./glass-meridian 2>&1 >/dev/null)
status=$?
if [ $status -ne 1 ]; then echo "exit status $status without the font, expected 1"; echo "$said"; exit 1; fi
expected="Could not temporarily install Font!: Could not find or temporarily install C64 Pro - Font"
if ! grep -qF "$expected" <<<"$said"; then echo "not the font message on stderr: $said"; exit 1; fi
echo "without its font the show says so and ends with status 1:"
echo "$said"
