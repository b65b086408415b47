#!/usr/bin/env bash
# The show on screens whose one mode is not the record's 1280 x 720: the
# list selects nothing, Enter starts full screen at the screen's own mode,
# and a screenshot of the whole screen shows the whole picture, the logo
# readable where it belongs at its right edge. Escape then ends the show
# with status 0.
# Usage: show_any_screen_test.sh BIN_DIR WORK_DIR
set -u
work=$2
rm -rf "$work" && mkdir -p "$work" || exit 1
trap 'rm -rf "$work"' EXIT
export SCRIPTS=$(cd "$(dirname "$0")" && pwd) READ_LOGO=$(cd "$(dirname "$0")/../../scripts" && pwd)/read_logo.sh
export WORK="$work" SDL_AUDIODRIVER=dummy
cd "$1" || exit 1
for screen in 1920x1080 1024x768; do
  SCREEN=$screen xvfb-run -a -s "-screen 0 ${screen}x24" bash -c '
    . "$SCRIPTS/find_window.sh"
    start_show Return || exit 1
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
