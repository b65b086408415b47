#!/usr/bin/env bash
# read_logo.sh PICTURE WORK_DIR: a text recogniser reads the logo in a frame
# of the show of any size (the frame alone). Each column's stacked letters
# are cut out and set side by side as one line, enlarged, black on white.
# Fails unless the columns read "GLASS" and "MERIDIAN"; 77 without tesseract.
set -u
command -v tesseract >/dev/null || { echo "tesseract is not installed (scripts/bootstrap tests)"; exit 77; }
# Shares of the frame: the first letter's top, the letters' pitch and
# height (with a little room), a column's width; then each column's left.
top=0.0164 pitch=0.12248 height=0.1083 width=0.0719 failed=0
for column in GLASS:0.7672 MERIDIAN:0.9031; do
  IFS=: read -r word left <<<"$column"
  n=${#word} split="" letters="" stack=""
  for ((k = 0; k < n; ++k)); do
    split+="[s$k]" stack+="[l$k]"
    letters+=";[s$k]crop=iw*$width:ih*$height:iw*$left:ih*($top+$k*$pitch),scale=48:64[l$k]"
  done
  ffmpeg -loglevel error -i "$1" -filter_complex "[0]split=$n$split$letters;${stack}hstack=inputs=$n,format=gray,scale=iw*3:ih*3,geq=lum='if(gt(lum(X\,Y)\,100)\,0\,255)',pad=iw+80:ih+80:40:40:white" -y "$2/$word.png" || exit 1
  read_text=$(tesseract "$2/$word.png" - --psm 7 2>/dev/null | tr -d ' \n')
  echo "the column of $word reads \"$read_text\""
  [ "$read_text" = "$word" ] || failed=1
done
exit $failed
