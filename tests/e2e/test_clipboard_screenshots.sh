#!/usr/bin/env bash
# The counter reaches the real clipboard in every text target; screenshots are real BMP and JPEG
# files.
. "$(dirname "$0")/lib.sh"
play shots.mvn "code:|005|start:|5|step:|3|" "code:|005|start:|100|step:|3|" \
  "code:|009|pfad:|shot{CODE5}.bmp|" "code:|009|pfad:|$dir/q.jpg <40%>|" \
  "code:|009|pfad:|$dir/full.jpg|" "code:|009|pfad:|$dir/upper.JPG|"
start_mavorin "$dir/shots.mvn"
wait_for "[ -s $dir/upper.JPG ]" 15
sleep 0.3
for t in UTF8_STRING STRING TEXT; do check "clipboard $t" "$(xclip -o -selection clipboard -t $t)" "8"; done
check "bmp" "$(identify -format '%m %w %h' "$dir/shot8.bmp")" "BMP3 $(xdpyinfo | awk '/dimensions:/ {print $2}' | tr x ' ')"
check "jpeg at the quality in the path" "$(identify -format '%m %Q' "$dir/q.jpg")" "JPEG 40"
check "jpeg without a quality" "$(identify -format '%m %Q' "$dir/full.jpg")" "JPEG 100"
check "exact extension test" "$(identify -format '%m' "$dir/upper.JPG")" "BMP3"
finish
