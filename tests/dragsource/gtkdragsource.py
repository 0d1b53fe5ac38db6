#!/usr/bin/python3
# A GTK window that drags a file or folder, standing for a GTK file manager: GTK 3 as Thunar
# and older Nautilus, GTK 4 (--gtk4) as Nautilus 43 and later. Like theirs, the drag icon is
# held by its middle, so the pointer is over it all along. Same usage and lines ("ready",
# "accepted", "refused", "finished") as dragsource:
#   gtkdragsource.py [--gtk4] X Y WIDTH HEIGHT FILE
import os
import subprocess
import sys

import gi

GTK4 = "--gtk4" in sys.argv[1:2]
gi.require_version("Gdk", "4.0" if GTK4 else "3.0")
gi.require_version("Gtk", "4.0" if GTK4 else "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402

if GTK4:
    gi.require_version("GdkX11", "4.0")
    from gi.repository import GdkX11  # noqa: E402,F401
else:
    gi.require_version("GdkPixbuf", "2.0")
    from gi.repository import GdkPixbuf  # noqa: E402

ICON = 32


def say(line):
    print(line, flush=True)


def on_input(source, _condition, quit):
    if os.read(source, 1):
        return True
    quit()
    return False


def gtk3_window(x, y, width, height, uri):
    window = Gtk.Window(title="GTK drag source", decorated=False)
    window.set_default_size(width, height)
    window.move(x, y)
    area = Gtk.EventBox()
    area.add(Gtk.Label(label="GTK"))
    window.add(area)
    area.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [], Gdk.DragAction.COPY)
    area.drag_source_add_uri_targets()
    area.connect("drag-data-get", lambda _w, _c, data, _i, _t: data.set_uris([uri]))
    icon = GdkPixbuf.Pixbuf.new(GdkPixbuf.Colorspace.RGB, True, 8, ICON, ICON)
    icon.fill(0x3070c0ff)

    def begin(_widget, context):
        Gtk.drag_set_icon_pixbuf(context, icon, ICON // 2, ICON // 2)
        context.connect("action-changed", lambda _c, action: say("accepted" if action else "refused"))

    area.connect("drag-begin", begin)
    area.connect("drag-end", lambda *_: say("finished"))
    window.connect("map-event", lambda *_: say("ready"))
    window.show_all()
    GLib.io_add_watch(sys.stdin.fileno(), GLib.PRIORITY_DEFAULT, GLib.IO_IN | GLib.IO_HUP, on_input, Gtk.main_quit)
    Gtk.main()


def gtk4_window(x, y, width, height, uri):
    loop = GLib.MainLoop()
    window = Gtk.Window(title="GTK 4 drag source", decorated=False)
    window.set_default_size(width, height)
    window.set_child(Gtk.Label(label="GTK 4"))
    source = Gtk.DragSource(actions=Gdk.DragAction.COPY)
    source.connect("prepare", lambda *_: Gdk.ContentProvider.new_for_bytes(
        "text/uri-list", GLib.Bytes.new((uri + "\r\n").encode())))
    icon = Gdk.MemoryTexture.new(ICON, ICON, Gdk.MemoryFormat.R8G8B8A8, GLib.Bytes.new(b"\x30\x70\xc0\xff" * ICON * ICON), ICON * 4)

    def begin(drag_source, drag):
        drag_source.set_icon(icon, ICON // 2, ICON // 2)
        drag.connect("notify::selected-action", lambda d, _p: say("accepted" if d.get_selected_action() else "refused"))

    source.connect("drag-begin", begin)
    source.connect("drag-end", lambda *_: say("finished"))
    window.add_controller(source)

    def mapped(widget):
        # GTK 4 leaves placing windows to the window manager; the test display has none.
        xid = widget.get_surface().get_xid()
        subprocess.run(["xdotool", "windowmove", "--sync", str(xid), str(x), str(y)], check=False)
        say("ready")

    window.connect("map", mapped)
    window.present()
    GLib.io_add_watch(sys.stdin.fileno(), GLib.PRIORITY_DEFAULT, GLib.IO_IN | GLib.IO_HUP, on_input, loop.quit)
    loop.run()


def main():
    args = [arg for arg in sys.argv[1:] if arg != "--gtk4"]
    if len(args) != 5:
        print("usage: gtkdragsource.py [--gtk4] X Y WIDTH HEIGHT FILE", file=sys.stderr)
        return 2
    x, y, width, height = (int(value) for value in args[:4])
    uri = GLib.filename_to_uri(os.path.abspath(args[4]), None)
    (gtk4_window if GTK4 else gtk3_window)(x, y, width, height, uri)
    return 0


if __name__ == "__main__":
    sys.exit(main())
