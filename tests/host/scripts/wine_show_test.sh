#!/usr/bin/env bash
# The Windows program under Wine and a virtual display, as far as Wine
# lets it go. Wine's D3DX effect compiler takes no technique block (Wine
# 8, error E5000) and knows no tex2D (error E5005), so no effect text of
# the show compiles there and the furthest the show can get is its effect
# step. What is checked is exactly that path: the setup
# dialog appears with its controls where its template puts them (window
# title and a screenshot), START (Enter) opens the window "Talon/Vexa", so
# the font was installed, and the effect step ends in the "Shader Compiler
# Error" message box and exit status 1. Nothing later is asserted.
# ARCH is the build's (win32 or win64, as scripts/wine-run takes it).
# Usage: wine_show_test.sh ARCH BIN_DIR WORK_DIR    (exit 77: skipped)
set -u
export ARCH=$1
bin=$2
work=$3
export SCRIPTS=$(cd "$(dirname "$0")" && pwd)
export WINE_WINDOWS=$SCRIPTS/../../scripts/wine_windows.sh WINE_RUN=$SCRIPTS/../../../scripts/wine-run
. "$WINE_WINDOWS"
for tool in xvfb-run xdotool xwininfo ffmpeg python3; do
  command -v $tool >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
wine_gl_ready "$ARCH" || { echo "skipped"; exit 77; }
rm -rf "$work" && mkdir -p "$work" || exit 1
export WORK=$work WINEPREFIX=$work/prefix
cleanup() { wineserver -k >/dev/null 2>&1; rm -rf "$WINEPREFIX"; }
trap cleanup EXIT
cd "$bin" || exit 1

xvfb-run -a -s "-screen 0 1280x720x24" bash -c '
  . "$WINE_WINDOWS"
  "$WINE_RUN" "$ARCH" "$WINEPREFIX" --prepare || exit 1
  "$WINE_RUN" "$ARCH" "$WINEPREFIX" ./glass-meridian.exe > "$WORK/output.txt" 2>&1 & pid=$!
  dialog=$(wait_for_window "Glass Meridian" 120) || { echo "the setup dialog did not appear"; kill $pid; exit 1; }
  sleep 1
  eval "$(xwininfo -id "$dialog" | sed -n "s/^ *Absolute upper-left X: *\(-*[0-9]*\)/x=\1/p; s/^ *Absolute upper-left Y: *\(-*[0-9]*\)/y=\1/p; s/^ *Width: *\([0-9]*\)/w=\1/p; s/^ *Height: *\([0-9]*\)/h=\1/p")"
  ffmpeg -loglevel error -f x11grab -draw_mouse 0 -video_size ${w}x${h} -i "$DISPLAY+$x,$y" -frames:v 1 -y "$WORK/dialog.png"
  ffmpeg -loglevel error -i "$WORK/dialog.png" -f rawvideo -pix_fmt gray -y "$WORK/dialog.gray"
  python3 "$SCRIPTS/dialog_controls.py" "$WORK/dialog.gray" $w $h || { kill $pid; exit 1; }
  press_in_window "$dialog" Return
  wait_for_window "Talon/Vexa" 60 >/dev/null || { echo "START did not open the show window"; cat "$WORK/output.txt"; kill $pid; exit 1; }
  box=$(wait_for_window "Shader Compiler Error" 60) || { echo "no Shader Compiler Error box"; cat "$WORK/output.txt"; kill $pid; exit 1; }
  press_in_window "$box" Return
  expect_exit $pid 1 "the Shader Compiler Error box" "$WORK/output.txt" || exit 1
  echo "dialog, START, window \"Talon/Vexa\", Shader Compiler Error, exit status 1"
'
