#!/usr/bin/python3
# Reads Korvane's windows as a screen reader does, over the AT-SPI bus, until every
# "ROLE|name" given is there, ROLE a pyatspi role constant. Roles are compared by value: their
# names change between AT-SPI versions (2.56 calls a push button "button"). Prints what is
# missing, and every control without a name.
import sys
import time

import pyatspi

wanted = {(getattr(pyatspi, role), name): arg for arg in sys.argv[1:] for role, name in [arg.split("|", 1)]}
named = (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_TEXT, pyatspi.ROLE_CHECK_BOX)
deadline = time.monotonic() + 20


def nodes(node, depth=0):
    if node is None or depth > 40:
        return
    try:
        yield node.getRole(), node.name, node.getState().contains(pyatspi.STATE_SHOWING)
        children = [node.getChildAtIndex(i) for i in range(node.childCount)]
    except Exception:  # a window closed while it was read
        return
    for child in children:
        yield from nodes(child, depth + 1)


while True:
    desktop = pyatspi.Registry.getDesktop(0)
    seen = set()
    unnamed = []
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is None or app.name != "korvane":
            continue
        for role, name, showing in nodes(app):
            seen.add((role, name))
            if showing and role in named and not name:
                unnamed.append(role)
    missing = sorted(arg for key, arg in wanted.items() if key not in seen)
    if (not missing and not unnamed) or time.monotonic() > deadline:
        break
    time.sleep(0.2)

for line in missing:
    print("missing:", line)
for role in unnamed:
    print("unnamed:", role)
sys.exit(1 if missing or unnamed else 0)
