#!/usr/bin/env bash
# Korvane on a real GNOME Shell under Wayland, headless: no data control there, so the wake
# list and "korvane classify --clipboard" read the clipboard only once a window of theirs has
# the focus. A GTK window of this script owns the clipboard; "korvane show" stands for the
# custom shortcut (GNOME runs exactly that command); Alt+1 is pressed through a virtual
# keyboard. Prints what each step gave and how long the list took, and keeps a screenshot.
# Needs: apt-get install --no-install-recommends gnome-shell gnome-settings-daemon gjs python3-gi gir1.2-gtk-3.0
set -uo pipefail
build=${1:-build}
korvane=$(realpath "$build/src/korvane")
command -v gnome-shell >/dev/null || { echo "gnome-shell is not installed: apt-get install --no-install-recommends gnome-shell gjs"; exit 0; }
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    [ -f "$work/system.pid" ] && rm -f /run/dbus/system_bus_socket /run/dbus/pid
    rm -rf "$work"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR=$work/run HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache
mkdir -p "$XDG_RUNTIME_DIR" "$HOME" && chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY
export XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland LANG=en_US.UTF-8
# The shell wants a system bus; where the machine runs none, one of this script's. A bus that
# was killed leaves its socket and pid file behind: the shell cannot connect to that socket,
# and a new bus refuses to start beside that pid file.
if ! dbus-send --system --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.GetId >/dev/null 2>&1; then
    mkdir -p /run/dbus && rm -f /run/dbus/system_bus_socket /run/dbus/pid
    dbus-daemon --system --fork --print-pid=3 3>"$work/system.pid" && pids+=("$(cat "$work/system.pid")")
fi
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$work/bus" 4>"$work/bus.pid"
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS
pids+=("$(head -n1 "$work/bus.pid")")

# A container's /run/systemd without logind behind it makes the shell wait on logind: hide it.
unshare -m sh -c "mount -t tmpfs none /run/systemd 2>/dev/null; exec gnome-shell --headless --wayland --unsafe-mode --virtual-monitor 1280x800 --wayland-display=wl-korvane" >"$work/shell.log" 2>&1 &
pids+=($!)
wait_for() {
    for _ in $(seq 1 300); do "$@" && return 0; sleep 0.1; done
    return 1
}
shell() { gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell --method org.gnome.Shell.Eval "$1" 2>/dev/null; }
wait_for shell "true" >/dev/null || { echo "gnome-shell did not start"; tail -5 "$work/shell.log"; exit 1; }
echo "GNOME Shell $(gnome-shell --version | grep -o '[0-9.]*$')"
# A headless shell has no input devices and starts in the overview, where no window takes the focus.
shell "const Clutter = imports.gi.Clutter; const seat = Clutter.get_default_backend().get_default_seat();
       global._korvaneKeyboard = seat.create_virtual_device(Clutter.InputDeviceType.KEYBOARD_DEVICE);
       imports.ui.main.overview.hide(); true" >/dev/null
export WAYLAND_DISPLAY=wl-korvane QT_QPA_PLATFORM=wayland QT_LOGGING_RULES='korvane.*.info=true'

"$korvane" >"$work/korvane.log" 2>&1 &
pids+=($!)
wait_for grep -q "started with" "$work/korvane.log" || { echo "korvane did not start"; exit 1; }

/usr/bin/python3 - "$work/clip" <<'PY' >"$work/gtk.log" 2>&1 &
import sys, gi
gi.require_version('Gtk', '3.0')
from gi.repository import Gtk, Gdk, GLib
window = Gtk.Window(title="clipboard owner")
def take(*_):
    Gtk.Clipboard.get(Gdk.SELECTION_CLIPBOARD).set_text("hello gnome", -1)
    open(sys.argv[1], "w").write("set")
window.connect("focus-in-event", take)
window.show_all()
GLib.timeout_add(120000, Gtk.main_quit)
Gtk.main()
PY
pids+=($!)
wait_for test -f "$work/clip" || { echo "the GTK window never had the focus"; exit 1; }

classified=$("$korvane" classify --clipboard --json 2>&1)
echo "classify --clipboard: exit $?, text: $(grep -o '"textString": "[^"]*"' <<<"$classified")"

start=$(date +%s%N)
"$korvane" show
if wait_for grep -q "the list for the clipboard shows" "$work/korvane.log"; then
    echo "wake list: $(grep -o 'the list for the clipboard shows.*' "$work/korvane.log" | tail -n1), $(( ($(date +%s%N) - start) / 1000000 )) ms after korvane show"
else
    echo "wake list: the clipboard was not read ($(grep -o 'the list did not get.*' "$work/korvane.log" | tail -n1))"
fi
shot=${KORVANE_SCREENSHOT_DIR:-.}/gnome-wake-list.png
gdbus call --session --dest org.gnome.Shell.Screenshot --object-path /org/gnome/Shell/Screenshot \
    --method org.gnome.Shell.Screenshot.Screenshot false false "$(realpath -m "$shot")" >/dev/null 2>&1 && echo "screenshot: $shot"
shell "const Clutter = imports.gi.Clutter; const k = global._korvaneKeyboard; const t = GLib.get_monotonic_time();
       k.notify_keyval(t, Clutter.KEY_Alt_L, Clutter.KeyState.PRESSED); k.notify_keyval(t + 10, Clutter.KEY_1, Clutter.KeyState.PRESSED);
       k.notify_keyval(t + 20, Clutter.KEY_1, Clutter.KeyState.RELEASED); k.notify_keyval(t + 30, Clutter.KEY_Alt_L, Clutter.KeyState.RELEASED); true" >/dev/null
wait_for grep -q "tray animation started" "$work/korvane.log" && echo "Alt+1: the first row ran" || echo "Alt+1: nothing ran"
