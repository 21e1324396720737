#!/usr/bin/python3
"""Reads a program's window as a screen reader does, through AT-SPI, from
another process. Reads commands on standard input, one a line:
  mark   forgets the events so far: a step begins
  snap   prints the whole accessibility tree of the program, then every event
         it raised since the mark, then a line "."
Each object: role, name, states, and where its interfaces say more, its
description, relations, actions, attributes, place in the window, text with
caret, selection and attribute runs, and the pieces a screen reader asks
for at each offset; pieces alike at the step before are not repeated.
Usage: accessibility_probe.py PID"""
import os
import sys
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

warnings.simplefilter("ignore", DeprecationWarning)  # the descriptions of actions, asked all the same

pid = int(sys.argv[1])
events = []
# A text's path in the tree -> its pieces: at the last step, and now.
before, now_pieces = {}, {}
origin = [0, 0]  # the window's place on the screen
# Whether the window is active, and the events that say it becomes so, are
# left out: the toolkit decides it on the X server's focus events, around a
# popup menu or another program's window, by timing and not every time alike.
UNSURE_EVENTS = ("window:activate", "window:deactivate", "object:state-changed:active")


def quoted(text):
    return "'" + (text or "").replace("\\", "\\\\").replace("\n", "\\n").replace("'", "\\'") + "'"


def who(accessible):
    try:
        return f"{accessible.get_role_name()} {quoted(accessible.get_name())}"
    except GLib.Error:
        return "(gone)"


def on_event(event):
    try:
        if event.source.get_process_id() != pid:
            return
    except GLib.Error:
        return
    if who(event.source) == "(gone)":
        return  # an object of a closing window, which no one can see any more
    if event.type in UNSURE_EVENTS:
        return
    data = event.any_data
    data = who(data) if isinstance(data, Atspi.Accessible) else quoted(str(data)) if data is not None else ""
    events.append(f"{event.type} {who(event.source)} {event.detail1} {event.detail2} {data}".rstrip())


def pieces(text, count):
    """Each kind of piece as a list of lines: where it starts and ends, and
    from which offsets it was asked for when that is not all of it."""
    lines = []
    # The boundaries every screen reader asks by (GetTextAtOffset): the
    # newer kinds of pieces are not served by every toolkit.
    kinds = [("character", Atspi.TextBoundaryType.CHAR), ("word", Atspi.TextBoundaryType.WORD_START),
             ("sentence", Atspi.TextBoundaryType.SENTENCE_START), ("line", Atspi.TextBoundaryType.LINE_START)]
    for kind, boundary in kinds:
        runs = []  # [first offset, last offset, piece]
        for offset in range(count + 1):
            got = text.get_text_at_offset(offset, boundary)
            piece = (got.start_offset, got.end_offset, got.content)
            if runs and runs[-1][2] == piece:
                runs[-1][1] = offset
            else:
                runs.append([offset, offset, piece])
        for first, last, (start, end, content) in runs:
            # A character is one of the text's own: only the unusual is said.
            if kind == "character" and (start, end) == (first, first + 1) and first == last:
                continue
            asked = "" if (first, last + 1) == (start, end) else f" asked at {first}-{last}"
            lines.append(f"{kind} {start}-{end}{asked} {quoted(content)}")
    return lines


def describe(accessible, path, depth, out):
    pad = "  " * depth
    states = [s.value_nick for s in accessible.get_state_set().get_states() if s != Atspi.StateType.ACTIVE]
    out.append(f"{pad}{who(accessible)} [{' '.join(sorted(states))}]")
    pad += "  "
    if accessible.get_description():
        out.append(f"{pad}description {quoted(accessible.get_description())}")
    for relation in accessible.get_relation_set():
        targets = ", ".join(who(relation.get_target(i)) for i in range(relation.get_n_targets()))
        out.append(f"{pad}relation {relation.get_relation_type().value_nick}: {targets}")
    attributes = accessible.get_attributes() or {}
    if attributes:
        out.append(f"{pad}attributes {' '.join(f'{k}={v}' for k, v in sorted(attributes.items()))}")
    action = accessible.get_action_iface()
    if action:
        for i in range(action.get_n_actions()):
            out.append(f"{pad}action {action.get_action_name(i)} {quoted(action.get_action_description(i))}"
                       f" {quoted(action.get_key_binding(i))}")
    component = accessible.get_component_iface()
    if component:
        # Screen places, told from the window's: the window manager puts
        # the window anywhere.
        box = component.get_extents(Atspi.CoordType.SCREEN)
        if depth == 0:
            origin[:] = [box.x, box.y]
            out.append(f"{pad}size {box.width}x{box.height}")
        else:
            out.append(f"{pad}at {box.x - origin[0]},{box.y - origin[1]} {box.width}x{box.height}")
    text = accessible.get_text_iface()
    try:
        read_text(text, path, pad, out)
    except GLib.Error as error:
        out.append(f"{pad}text unreadable: {error.message}")
    for i in range(accessible.get_child_count()):
        describe(accessible.get_child_at_index(i), f"{path}/{i}", depth + 1, out)


# Atspi.Text's get_text and get_selection called as the interface's: Debian
# 13's bindings would take the object's own, older ones of the same names.
def read_text(text, path, pad, out):
    if text:
        count = text.get_character_count()
        out.append(f"{pad}text {quoted(Atspi.Text.get_text(text, 0, count))}")
        out.append(f"{pad}caret {text.get_caret_offset()}")
        for i in range(text.get_n_selections()):
            selection = Atspi.Text.get_selection(text, i)
            out.append(f"{pad}selection {selection.start_offset}-{selection.end_offset}")
        offset = 0
        while offset < count:
            run = text.get_attribute_run(offset, True)
            end = max(run[2], offset + 1)
            out.append(f"{pad}attributes {offset}-{end} {' '.join(f'{k}={v}' for k, v in sorted(run[0].items()))}")
            offset = end
        now = now_pieces[path] = pieces(text, count)
        if before.get(path) == now:
            out.append(f"{pad}pieces as at the step before")
        else:
            out.extend(pad + line for line in now)


def application():
    desktop = Atspi.get_desktop(0)
    desktop.clear_cache()  # the program may have come after the probe
    for i in range(desktop.get_child_count()):
        candidate = desktop.get_child_at_index(i)
        if candidate is not None and candidate.get_process_id() == pid:
            return candidate
    return None


def command(line):
    if line == "mark":
        events.clear()
        before.clear()
        before.update(now_pieces)
    elif line == "snap":
        out = []
        app = application()
        if app is None:
            out.append("(no such program on the accessibility bus)")
        else:
            out.append(f"application {quoted(app.get_name())}")
            for i in range(app.get_child_count()):
                describe(app.get_child_at_index(i), str(i), 0, out)
        out.append("--- events")
        out.extend(events)
        out.append(".")
        print("\n".join(out), flush=True)


pending = b""


def on_input(fd, _condition):
    # Read unbuffered: a buffered reader could hold a second command back
    # from the main loop, which sees only the descriptor.
    global pending
    data = os.read(fd, 4096)
    if not data:
        Atspi.event_quit()
        return False
    pending += data
    while b"\n" in pending:
        line, pending = pending.split(b"\n", 1)
        command(line.decode().strip())
    return True


Atspi.init()
listener = Atspi.EventListener.new(on_event)
for kind in ["object:", "window:", "focus:"]:
    listener.register(kind)
GLib.io_add_watch(sys.stdin.fileno(), GLib.IO_IN | GLib.IO_HUP, on_input)
print("ready", flush=True)
Atspi.event_main()
