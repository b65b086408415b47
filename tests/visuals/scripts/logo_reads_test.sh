#!/usr/bin/env bash
# The logo reads at a glance: in a 640x360 still, a text recogniser reads
# "GLASS" in the left column of the right-hand strip and "MERIDIAN" in the
# right one, each column cut out, enlarged and made black on white first.
# Usage: logo_reads_test.sh BIN_DIR WORK_DIR
set -u
bin=$1
work=$2
command -v tesseract >/dev/null || { echo "tesseract is not installed (scripts/bootstrap tests)"; exit 77; }
rm -rf "$work" && mkdir -p "$work" || exit 1
trap 'rm -rf "$work"' EXIT
cd "$bin" || exit 1
./glass-meridian-capture --still 60 --size 640x360 --png "$work/still.png" 2>/dev/null || { echo "no still"; exit 1; }
failed=0
# word, left column and height of its letters in the still
for column in GLASS:491:228 MERIDIAN:578:360; do
  IFS=: read -r word x h <<<"$column"
  ffmpeg -loglevel error -i "$work/still.png" \
    -vf "crop=46:$h:$x:0,format=gray,scale=iw*4:ih*4,geq=lum='if(gt(lum(X\,Y)\,100)\,0\,255)',pad=iw+80:ih+80:40:40:white" \
    -y "$work/$word.png" || exit 1
  read_text=$(tesseract "$work/$word.png" - --psm 6 2>/dev/null | tr -d ' \n')
  echo "the column of $word reads \"$read_text\""
  [ "$read_text" = "$word" ] || failed=1
done
exit $failed
