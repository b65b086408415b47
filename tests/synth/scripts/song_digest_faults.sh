#!/usr/bin/env bash
# song_digest where its output cannot be written: it ends with status 1 and
# says why on stderr.
# Usage: song_digest_faults.sh SONG_DIGEST
set -u
said=$("$1" 2>&1 >/dev/full)
status=$?
if [ $status -ne 1 ] || ! grep -q "song_digest: writing the digests failed: No space left" <<<"$said"; then
  echo "a full disk: expected status 1 and the reason, got status $status: $said"
  exit 1
fi
