#!/usr/bin/env bash
# The window as a screen reader reads it over AT-SPI: the window's own words, never a control's name.
. "$(dirname "$0")/lib.sh"
command -v dbus-launch >/dev/null && /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "FAIL needs python3-pyatspi and dbus-x11 (scripts/deps.sh)"; exit 1; }
eval "$(dbus-launch --sh-syntax)"
pids+=("$DBUS_SESSION_BUS_PID")
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
launcher=$!
pids+=("$launcher")
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_mavorin
wait_for "xdotool search --name '^Mavorin' >/dev/null" 10
xdotool windowfocus "$(xdotool search --name '^Mavorin' | head -n1)"
names=$(grep -oE '[A-Za-z0-9_äöü]+\{"' "$(dirname "$0")/../../src/app/frm_mavorin.hpp" | tr -d '{"')
/usr/bin/python3 - $names <<'PY' || fail=1
import re, sys, time, pyatspi
ids = set(sys.argv[1:])
def app():
    for _ in range(100):
        for a in pyatspi.Registry.getDesktop(0):
            if a and a.name.lower() == "mavorin" and a.childCount: return a
        time.sleep(0.1)
    sys.exit("FAIL the program is not on the accessibility bus")
nodes = []
def walk(n):
    nodes.append(n)
    for c in n: walk(c) if c else None
walk(app())
bad = []
for n in nodes:
    st = n.getState()
    if re.search(r"^[a-z]{2,4}_|Image\d|^frame_", n.name) or n.name in ids:
        bad.append("named by an identifier: " + n.name)
    if st.contains(pyatspi.STATE_SHOWING) and not n.name and (
            st.contains(pyatspi.STATE_FOCUSABLE) or n.getRole() == pyatspi.ROLE_IMAGE):
        bad.append("no name: %s in %s" % (n.getRoleName(), n.parent.name))
named = {(n.getRole(), n.name): n for n in nodes}
want = [(pyatspi.ROLE_PUSH_BUTTON, w) for w in
        ("Start", "Neu", "Laden", "Speichern", "Laden aus Datei…", "Speichern unter…")]
want += [(pyatspi.ROLE_TEXT, "Wartezeit nach jedem Befehl (ms)"),
         (pyatspi.ROLE_LIST, "Befehlsliste"), (pyatspi.ROLE_SCROLL_BAR, "Aktueller Befehl"),
         (pyatspi.ROLE_IMAGE, "Anzahl erhöhen"), (pyatspi.ROLE_IMAGE, "Zur Projektseite")]
bad += ["not found: %s" % w[1] for w in want if w not in named]
wait = named.get((pyatspi.ROLE_TEXT, "Wartezeit nach jedem Befehl (ms)"))
if wait and not any(r.getRelationType() == pyatspi.RELATION_LABELLED_BY for r in wait.getRelationSet()):
    bad.append("the wait field has no label attached")
# End on the scroll bar moves to the last command, read as its value; the new command's prompt is
# announced, and so is a run, by the Start button's caption.
import subprocess
from gi.repository import GLib
heard = set()
pyatspi.Registry.registerEventListener(lambda e: heard.add((e.source.getRole(), e.source.description
    if "descr" in e.type else e.source.name)), *("object:property-change:accessible-" + p for p in ("name", "description")))
scroll, start = named[(pyatspi.ROLE_SCROLL_BAR, "Aktueller Befehl")], named[(pyatspi.ROLE_PUSH_BUTTON, "Start")]
for act in (lambda: scroll.queryComponent().grabFocus() and subprocess.run(["xdotool", "key", "End"]),
            lambda: 0 < scroll.queryValue().currentValue == scroll.queryValue().maximumValue and start.queryAction().doAction(0)):
    act(), GLib.timeout_add(1500, pyatspi.Registry.stop), pyatspi.Registry.start()
bad += ["not announced: " + w for r, w in ((pyatspi.ROLE_COMBO_BOX, "the prompt"), (pyatspi.ROLE_PUSH_BUTTON, "the run"))
        if not any(r == role and t not in ("", "Start") for role, t in heard)]
print("\n".join("FAIL " + b for b in bad) or "ok   %d nodes, all named in words" % len(nodes))
sys.exit(1 if bad else 0)
PY
# The accessibility bus (its registry goes with it) does not outlive the test.
pids+=($(pgrep -P "$launcher"))
finish
