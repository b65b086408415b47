#!/usr/bin/env bash
# Under a virtual display: the setup dialog appears, Escape cancels it, and
# the show ends with exit status 255 (-1) without opening its window.
# Usage: dialog_cancel_test.sh BIN_DIR
set -u
export SCRIPTS=$(cd "$(dirname "$0")" && pwd)
cd "$1" || exit 1
exec xvfb-run -a -s "-screen 0 1280x720x24" bash -c '
  . "$SCRIPTS/find_window.sh"
  ./glass-meridian & pid=$!
  dialog=$(find_window "Glass Meridian" 30)
  if [ -z "$dialog" ]; then echo "the setup dialog did not appear"; kill $pid; exit 1; fi
  sleep 0.5
  xdotool windowfocus --sync "$dialog"
  xdotool key Escape
  timeout 20 tail --pid=$pid -f /dev/null
  wait $pid; status=$?
  if [ $status -ne 255 ]; then echo "exit status $status after Escape, expected 255"; exit 1; fi
  if find_window "Talon/Vexa" 1 >/dev/null; then echo "the show window opened"; exit 1; fi
  echo "Escape cancelled the dialog with exit status 255"
'
