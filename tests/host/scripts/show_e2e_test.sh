#!/usr/bin/env bash
# The whole show, the way a viewer runs it:
# 1. Under a virtual display with the disk audio driver: the setup dialog,
#    START by Enter, a few seconds of play and screenshots, Escape. The
#    show must end with status 0; after the silence a device may play before
#    its first pull, the audio must be the song from its first sound, sample
#    for sample; a screenshot must show the scene.
# 2. On a display whose one mode is not the default size: that mode, chosen
#    in the dialog, is the size of the window, and a window manager's close
#    request ends the show like Escape.
# 3. Without a display, on SDL's offscreen driver, with a device that plays
#    as fast as it can: the show ends by itself at the song's end, status 0.
# Usage: show_e2e_test.sh BIN_DIR WORK_DIR
set -u
bin=$1
work=$2
rm -rf "$work" && mkdir -p "$work" || exit 1
export SCRIPTS=$(cd "$(dirname "$0")" && pwd)
cd "$bin" || exit 1

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/played.raw" WORK="$work"
xvfb-run -a -s "-screen 0 1280x720x24" bash -c '
  . "$SCRIPTS/find_window.sh"
  start_show Return || exit 1
  # The song opens dark; a loaded machine draws its first frames slowly.
  for shot in 1 2 3 4 5; do
    sleep 3
    ffmpeg -loglevel error -f x11grab -video_size 1280x720 -i "$DISPLAY" -frames:v 1 -y "$WORK/screen.png"
    ffmpeg -loglevel error -i "$WORK/screen.png" -f rawvideo -pix_fmt rgb24 -y "$WORK/screen.rgb"
    python3 "$SCRIPTS/scene_lit.py" "$WORK/screen.rgb" > "$WORK/lit.txt" 2>&1 && break
  done
  xdotool windowfocus "$show" 2>/dev/null
  xdotool key Escape
  timeout 30 tail --pid=$pid -f /dev/null
  if kill -0 $pid 2>/dev/null; then echo "the show did not end on Escape"; kill -9 $pid; exit 1; fi
  wait $pid; status=$?
  cat "$WORK/stderr.txt"
  if [ $status -ne 0 ]; then echo "exit status $status, expected 0"; exit 1; fi
  cat "$WORK/lit.txt"
  grep -q "the scene lights" "$WORK/lit.txt"
' || exit 1

./glass-meridian-capture --wav "$work/song.wav" 2>/dev/null || { echo "could not render the song"; exit 1; }

python3 - "$work" <<'PY' || exit 1
import struct, sys
work = sys.argv[1]

def wav_data(path):
    data = open(path, 'rb').read()
    pos = 12
    while pos + 8 <= len(data):
        tag, size = data[pos:pos + 4], struct.unpack('<I', data[pos + 4:pos + 8])[0]
        if tag == b'data':
            return data[pos + 8:pos + 8 + size]
        pos += 8 + size + (size & 1)
    raise SystemExit('no data chunk in the rendered song')

def first_sound(frames):
    """Byte offset of the first frame that is not silence."""
    return (len(frames) - len(frames.lstrip(b'\0'))) // 8 * 8

song = wav_data(work + '/song.wav')
played = open(work + '/played.raw', 'rb').read()
lead, start = first_sound(played), first_sound(song)
heard = played[lead:]
if lead - start > 8 * 44100:
    raise SystemExit('%.2f s of silence before the song' % ((lead - start) / 8 / 44100))
seconds = len(heard) / 8 / 44100
if seconds < 3:
    raise SystemExit('the device played only %.2f s of the song' % seconds)
if heard != song[start:start + len(heard)]:
    first = next(i for i in range(len(heard)) if heard[i] != song[start + i])
    raise SystemExit('the played audio differs from the song at frame %d' % ((start + first) // 8))
print('after %d frames of silence the device played %.2f s of the song, identical from its first sound'
      % ((lead - start) // 8, seconds))

PY

SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 800x600x24" bash -c '
  . "$SCRIPTS/find_window.sh"
  # The list holds the one mode of the display, 800 * 600, not selected: Tab
  # twice reaches the list, Down selects the mode, Shift-Tab twice goes back
  # to START.
  start_show Tab Tab Down shift+Tab shift+Tab Return || exit 1
  size=$(xwininfo -id "$show" | awk "/Width:/ { w = \$2 } /Height:/ { h = \$2 } END { print w \"x\" h }")
  if [ "$size" != 800x600 ]; then echo "the window is $size, the dialog chose 800x600"; kill -9 $pid; exit 1; fi
  sleep 1
  python3 "$SCRIPTS/request_close.py" "$show" || { kill -9 $pid; exit 1; }
  timeout 10 tail --pid=$pid -f /dev/null
  if kill -0 $pid 2>/dev/null; then echo "the show did not end on a close request"; kill -9 $pid; exit 1; fi
  wait $pid; status=$?
  if [ $status -ne 0 ]; then echo "exit status $status after a close request, expected 0"; exit 1; fi
  echo "the window has the size chosen in the dialog, $size, and a close request ended the show with status 0"
' || exit 1

started=$SECONDS
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null \
  SDL_DISKAUDIODELAY=0 timeout 120 ./glass-meridian 2>"$work/stderr.txt"
status=$?
if [ $status -ne 0 ]; then echo "exit status $status at the song's end, expected 0"; cat "$work/stderr.txt"; exit 1; fi
echo "with the song played in moments, the show ended by itself after $((SECONDS - started)) s with status 0"
