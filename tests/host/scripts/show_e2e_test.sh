#!/usr/bin/env bash
# The whole show under a virtual display with the disk audio driver: the
# setup dialog, START by Enter, about five seconds of play, a screenshot,
# Escape. The show must end with status 0, the audio the device received
# must be the song from its first frame, sample for sample, and the
# screenshot must show the scene.
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
  ./glass-meridian 2> "$WORK/stderr.txt" & pid=$!
  dialog=$(find_window "Glass Meridian" 30)
  if [ -z "$dialog" ]; then echo "the setup dialog did not appear"; kill $pid; exit 1; fi
  sleep 0.5
  xdotool windowfocus --sync "$dialog"
  xdotool key Return
  show=$(find_window "Talon/Vexa" 60)
  if [ -z "$show" ]; then echo "the show window did not appear"; cat "$WORK/stderr.txt"; kill $pid; exit 1; fi
  sleep 5
  ffmpeg -loglevel error -f x11grab -video_size 1280x720 -i "$DISPLAY" -frames:v 1 -y "$WORK/screen.png"
  ffmpeg -loglevel error -i "$WORK/screen.png" -f rawvideo -pix_fmt rgb24 -y "$WORK/screen.rgb"
  xdotool windowfocus "$show" 2>/dev/null
  xdotool key Escape
  timeout 30 tail --pid=$pid -f /dev/null
  if kill -0 $pid 2>/dev/null; then echo "the show did not end on Escape"; kill -9 $pid; exit 1; fi
  wait $pid; status=$?
  cat "$WORK/stderr.txt"
  if [ $status -ne 0 ]; then echo "exit status $status, expected 0"; exit 1; fi
' || exit 1

./glass-meridian-capture --wav "$work/song.wav" 2>/dev/null || { echo "could not render the song"; exit 1; }

python3 - "$work" <<'PY'
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

song = wav_data(work + '/song.wav')
played = open(work + '/played.raw', 'rb').read()
seconds = len(played) / 8 / 44100
if seconds < 3:
    raise SystemExit('the device received only %.2f s of audio' % seconds)
if played != song[:len(played)]:
    first = next(i for i in range(len(played)) if played[i] != song[i])
    raise SystemExit('the played audio differs from the song at frame %d' % (first // 8))
print('the device received %.2f s of the song, identical from frame 0' % seconds)

rgb = open(work + '/screen.rgb', 'rb').read()
w, h = 1280, 720
lit = 0
# The logo stands on the right; the scene fills the left part of the screen.
for y in range(0, h, 4):
    row = rgb[3 * w * y:3 * w * (y + 1)]
    for x in range(0, w * 6 // 10, 4):
        if max(row[3 * x:3 * x + 3]) > 24:
            lit += 1
share = lit / ((h // 4) * (w * 6 // 10 // 4))
if share < 0.02:
    raise SystemExit('the screenshot is black where the scene should be (%.4f lit)' % share)
print('the scene lights %.1f %% of the left part of the screen' % (100 * share))
PY
