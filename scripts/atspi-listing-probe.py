#!/usr/bin/python3
"""Reads the listing of a running kq904 through AT-SPI, as a screen reader or a UI test would:
the list and its rows with their states, then the events a click on a channel row, a Down key
and deleting a channel in the Channel Setting form bring. Needs at-spi2-core, dbus and python3-pyatspi (not part of make test):

    dbus-run-session -- xvfb-run -a bash -c '
        /usr/libexec/at-spi-bus-launcher --launch-immediately & sleep 1
        QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 build/bin/kq904 FILE.set & sleep 3
        /usr/bin/python3 scripts/atspi-listing-probe.py; kill %2'
"""
import sys, time
import pyatspi
from gi.repository import GLib

def find_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for _ in range(100):
        for i in range(desktop.childCount):
            a = desktop.getChildAtIndex(i)
            if a is not None and "kq904" in (a.name or "").lower():
                return a
        time.sleep(0.2)
    sys.exit("kq904 not on the bus")

def find_list(node, depth=0):
    if node is None or depth > 12:
        return None
    if node.getRoleName() == "list" and node.name == "Listing":
        return node
    for i in range(node.childCount):
        found = find_list(node.getChildAtIndex(i), depth + 1)
        if found:
            return found
    return None

app = find_app()
lst = None
for _ in range(50):
    lst = find_list(app)
    if lst: break
    time.sleep(0.2)
print("list:", lst.getRoleName(), repr(lst.name), "items:", lst.childCount)
def describe(i):
    item = lst.getChildAtIndex(i)
    s = item.getState()
    flags = [n for n, st in (("selected", pyatspi.STATE_SELECTED), ("focused", pyatspi.STATE_FOCUSED),
                             ("selectable", pyatspi.STATE_SELECTABLE)) if s.contains(st)]
    return "%2d %-9s %s %r" % (i, item.getRoleName(), ",".join(flags), item.name)
for i in range(min(lst.childCount, 8)):
    print(describe(i))

heard = []
def listener(event):
    src = event.source
    try:
        name = src.name
    except Exception:
        name = "?"
    heard.append("%s detail=%s %r" % (event.type, event.detail1, name[:30]))
pyatspi.Registry.registerEventListener(listener, "object:state-changed:selected",
    "object:state-changed:focused", "focus:", "object:selection-changed",
    "object:property-change:accessible-name", "object:children-changed")

def click_row(i):
    x, y, w, h = lst.getChildAtIndex(i).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    print("clicking row %d at %d,%d" % (i, x + 20, y + h // 2))
    pyatspi.Registry.generateMouseEvent(x + 20, y + h // 2, "b1c")
    return False
def press_down():
    pyatspi.Registry.generateKeyboardEvent(116, None, pyatspi.KEY_PRESSRELEASE)  # Down
    return False
def find_button(node, name, depth=0):
    if node is None or depth > 12:
        return None
    if node.getRoleName() == "push button" and node.name == name:
        return node
    for i in range(node.childCount):
        found = find_button(node.getChildAtIndex(i), name, depth + 1)
        if found:
            return found
    return None

def press(name):
    button = find_button(app, name)
    print("pressing %r: %s" % (name, "found" if button else "not found"))
    if button:
        button.queryAction().doAction(0)
    return False

def open_channel_form():
    x, y, w, h = lst.getChildAtIndex(7).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    print("double-clicking row 7")
    pyatspi.Registry.generateMouseEvent(x + 20, y + h // 2, "b1d")
    return False

GLib.timeout_add(800, lambda: click_row(6))
GLib.timeout_add(1600, press_down)
# Deleting a channel in the Channel Setting form: the rows below move up and the last goes.
GLib.timeout_add(2400, open_channel_form)
GLib.timeout_add(4000, lambda: press("Channel Del."))
GLib.timeout_add(4800, lambda: press("OK"))
GLib.timeout_add(6500, lambda: pyatspi.Registry.stop())
pyatspi.Registry.start()
print("events heard:")
for h in heard:
    print("  " + h)
print("after the click, the Down key and deleting channel 5: %d items" % lst.childCount)
for i in range(5, 9):
    print(describe(i))
