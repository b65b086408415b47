#!/usr/bin/env bash
# The show on screens whose one mode is not the record's 1280 x 720: the
# list selects nothing, Enter starts full screen at the screen's own mode,
# and a screenshot shows the whole picture with the logo readable at its
# right edge. Escape then ends the show with status 0.
# Usage: show_any_screen_test.sh BIN_DIR WORK_DIR
set -u
bin=$1
work=$2
rm -rf "$work" && mkdir -p "$work" || exit 1
trap 'rm -rf "$work"' EXIT
export SCRIPTS=$(cd "$(dirname "$0")" && pwd) READ_LOGO=$(cd "$(dirname "$0")/../../scripts" && pwd)/read_logo.sh
export WORK="$work" SDL_AUDIODRIVER=dummy
cd "$bin" || exit 1
for screen in 1920x1080 1024x768; do
  SCREEN=$screen xvfb-run -a -s "-screen 0 ${screen}x24" bash -c '
    . "$SCRIPTS/find_window.sh"
    ./glass-meridian 2> "$WORK/stderr.txt" & pid=$!
    dialog=$(find_window "Glass Meridian" 30)
    if [ -z "$dialog" ]; then echo "the setup dialog did not appear"; kill -9 $pid; exit 1; fi
    sleep 0.5
    xdotool windowfocus --sync "$dialog"
    xdotool key Return
    show=$(find_window "Talon/Vexa" 60)
    if [ -z "$show" ]; then echo "the show window did not appear"; cat "$WORK/stderr.txt"; kill -9 $pid; exit 1; fi
    sleep 5
    ffmpeg -loglevel error -f x11grab -video_size "$SCREEN" -i "$DISPLAY" -frames:v 1 -y "$WORK/screen.png"
    size=$(xwininfo -id "$show" | awk "/Width:/ { w = \$2 } /Height:/ { h = \$2 } END { print w \"x\" h }")
    xdotool key Escape
    timeout 30 tail --pid=$pid -f /dev/null
    if kill -0 $pid 2>/dev/null; then echo "the show did not end on Escape"; kill -9 $pid; exit 1; fi
    wait $pid; status=$?
    if [ $status -ne 0 ]; then echo "exit status $status, expected 0"; cat "$WORK/stderr.txt"; exit 1; fi
    if [ "$size" != "$SCREEN" ]; then echo "the window is $size on a $SCREEN screen"; exit 1; fi
    echo "on a $SCREEN screen: a $size window"
    bash "$READ_LOGO" "$WORK/screen.png" "$WORK"
  ' || exit 1
done
