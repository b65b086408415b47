#!/usr/bin/env bash
# The logo reads at a glance: a text recogniser reads "GLASS" and
# "MERIDIAN" in the right-hand strip of a 640x360 still.
# Usage: logo_reads_test.sh BIN_DIR WORK_DIR
set -u
bin=$1
work=$2
rm -rf "$work" && mkdir -p "$work" || exit 1
trap 'rm -rf "$work"' EXIT
"$bin/glass-meridian-capture" --still 60 --size 640x360 --png "$work/still.png" 2>"$work/said.txt" ||
  { echo "no still; the capture said:"; cat "$work/said.txt"; exit 1; }
bash "$(dirname "$0")/../../scripts/read_logo.sh" "$work/still.png" "$work"
