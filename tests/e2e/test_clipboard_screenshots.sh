#!/usr/bin/env bash
# The counter reaches the real clipboard in every text target; a screenshot is a real BMP file of
# the whole screen (formats and qualities: the X11 file tests).
. "$(dirname "$0")/lib.sh"
play shots.mvn "code:|005|start:|5|step:|3|" "code:|005|start:|100|step:|3|" \
  "code:|009|pfad:|shot{CODE5}.bmp|"
start_mavorin "$dir/shots.mvn"
wait_for "[ -s $dir/shot8.bmp ]" 15
sleep 0.3
for t in UTF8_STRING STRING TEXT; do check "clipboard $t" "$(xclip -o -selection clipboard -t $t)" "8"; done
check "bmp" "$(identify -format '%m %w %h' "$dir/shot8.bmp")" "BMP3 $(xdpyinfo | awk '/dimensions:/ {print $2}' | tr x ' ')"
finish
