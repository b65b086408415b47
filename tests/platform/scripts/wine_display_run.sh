#!/usr/bin/env bash
# Runs a Windows test program under Wine on a virtual display, in a Wine
# prefix of its own that is removed afterwards.
# Usage: wine_display_run.sh PROGRAM.exe ARGS    (exit 77: skipped)
set -u
for tool in wine xvfb-run; do
  command -v $tool >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
if ! ls /usr/lib/i386-linux-gnu/libGL.so.1 /usr/lib/i386-linux-gnu/dri/swrast_dri.so >/dev/null 2>&1; then
  echo "skipped: Direct3D under Wine needs the 32-bit OpenGL libraries (libgl1:i386 libgl1-mesa-dri:i386)"
  exit 77
fi
export WINEPREFIX=$(mktemp -d /tmp/gm-wine-XXXXXX) WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$WINEPREFIX"' EXIT
xvfb-run -a -s "-screen 0 1280x720x24" bash -c 'wineboot --init >/dev/null 2>&1; wineserver --wait; wine "$@"' wine "$@"
