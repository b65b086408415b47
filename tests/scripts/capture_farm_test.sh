#!/usr/bin/env bash
# Shards of a range give the frames of one capture of it, byte for byte,
# and a video of every frame; a set with a frame missing is refused and
# makes no video. First with the capture's shards and --from-frames alone,
# then through scripts/capture-farm and GNU parallel (skipped, status 77,
# where GNU parallel is not installed).
# Usage: capture_farm_test.sh CAPTURE_TOOL
set -u
capture=$(realpath "$1")
farm=$(realpath "$(dirname "$0")/../../scripts/capture-farm")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failed=0
fail() { echo "FAIL: $*"; failed=1; }
range=(--size 160x90 --fps 10 --from 0.5 --to 1.5)
frame_count() { ffprobe -v error -count_packets -select_streams v:0 -show_entries stream=nb_read_packets -of csv=p=0 "$1"; }

"$capture" "${range[@]}" --frames one 2>/dev/null || fail "the capture of the whole range failed"
for shard in 0 1; do
  "$capture" "${range[@]}" --shard $shard/2 --frames s$shard 2>/dev/null || fail "shard $shard failed"
done
"$capture" --from-frames s1 --from-frames s0 --frames merged --video merged.mp4 --pixel-format yuv444p10le \
  2>/dev/null || fail "the merge failed"
diff -r one merged >/dev/null || fail "the merged shards differ from one capture: $(diff -rq one merged)"
[ "$(frame_count merged.mp4)" = 10 ] || fail "the video of the shards holds $(frame_count merged.mp4) frames, not 10"
format=$(ffprobe -v error -select_streams v:0 -show_entries stream=pix_fmt -of csv=p=0 merged.mp4)
[ "$format" = yuv444p10le ] || fail "the video asked for yuv444p10le is $format"

rm s1/frame-00012.png
echo old >old.mp4
for video in old.mp4 new.mp4; do
  said=$("$capture" --from-frames s0 --from-frames s1 --video $video 2>&1)
  status=$?
  [ $status = 2 ] || fail "a set without frame 12 gives status $status, not 2"
  [[ $said == *"s1/frame-00012.png' is missing"* ]] || fail "the missing frame is not named: $said"
done
[ "$(cat old.mp4)" = old ] || fail "the old video was replaced"
[ ! -e new.mp4 ] || fail "a set with a frame missing made a video"
hidden() { compgen -G '.?*' | grep -v '^\.\.$'; }
[ -z "$(hidden)" ] || fail "work folders were left: $(hidden)"

[ $failed = 0 ] || exit 1
parallel --version 2>/dev/null | grep -q '^GNU parallel' || { echo "GNU parallel is not installed"; exit 77; }
"$farm" --shards 2 --capture "$capture" "${range[@]}" --frames farm --video farm.mp4 >farm.log 2>&1 ||
  fail "the farm failed: $(cat farm.log)"
diff -r one farm >/dev/null || fail "the farm's frames differ from one capture: $(diff -rq one farm)"
[ "$(frame_count farm.mp4)" = 10 ] || fail "the farm's video holds $(frame_count farm.mp4) frames, not 10"
[ -z "$(hidden)" ] || fail "the farm left its work folder: $(hidden)"
[ $failed = 0 ] && echo "two shards through GNU parallel: the frames of one capture, and a video of 10 frames"
exit $failed
