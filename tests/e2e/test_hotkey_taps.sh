#!/usr/bin/env bash
# Keys the macro types itself never act as its hot keys, while another client's tap does: a typed
# {F2} does not stop a run whose abort key is F2, a typed {F9} does not restart a macro whose
# start key is F9; an old tap of the abort key is ignored.
. "$(dirname "$0")/lib.sh"
xdotool mousemove 5 5
start_keylog 700 100 400 300
typed() { grep -c "^K <$1>" "$dir/keys.log"; }  # the test's own taps land there too
# Three passes, each typing the macro's own hot keys.
macro mavorin.mvn ".mvn 1000 test" \
  "code:|000|wait:|100|loop:|2|start:|F9|stop:|F2|" \
  "code:|004|text:|{F2}{F9}|" \
  "code:|002|xpos:|111|ypos:|111|" \
  "code:|002|xpos:|222|ypos:|222|"
start_mavorin
sleep 1.5
xdotool key F2  # long before a run polls its abort key: must not abort it
sleep 1
xdotool key F9
wait_for '[ "$(typed F2)" = 4 ] && [ "$(pointer)" = "222 222" ]' 10
sleep 1.5
check "typed F2 and F9 neither stop nor restart" "$(typed F2) $(typed F9) $(pointer)" "4 4 222 222"
xdotool key F9
wait_for '[ "$(typed F2)" = 5 ]' 5
xdotool key F2
sleep 1.5
check "a real F2 tap stops the run" "$(typed F2)" "6"
finish
