#!/usr/bin/env python3
"""The accessibility client of scripts/atspi-walk: run by it, with the designer started on the
display and the accessibility bus it set up. Prints the designer window's accessible tree, then
presses keys as a keyboard user would and prints each focus and announcement they cause."""

import sys
import time

import pyatspi
from gi.repository import GLib

APPLICATION = "subsysmgr-designer"
# Children shown of a list, table or tree; the rest are counted.
SHOWN_CHILDREN = 8
# States every visible control has, left out of the output.
COMMON_STATES = {"enabled", "sensitive", "visible", "showing", "opaque", "single-line",
                 "horizontal", "vertical", "resizable", "multi-line"}
STEP_SECONDS = 1.0

# Keysyms and the keycodes of the modifiers on Xvfb's default keyboard.
KEYSYMS = {"Tab": 0xff09, "Return": 0xff0d, "Escape": 0xff1b, "Down": 0xff54,
           "Right": 0xff53, "Left": 0xff51, "F10": 0xffc7, "space": 0x20}
MODIFIERS = {"Shift": 50, "Ctrl": 37, "Alt": 64}


def find_application():
    deadline = time.time() + 30
    while time.time() < deadline:
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and application.name == APPLICATION:
                return application
        time.sleep(0.5)
    sys.exit("atspi-walk: the designer did not appear on the accessibility bus")


def states(node):
    names = []
    for state in node.getState().getStates():
        name = pyatspi.stateToString(state)
        if name not in COMMON_STATES:
            names.append(name)
    return ",".join(sorted(names))


def describe(node):
    text = "%s %r" % (node.getRoleName(), node.name)
    if node.description:
        text += " desc=%r" % node.description
    shown = states(node)
    return text + (" [%s]" % shown if shown else "")


def walk(node, depth=0):
    print("  " * depth + describe(node))
    count = node.childCount
    many = node.getRoleName() in ("table", "tree table", "tree", "list", "menu bar")
    limit = SHOWN_CHILDREN if many else count
    for index in range(min(count, limit)):
        child = node.getChildAtIndex(index)
        if child is not None:
            walk(child, depth + 1)
    if count > limit:
        print("  " * (depth + 1) + "... %d children in all" % count)


def find(node, role, name=None):
    if node.getRoleName() == role and (name is None or node.name == name):
        return node
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None and child.getRoleName() not in ("table cell", "tree item"):
            found = find(child, role, name)
            if found is not None:
                return found
    return None


def click(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(box.x + box.width // 2, box.y + box.height // 2, "b1c")


def press(keys):
    """Presses a combination such as "Shift+Tab", or types a text given as "text:..."."""
    if keys.startswith("text:"):
        pyatspi.Registry.generateKeyboardEvent(0, keys[5:], pyatspi.KEY_STRING)
        return
    *modifiers, key = keys.split("+")
    for modifier in modifiers:
        pyatspi.Registry.generateKeyboardEvent(MODIFIERS[modifier], None, pyatspi.KEY_PRESS)
    keysym = KEYSYMS[key] if key in KEYSYMS else ord(key.lower())
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)
    for modifier in reversed(modifiers):
        pyatspi.Registry.generateKeyboardEvent(MODIFIERS[modifier], None, pyatspi.KEY_RELEASE)


def on_event(event):
    kind = event.type
    if kind.startswith("object:state-changed:"):
        if kind.endswith(":focused") and not event.detail1:
            return
        what = kind.rsplit(":", 1)[1] + ("" if kind.endswith(":focused") else
                                           "=%d" % event.detail1)
    else:
        what = kind.rsplit(":", 1)[1]
    try:
        print("    %s: %s" % (what, describe(event.source)))
    except Exception as error:  # a node that went away while the event travelled
        print("    %s: (gone: %s)" % (what, error))
    sys.stdout.flush()


def focused_row(tree):
    """The tree's cell that has the focus: what a reader says when asked where it is."""
    for index in range(tree.childCount):
        cell = tree.getChildAtIndex(index)
        if cell is not None and cell.getState().contains(pyatspi.STATE_FOCUSED):
            return cell
    return tree


def main():
    application = find_application()
    time.sleep(2)  # the tree is read after the window shows
    window = application.getChildAtIndex(0)
    print("--- the window's accessible tree")
    walk(window)

    search = find(window, "text")
    tree = find(search.parent, "tree")  # the functional tree, beside the search box
    steps = [
        # Without a window manager a click makes the window active.
        ("click into the search box", lambda: click(search)),
        ("Tab (to the tree)", lambda: press("Tab")),
        ("(window and tree now)", lambda: print("    %s\n    %s" % (describe(window),
                                                                   describe(tree)))),
        ("Down", lambda: press("Down")),
        ("Right (expand)", lambda: press("Right")),
        ("(the row now)", lambda: print("    " + describe(focused_row(tree)))),
        ("Left (collapse)", lambda: press("Left")),
        ("(the row now)", lambda: print("    " + describe(focused_row(tree)))),
        ("Shift+F10", lambda: press("Shift+F10")),
        ("Escape", lambda: press("Escape")),
        ("Ctrl+F, type 5", lambda: (press("Ctrl+F"), press("text:5"))),
        ("(search box now)", lambda: print("    " + describe(search))),
        ("Escape", lambda: press("Escape")),
        ("Return (edit the group)", lambda: press("Return")),
        ("(the editor)", lambda: walk(find(application, "dialog"), 1)),
    ]
    steps += [("Tab", lambda: press("Tab"))] * 12
    steps += [("Shift+Tab", lambda: press("Shift+Tab"))] * 4
    steps += [("Down", lambda: press("Down")), ("space", lambda: press("space")),
              ("Ctrl+Tab", lambda: press("Ctrl+Tab")), ("Escape (an edit is unsaved)",
                                                        lambda: press("Escape")),
              ("Escape (back to the editor)", lambda: press("Escape"))]

    pyatspi.Registry.registerEventListener(
        on_event, "object:state-changed:focused", "object:state-changed:checked",
        "object:state-changed:expanded", "object:property-change:accessible-description")

    def run(remaining):
        if not remaining:
            pyatspi.Registry.stop()
            return False
        title, action = remaining[0]
        print("> " + title)
        sys.stdout.flush()
        try:
            action()
        except Exception as error:
            print("    (failed: %s)" % error)
        GLib.timeout_add(int(STEP_SECONDS * 1000), run, remaining[1:])
        return False

    print("--- keys, and the focus and announcements each causes")
    GLib.timeout_add(500, run, steps)
    pyatspi.Registry.start()


if __name__ == "__main__":
    main()
