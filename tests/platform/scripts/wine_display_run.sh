#!/usr/bin/env bash
# Runs a Windows test program under Wine on a virtual display, in a Wine
# prefix of its own that is removed afterwards. ARCH is the build's (win32
# or win64, as scripts/wine-run takes it).
# Usage: wine_display_run.sh ARCH PROGRAM.exe ARGS    (exit 77: skipped)
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/wine_windows.sh"
command -v xvfb-run >/dev/null || { echo "skipped: xvfb-run is not installed"; exit 77; }
wine_gl_ready "$1" || { echo "skipped"; exit 77; }
export ARCH=$1 WINE_RUN=$here/../../../scripts/wine-run WINEPREFIX=$(mktemp -d /tmp/gm-wine-XXXXXX)
shift
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$WINEPREFIX"' EXIT
xvfb-run -a -s "-screen 0 1280x720x24" bash -c '
  "$WINE_RUN" "$ARCH" "$WINEPREFIX" --prepare || exit 1
  exec "$WINE_RUN" "$ARCH" "$WINEPREFIX" "$@"' wine "$@"
