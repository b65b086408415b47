# Driving a Windows program's windows under Wine on a virtual display:
# sourced by the test scripts that do.

# wait_for_window TITLE SECONDS: prints the id of the window titled exactly
# TITLE once it is there; fails after SECONDS.
wait_for_window() {
  local deadline=$((SECONDS + $2)) id
  while [ $SECONDS -lt $deadline ]; do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.5
  done
  return 1
}

# press_in_window ID KEY: lets the window settle, focuses it and presses KEY.
press_in_window() {
  sleep 1
  xdotool windowfocus --sync "$1"
  xdotool key "$2"
}

# expect_exit PID STATUS WHAT LOG: the program PID (a child of this shell)
# ends within 30 s after WHAT, with exit status STATUS; LOG is shown when not.
expect_exit() {
  timeout 30 tail --pid="$1" -f /dev/null
  if kill -0 "$1" 2>/dev/null; then
    echo "the program did not end after $3"
    kill "$1"
    return 1
  fi
  wait "$1"
  local status=$?
  if [ $status -ne "$2" ]; then
    echo "exit status $status after $3, expected $2"
    cat "$4"
    return 1
  fi
}

# wine_gl_ready ARCH: Direct3D under Wine draws with the host's OpenGL of
# the build's word size (ARCH: win32 or win64); says what is missing and
# fails when those libraries are not installed.
wine_gl_ready() {
  local dir=/usr/lib/i386-linux-gnu
  [ "$1" = win64 ] && dir=/usr/lib/x86_64-linux-gnu
  ls "$dir/libGL.so.1" "$dir/dri/swrast_dri.so" >/dev/null 2>&1 && return 0
  echo "Direct3D under Wine ($1) needs the OpenGL libraries in $dir (scripts/bootstrap windows)"
  return 1
}
