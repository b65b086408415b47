#!/usr/bin/env bash
# `--version` on the show and the capture tool names the project's version
# and the checkout's commit as it is now, so a build that missed a commit
# fails here. The show takes `--version` alone; with any other arguments it
# starts as always (without a display: says why, status 1).
# Usage: version_test.sh BIN_DIR VERSION SOURCE_DIR
set -u
bin=$1
version=$2
commit=$(git -C "$3" describe --always --dirty 2>/dev/null || echo unknown)
failed=0
for program in glass-meridian glass-meridian-capture; do
  said=$("$bin/$program" --version 2>&1)
  status=$?
  expected="$program $version ($commit)"
  if [ $status -ne 0 ] || [ "$said" != "$expected" ]; then
    echo "$program --version said '$said' (status $status), expected '$expected'"
    failed=1
  fi
done

unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy
for arguments in "--version extra" "--versions" "-v" "--help"; do
  said=$(cd "$bin" && timeout 60 ./glass-meridian $arguments 2>&1)
  status=$?
  if [ $status -ne 1 ] || ! grep -q "Glass Meridian cannot start" <<<"$said"; then
    echo "glass-meridian $arguments did not start the show (status $status): $said"
    failed=1
  fi
done
[ $failed -eq 0 ] && echo "both programs name $version ($commit); the show ignores other arguments"
exit $failed
