#!/usr/bin/env bash
# The song of this (cross) build against the native build's, bit for bit.
#   compare_song_digests.sh NATIVE_SONG_DIGEST COMMAND...
# COMMAND runs this build's song_digest (through its emulator). Skipped
# (77) when the native build has no song_digest yet.
set -euo pipefail
native=$1
shift
if [[ ! -x "$native" ]]; then
  echo "no native song_digest at $native: build the release preset first"
  exit 77
fi
expected=$("$native")
got=$("$@" | tr -d '\r')
echo "native: $expected"
echo "this:   $got"
[[ "$got" == "$expected" ]]
