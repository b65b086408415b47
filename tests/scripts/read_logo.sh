#!/usr/bin/env bash
# read_logo.sh PICTURE WORK_DIR: reads the logo in a frame of the show of
# any size (the frame alone, nothing around it) with a text recogniser.
# The logo stacks one word's letters in each column of the right-hand
# strip; each letter is cut out and the column's letters set side by side,
# enlarged and made black on white, as one line. Prints what each column
# reads and fails unless they read "GLASS" and "MERIDIAN". Exit 77 without
# the recogniser.
set -u
picture=$1
work=$2
command -v tesseract >/dev/null || { echo "tesseract is not installed (scripts/bootstrap tests)"; exit 77; }
# As shares of the frame: the first letter's top, the pitch of the
# letters and their height (with a little room), each column's left edge
# and width.
top=0.0164 pitch=0.12248 height=0.1083 width=0.0719
failed=0
for column in GLASS:0.7672 MERIDIAN:0.9031; do
  IFS=: read -r word left <<<"$column"
  n=${#word} split="" letters=""
  for ((k = 0; k < n; ++k)); do
    split+="[s$k]"
    letters+=";[s$k]crop=iw*$width:ih*$height:iw*$left:ih*($top+$k*$pitch),scale=48:64[l$k]"
  done
  stack=$(for ((k = 0; k < n; ++k)); do printf '[l%d]' $k; done)
  ffmpeg -loglevel error -i "$picture" -filter_complex \
    "[0]split=$n$split$letters;${stack}hstack=inputs=$n,format=gray,scale=iw*3:ih*3,geq=lum='if(gt(lum(X\,Y)\,100)\,0\,255)',pad=iw+80:ih+80:40:40:white" \
    -y "$work/$word.png" || exit 1
  read_text=$(tesseract "$work/$word.png" - --psm 7 2>/dev/null | tr -d ' \n')
  echo "the column of $word reads \"$read_text\""
  [ "$read_text" = "$word" ] || failed=1
done
exit $failed
