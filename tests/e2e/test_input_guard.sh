#!/usr/bin/env bash
# Blocking input disables the physical devices only; a killed program leaves them enabled.
# (A pixel watch on a quiet corner keeps the run going while the test looks.)
. "$(dirname "$0")/lib.sh"
enabled() { xinput list-props "$1" | awk -F: '/Device Enabled/ {gsub(/[ \t]/, "", $2); print $2}'; }
physical=$(xinput list --name-only | grep -v -e XTEST -e 'Virtual core' | head -n1)
if [ -z "$physical" ]; then echo "SKIP: this X server has no physical input device"; exit 0; fi
macro block.mvn ".mvn 0000 test" \
  "code:|000|wait:|100|loop:|0|start:|no|stop:|ESC|" \
  "code:|007|pc:|input-disable|" \
  "code:|002|xpos:|123|ypos:|45|" \
  "code:|010|xpos:|1270|ypos:|1010|break:|0|"
"$bin" --trust "$dir/block.mvn"
start_mavorin "$dir/block.mvn"
wait_for '[ "$(pointer)" = "123 45" ]' 5
check "$physical disabled" "$(enabled "$physical")" "0"
check "XTest still works" "$(pointer)" "123 45"
check "XTest device enabled" "$(enabled 'Virtual core XTEST pointer')" "1"
kill -9 "$mav"
wait_for '[ "$(enabled "$physical")" = 1 ]' 5
check "$physical enabled again after SIGKILL" "$(enabled "$physical")" "1"

# A run that ends by itself frees the input too.
macro free.mvn ".mvn 0000 test" \
  "code:|000|wait:|100|loop:|0|start:|no|stop:|ESC|" \
  "code:|007|pc:|input-disable|" \
  "code:|002|xpos:|67|ypos:|89|"
"$bin" --trust "$dir/free.mvn"
start_mavorin "$dir/free.mvn"
wait_for '[ "$(pointer)" = "67 89" ]' 5
sleep 0.5
check "freed at the end of the run" "$(enabled "$physical")" "1"
finish
