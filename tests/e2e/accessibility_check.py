#!/usr/bin/python3
"""Reads the running Ravik1 over AT-SPI, as a screen reader would, and checks
what it finds against the main window's controls; then works the window
through AT-SPI actions alone.

    accessibility_check.py PID OUT_DIR

PID is the Ravik1 process, OUT_DIR receives tree.txt (the tree as found),
registry.pid (the registry daemon's pid, for the caller's clean-up) and
result ("PASSED FAILED") and, once "Beenden" is pressed, beenden-pressed.
Exit status: 0 passed, 1 failed, 2 usage,
77 skipped (no AT-SPI client library).

Runs with the system python3 (/usr/bin/python3): the bindings come from
Debian's python3-gi and gir1.2-atspi-2.0.
"""
import os
import sys
import time

try:
    import gi

    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi, GLib
except (ImportError, ValueError) as error:
    print(f"a11y: SKIP - no AT-SPI client library for {sys.executable}: {error}")
    sys.exit(77)

TITLE = "Vendra - Serial to USB-Stick Datalogger - Ravik 1"
PLAY = "Wiedergabe (Play) :"
RECORD = "Aufnahme (Record)"
DEVICE_BAUD = "Baudrate am Ravik 1 einstellen"
PLAYFILE = "Wiedergabedatei :"
REPEAT_VALUE = "Anzahl der Wiedergaben :"
DRIVE = "USB-Stick-Laufwerk :"
REPEAT_RADIOS = ("1 mal", "Wert (1 bis 254) :", "endlos (bis Abbruch mit Taste)")
BAUD_RADIOS = ("300", "600", "1200", "2400", "4800", "9600", "14.400", "19.200",
               "28.800", "38.400", "57.600", "76.800", "115.200", "(230.400 *)")

# The window's direct children at start, in creation order: role, name,
# enabled, checked (None: not a check control). Labels and frames carry
# their captions too; the edits and the drive box the label before them.
PANEL, LABEL, PUSH, RADIO, CHECK, TEXT, COMBO = (
    "panel", "label", "push button", "radio button", "check box", "text", "combo box")
ON, OFF = True, False


def radios(names, checked, enabled=ON):
    return [(RADIO, name, enabled, name == checked) for name in names]


START = [
    (PANEL, "Konfiguration", ON, None),
    (PUSH, "Beenden", ON, None),
    (PUSH, "Info", ON, None),
    (PANEL, "Betriebsmodus", ON, None),
    (RADIO, RECORD, ON, True),
    (RADIO, PLAY, ON, False),
    (CHECK, DEVICE_BAUD, OFF, False),
    (PANEL, "", ON, None),
    (LABEL, PLAYFILE, ON, None),
    (TEXT, PLAYFILE, OFF, None),
    (PUSH, "?", ON, None),
    (LABEL, REPEAT_VALUE, ON, None),
    (RADIO, REPEAT_RADIOS[0], OFF, True),
    (RADIO, REPEAT_RADIOS[1], OFF, False),
    (TEXT, REPEAT_VALUE, OFF, None),
    (RADIO, REPEAT_RADIOS[2], OFF, False),
    (PANEL, "Konfigurations-Datei laden/speichern", ON, None),
    (LABEL, DRIVE, ON, None),
    (COMBO, DRIVE, ON, None),
    *[(PUSH, f"{verb} Config{slot}", ON, None)
      for slot in (1, 2, 3) for verb in ("Lade", "Speicher")],
    (PANEL, "Baudrate (bit/s)", ON, None),
    *radios(BAUD_RADIOS, "9600"),
    (PANEL, "Start-Bit", ON, None),
    *radios(["1"], "1"),
    (PANEL, "Daten-Bits", ON, None),
    *radios(["5", "6", "7", "8"], "8"),
    (PANEL, "Stopp-Bit(s)", ON, None),
    *radios(["1", "2"], "1"),
    (PANEL, "Parität", ON, None),
    *radios(["keine (none)", "gerade (even)", "ungerade (odd)"], "keine (none)"),
    (LABEL, "* Außerhalb der MAX232-Spezifikation.\n  Im Test jedoch fehlerfrei.", ON, None),
]

passed = 0
failed = 0


def log(text):
    print(f"a11y: {text}", flush=True)


def check(ok, what):
    global passed, failed
    if ok:
        passed += 1
        log(f"ok   - {what}")
    else:
        failed += 1
        log(f"FAIL - {what}")
    return ok


def wait_for(seconds, probe):
    """Polls probe() every 0.1 s; its last result on time-out."""
    deadline = time.monotonic() + seconds
    while True:
        result = probe()
        if result or time.monotonic() >= deadline:
            return result
        time.sleep(0.1)


def states(node):
    return {Atspi.StateType(s).value_nick for s in node.get_state_set().get_states()}


def children(node):
    return [node.get_child_at_index(i) for i in range(node.get_child_count())]


def fresh(node):
    # Without an event loop the client never hears of changes: forget what
    # it fetched, so that the next questions go to the program.
    node.clear_cache()
    return node


def find_application(pid):
    desktop = fresh(Atspi.get_desktop(0))
    for app in children(desktop):
        try:
            if app.get_process_id() == pid:
                return desktop, app
        except GLib.GError:
            pass  # an application that went away meanwhile
    return None


def find_dialog(app):
    for window in children(fresh(app)):
        if window.get_role_name() == "dialog" and window.get_name() == TITLE:
            return window
    return None


def describe(node):
    name = node.get_name().replace("\n", "\\n")
    return f"{node.get_role_name()} '{name}' [{','.join(sorted(states(node)))}]"


def relations(node):
    # Only the caption links: Qt reports every signal connection as well.
    wanted = (Atspi.RelationType.LABELLED_BY, Atspi.RelationType.LABEL_FOR)
    return [f"{r.get_relation_type().value_nick} '{r.get_target(i).get_name()}'"
            for r in node.get_relation_set() if r.get_relation_type() in wanted
            for i in range(r.get_n_targets())]


def dump(node, depth, lines):
    related = relations(node)
    lines.append("  " * depth + describe(node) + (f" {{{'; '.join(related)}}}" if related else ""))
    for child in children(node):
        dump(child, depth + 1, lines)


class Window:
    """The dialog's direct children, looked up by role, name and occurrence."""

    def __init__(self, dialog):
        self.dialog = dialog

    def controls(self):
        return [(c.get_role_name(), c.get_name(), c) for c in children(fresh(self.dialog))]

    def find(self, role, name, occurrence=0):
        matches = [c for r, n, c in self.controls() if r == role and n == name]
        return matches[occurrence] if occurrence < len(matches) else None

    def state_of(self, role, name):
        node = self.find(role, name)
        return states(node) if node else None


def expect_controls(window, expected):
    controls = window.controls()
    seen = {}
    for role, name, enabled, checked in expected:
        key = (role, name)
        occurrence = seen.get(key, 0)
        seen[key] = occurrence + 1
        label = f"{role} '{name}'".replace("\n", "\\n") + (f" #{occurrence + 1}" if occurrence else "")
        node = window.find(role, name, occurrence)
        if node is None:
            others = ", ".join(repr(n) for r, n, _ in controls if r == role) or "none"
            check(False, f"{label}: not in the tree; names of the {role} controls: {others}")
            continue
        have = states(node)
        faults = []
        if {"showing", "visible"} - have:
            faults.append("not showing")
        if ("enabled" in have) != enabled:
            faults.append(("enabled" if enabled else "disabled") + " expected")
        if checked is not None and ("checked" in have) != checked:
            faults.append(("checked" if checked else "unchecked") + " expected")
        check(not faults, f"{label} [{','.join(sorted(have))}]"
              + (f": {'; '.join(faults)}" if faults else ""))
    # A control of its own beyond the expected ones (a misnamed one has
    # failed above already).
    check(len(controls) == len(expected),
          f"{len(expected)} controls expected, {len(controls)} in the tree")


def do_action(node, wanted):
    """Runs the node's first action whose name is one of wanted (any case)."""
    count = Atspi.Action.get_n_actions(node)
    names = [Atspi.Action.get_action_name(node, i) for i in range(count)]
    for index, name in enumerate(names):
        if name.lower() in wanted:
            Atspi.Action.do_action(node, index)
            return name
    return f"none of {sorted(wanted)} (offered: {', '.join(names) or 'none'})"


def act_and_expect(window, role, name, wanted, expectations, what):
    """One AT-SPI action, then each expectation (role, name, state, present)
    within 3 s."""
    node = window.find(role, name)
    if not check(node is not None, f"{what}: {role} '{name}' found"):
        return
    done = do_action(node, wanted)
    if not check(done.lower() in wanted, f"{what}: action '{done}' on {role} '{name}'"):
        return
    pending = list(expectations)

    def settled():
        nonlocal pending
        pending = [e for e in pending
                   if (e[2] in (window.state_of(e[0], e[1]) or set())) != e[3]]
        return not pending

    wait_for(3, settled)
    for control, label, state, present in expectations:
        ok = (control, label, state, present) not in pending
        want = state if present else f"not {state}"
        check(ok, f"{what}: {control} '{label}' is {want}" if ok
              else f"{what}: {control} '{label}' should {'' if present else 'not '}be {state}"
              " within 3 s")


def main():
    if len(sys.argv) != 3:
        print(f"usage: {sys.argv[0]} PID OUT_DIR", file=sys.stderr)
        return 2
    pid, out = int(sys.argv[1]), sys.argv[2]
    try:
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)
        Atspi.init()
        Atspi.set_timeout(3000, 10000)  # per call; ms
        return run(pid, out)
    finally:
        with open(os.path.join(out, "result"), "w") as result:
            result.write(f"{passed} {failed}\n")


def run(pid, out):
    found = wait_for(10, lambda: find_application(pid))
    if not check(found is not None, f"an application with pid {pid} on the AT-SPI desktop"):
        return 1
    desktop, app = found
    with open(os.path.join(out, "registry.pid"), "w") as registry:
        registry.write(f"{desktop.get_process_id()}\n")
    check(app.get_role_name() == "application" and app.get_name() == "Ravik1",
          f"the application: {describe(app)}")

    dialog = wait_for(10, lambda: find_dialog(app))
    if not check(dialog is not None, f"a dialog titled '{TITLE}'"):
        return 1
    check({"showing", "visible"} <= states(dialog), f"the dialog frame: {describe(dialog)}")
    lines = []
    dump(app, 0, lines)
    with open(os.path.join(out, "tree.txt"), "w") as tree:
        tree.write("\n".join(lines) + "\n")
    log(f"tree as read: {os.path.join(out, 'tree.txt')}")

    window = Window(dialog)
    expect_controls(window, START)
    check("focused" in (window.state_of(PUSH, "Beenden") or set()),
          "the focus starts on push button 'Beenden'")

    # A screen reader clicks through the action interface: the window has
    # to react as to a click by the mouse.
    click = {"click", "press", "toggle"}
    play_mode = [
        (RADIO, PLAY, "checked", True),
        (RADIO, RECORD, "checked", False),
        (TEXT, PLAYFILE, "enabled", True),
        (CHECK, DEVICE_BAUD, "enabled", True),
        *[(RADIO, r, "enabled", True) for r in REPEAT_RADIOS],
        (TEXT, REPEAT_VALUE, "enabled", False),  # follows "1 mal"
    ]
    act_and_expect(window, RADIO, PLAY, click, play_mode, "click on the play radio")
    # A radio button that is already checked stays checked when clicked.
    act_and_expect(window, RADIO, PLAY, click, play_mode[:2], "second click on the play radio")
    act_and_expect(window, CHECK, DEVICE_BAUD, click,
                   [(CHECK, DEVICE_BAUD, "checked", True),
                    *[(RADIO, r, "enabled", False) for r in BAUD_RADIOS]],
                   "click on the device-baud check box")

    # Beenden through AT-SPI ends the program; the caller sees it go.
    beenden = window.find(PUSH, "Beenden")
    if check(beenden is not None, "push button 'Beenden' found for the end"):
        done = do_action(beenden, click)
        if check(done.lower() in click, f"action '{done}' on push button 'Beenden'"):
            open(os.path.join(out, "beenden-pressed"), "w").close()
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
