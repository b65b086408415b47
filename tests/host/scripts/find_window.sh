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
