#!/usr/bin/env bash
# Under a virtual display, every way the show is stopped from outside ends
# it at once: SIGTERM while the setup dialog is open (status 143, the show
# window never opens), SIGTERM and SIGINT while it plays (143 and 130), and
# its window destroyed from outside (status 0, as after Escape), and
# SIGTERM while a start-up failure's message box is up (143).
# Usage: show_stop_test.sh BIN_DIR
set -u
export SCRIPTS=$(cd "$(dirname "$0")" && pwd)
cd "$1" || exit 1
export SDL_AUDIODRIVER=dummy
exec xvfb-run -a -s "-screen 0 1280x720x24" bash -c '
  . "$SCRIPTS/find_window.sh"
  set -m  # jobs of their own: a shell without job control starts them with SIGINT ignored
  failed=0
  # ends_with PID STATUS WHAT: the show must end within 10 s with STATUS.
  ends_with() {
    timeout 10 tail --pid=$1 -f /dev/null
    if kill -0 $1 2>/dev/null; then echo "$3: the show went on"; kill -9 $1; failed=1; return; fi
    wait $1; local status=$?
    if [ $status -ne $2 ]; then echo "$3: exit status $status, expected $2"; failed=1; return; fi
    echo "$3: ended with status $status"
  }

  ./glass-meridian 2>/dev/null & pid=$!
  if [ -z "$(find_window "Glass Meridian" 30)" ]; then echo "the setup dialog did not appear"; exit 1; fi
  kill -TERM $pid
  ends_with $pid 143 "SIGTERM in the setup dialog"
  if find_window "Talon/Vexa" 1 >/dev/null; then echo "the show window opened after SIGTERM"; failed=1; fi

  for signal in TERM:143 INT:130; do
    start_show Return || exit 1
    sleep 1
    kill -${signal%:*} $pid
    ends_with $pid ${signal#*:} "SIG${signal%:*} while playing"
  done

  start_show Return || exit 1
  sleep 1
  xdotool windowclose "$show"
  ends_with $pid 0 "its window destroyed from outside"

  # Alone in a folder the show finds no font and says so in a box (shown
  # by a zenity that waits for OK, standing in for any box): a stop ends
  # the show and closes the box.
  scratch=$(mktemp -d) && cp ./glass-meridian "$scratch/" && mkdir "$scratch/bin" || exit 1
  printf "#!/bin/sh\n[ \"\$1\" = --version ] && { echo 3.44.0; exit 0; }\necho \$\$ >\"%s/box\"\nexec sleep 600\n" \
    "$scratch" >"$scratch/bin/zenity" && chmod +x "$scratch/bin/zenity"
  (cd "$scratch" && PATH="$scratch/bin:$PATH" exec ./glass-meridian 2>/dev/null) & pid=$!
  dialog=$(find_window "Glass Meridian" 30) || { echo "the setup dialog did not appear"; exit 1; }
  sleep 0.5
  xdotool windowfocus --sync "$dialog" key Return
  for i in $(seq 100); do [ -s "$scratch/box" ] && break; sleep 0.1; done
  if [ -s "$scratch/box" ]; then
    kill -TERM $pid
    ends_with $pid 143 "SIGTERM while the font box is up"
    sleep 0.5
    state=$(ps -o stat= -p "$(cat "$scratch/box")")  # empty once gone, Z while nobody has reaped it
    if [ -n "$state" ] && [ "${state#Z}" = "$state" ]; then
      echo "the box stayed up"; kill "$(cat "$scratch/box")"; failed=1
    fi
  else
    echo "the font box did not appear"; kill -9 $pid; failed=1
  fi
  rm -rf "$scratch"
  exit $failed
'
