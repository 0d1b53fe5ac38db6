#!/usr/bin/python3
# A GTK 3 window that drags a file, standing for a GTK file manager (Nautilus, Thunar).
# Same usage and lines ("ready", "accepted", "refused", "finished") as dragsource:
#   gtkdragsource.py X Y WIDTH HEIGHT FILE
import os
import sys

import gi

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402


def say(line):
    print(line, flush=True)


def on_input(source, _condition):
    if os.read(source, 1):
        return True
    Gtk.main_quit()
    return False


def main():
    if len(sys.argv) != 6:
        print("usage: gtkdragsource.py X Y WIDTH HEIGHT FILE", file=sys.stderr)
        return 2
    x, y, width, height = (int(value) for value in sys.argv[1:5])
    uri = GLib.filename_to_uri(os.path.abspath(sys.argv[5]), None)
    window = Gtk.Window(title="GTK drag source", decorated=False)
    window.set_default_size(width, height)
    window.move(x, y)
    area = Gtk.EventBox()
    area.add(Gtk.Label(label="GTK"))
    window.add(area)
    area.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [], Gdk.DragAction.COPY)
    area.drag_source_add_uri_targets()
    area.connect("drag-data-get", lambda _w, _c, data, _i, _t: data.set_uris([uri]))
    area.connect("drag-begin", lambda _w, context: context.connect(
        "action-changed", lambda _c, action: say("accepted" if action else "refused")))
    area.connect("drag-end", lambda *_: say("finished"))
    window.connect("map-event", lambda *_: say("ready"))
    GLib.io_add_watch(sys.stdin.fileno(), GLib.PRIORITY_DEFAULT, GLib.IO_IN | GLib.IO_HUP, on_input)
    window.show_all()
    Gtk.main()
    return 0


if __name__ == "__main__":
    sys.exit(main())
