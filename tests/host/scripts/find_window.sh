# find_window NAME SECONDS: prints the id of the first top-level window
# titled exactly NAME, waiting up to SECONDS for it; fails when none appears.
find_window() {
  local deadline=$((SECONDS + $2)) id
  while [ $SECONDS -lt $deadline ]; do
    id=$(xwininfo -root -children 2>/dev/null | grep -F " \"$1\": (" | awk '{ print $1; exit }')
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.2
  done
  return 1
}

# start_show KEY...: starts ./glass-meridian (standard error to
# $WORK/stderr.txt when WORK is set), presses the KEYs in its setup dialog
# and waits for the show's window; sets pid and show, or says what did not
# appear and fails.
start_show() {
  local errors=/dev/null dialog key
  [ -n "${WORK:-}" ] && errors=$WORK/stderr.txt
  ./glass-meridian 2> "$errors" & pid=$!
  dialog=$(find_window "Glass Meridian" 30) || { echo "the setup dialog did not appear"; kill -9 $pid; return 1; }
  sleep 0.5
  xdotool windowfocus --sync "$dialog"
  for key in "$@"; do xdotool key "$key"; sleep 0.2; done
  show=$(find_window "Talon/Vexa" 60) || { echo "the show window did not appear"; cat "$errors"; kill -9 $pid; return 1; }
}
