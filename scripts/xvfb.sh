# Sourced: start_xvfb WxHxD starts a private Xvfb on a free display, exports DISPLAY and sets
# XVFB_PID; the caller kills it. Xvfb picks the display itself (-displayfd), so runs never clash.
start_xvfb() {
  local numfile
  numfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset 3>"$numfile" 2>/dev/null &
  XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$numfile" ] && break; sleep 0.1; done
  DISPLAY=":$(head -n1 "$numfile")"
  export DISPLAY
  rm -f "$numfile"
}
