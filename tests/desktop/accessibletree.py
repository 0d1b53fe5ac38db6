#!/usr/bin/python3
# Reads Korvane's windows as a screen reader does, over the AT-SPI bus, until every
# "role|name" given is there. Prints what is missing, and every button without a name.
import sys
import time

import pyatspi

wanted = set(sys.argv[1:])
deadline = time.monotonic() + 20


def nodes(node, depth=0):
    if node is None or depth > 40:
        return
    try:
        yield node.getRoleName(), node.name, node.getState().contains(pyatspi.STATE_SHOWING)
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
            seen.add(f"{role}|{name}")
            if showing and role in ("push button", "page tab", "text", "check box") and not name:
                unnamed.append(role)
    missing = wanted - seen
    if (not missing and not unnamed) or time.monotonic() > deadline:
        break
    time.sleep(0.2)

for line in sorted(missing):
    print("missing:", line)
for role in unnamed:
    print("unnamed:", role)
sys.exit(1 if missing or unnamed else 0)
