#!/usr/bin/env bash
# Korvane on the desktops of a Debian release, which the CI does not run: GNOME and Plasma,
# headless, from a chroot of that release that holds them (Debian 13: GNOME 48 and Plasma 6.3;
# Debian testing: GNOME 50 and Plasma 6.7). The compositor, the session bus and the
# desktop portal run in the chroot; Korvane runs from the host build as their client, through
# a folder mounted at the same path on both sides (the chroot shares the process table, so the
# portal sees Korvane's process and registers its app id). Per desktop: what the desktop bound
# for the wake key and whether the key fires, the list "korvane show" makes of a text that
# wl-copy put on the clipboard, Alt+1's result on the clipboard, the drop window of "korvane
# window" among the compositor's windows, and the notifications Korvane sent. One row of
# bench/desktops.sh's table per desktop on stdout, what each step gave on stderr, screenshots
# and the logs in KORVANE_SCREENSHOT_DIR, named by desktop and version (gnome50-drop-window.png)
# and by release (logs-debian-testing/).
# The rows name the chroot's release, from its os-release and apt sources.
#   chroot-desktops.sh [BUILD] [gnome] [plasma]    as root; cc and wayland-scanner on the host
#   KORVANE_CHROOT          the chroot (/work/chroots/trixie-desktop)
#   KORVANE_SUITE           the suite to make it from, when it is missing (trixie)
#   KORVANE_SCREENSHOT_DIR  where the screenshots and logs go (.)
set -uo pipefail
build=${1:-build}
shift || true
desktops=("$@")
[ ${#desktops[@]} -gt 0 ] || desktops=(gnome plasma)
root=${KORVANE_CHROOT:-/work/chroots/trixie-desktop}
suite=${KORVANE_SUITE:-trixie}
shots=$(realpath -m "${KORVANE_SCREENSHOT_DIR:-.}")
korvane=$(realpath "$build/src/korvane")
packages="gnome-shell mutter gnome-control-center gnome-settings-daemon xdg-desktop-portal xdg-desktop-portal-gnome
    kwin-wayland xdg-desktop-portal-kde kglobalacceld plasma-workspace plasma-wayland-protocols wl-clipboard dbus-daemon
    libglib2.0-bin python3-gi"

if [ "$(id -u)" -ne 0 ] || [ ! -x "$root/usr/bin/gnome-shell" ] || [ ! -x "$root/usr/bin/kwin_wayland" ]; then
    echo "chroot-desktops.sh needs root and a Debian $suite chroot with the desktops at $root:" >&2
    echo "  debootstrap --variant=minbase $suite $root http://deb.debian.org/debian" >&2
    echo "  chroot $root apt-get install --no-install-recommends" $packages >&2
    exit 2
fi

# "Debian 13", or the suite of a release without a number: "Debian testing".
release=$(
    . "$root/etc/os-release"
    suite=$(cat "$root/etc/apt/sources.list" "$root"/etc/apt/sources.list.d/*.list 2>/dev/null | awk '$1 == "deb" { print $3; exit }')
    [ -n "$suite" ] || suite=$(cat "$root"/etc/apt/sources.list.d/*.sources 2>/dev/null | awk '$1 == "Suites:" { print $2; exit }')
    echo "${NAME%% *} ${VERSION_ID:-${suite:-${VERSION_CODENAME:-}}}"
)

mkdir -p "$shots"
work=$(mktemp -d /tmp/korvane-chroot.XXXXXX)
chmod 755 "$work"
mounted=()
detail() { echo "$*" >&2; }

# Every process of a run carries the run's folder in its environment: the bus activates
# services that are no child of ours, and wl-copy forks itself away.
stop_processes() {
    local pid
    for _ in 1 2 3; do
        local left=()
        for pid in $(grep -lsaF "$1" /proc/[0-9]*/environ | cut -d/ -f3); do
            [ "$pid" != $$ ] && [ "$pid" != "$BASHPID" ] && left+=("$pid")
        done
        [ ${#left[@]} -eq 0 ] && return
        kill "${left[@]}" 2>/dev/null
        sleep 1
    done
    for pid in $(grep -lsaF "$1" /proc/[0-9]*/environ | cut -d/ -f3); do
        [ "$pid" != $$ ] && [ "$pid" != "$BASHPID" ] && kill -9 "$pid" 2>/dev/null
    done
}
cleanup() {
    stop_processes "KORVANE_RUN=$work"
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount -R "${mounted[i]}" || detail "cannot unmount ${mounted[i]}"
    done
    rmdir "$root$work" 2>/dev/null
    # The logs stay beside the screenshots, in a folder per release (logs-debian-13).
    local logs
    logs=$shots/logs-$(tr ' [:upper:]' '-[:lower:]' <<<"$release")
    for log in "$work"/*/*.log; do
        [ -f "$log" ] && mkdir -p "$logs" && cp "$log" "$logs/$(basename "$(dirname "$log")")-$(basename "$log")"
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
attach() { # SOURCE TARGET MOUNT-OPTIONS...
    mkdir -p "$2"
    if ! mountpoint -q "$2"; then
        mount "${@:3}" "$1" "$2" && mounted+=("$2")
    fi
}
attach proc "$root/proc" -t proc
attach sysfs "$root/sys" -t sysfs
attach /dev "$root/dev" --rbind --make-rslave
attach "$work" "$root$work" --bind

wait_for() { # TENTHS COMMAND...
    local tenths=$1
    shift
    for _ in $(seq 1 "$tenths"); do "$@" && return 0; sleep 0.1; done
    return 1
}
row() { printf '%-40s | %-18s | %-10s | %-8s | %-11s | %-6s | %s\n' "$@"; }

# The desktop's side: the chroot with a clean environment of this run.
inside() { chroot "$root" /usr/bin/env -i "${desktop_env[@]}" "$@"; }
# Korvane's side: the host, with the same runtime folder and bus, and folders of its own.
host() { env -i "${korvane_env[@]}" "$@"; }

setup_desktop() { # NAME XDG_CURRENT_DESKTOP
    dir=$work/$1
    mkdir -p "$dir"/{run,home,config,data,cache,bin,share/applications,korvane/config,korvane/data,korvane/home}
    chmod 700 "$dir/run"
    desktop_env=(KORVANE_RUN="$work" PATH="$dir/bin:/usr/sbin:/usr/bin:/sbin:/bin" HOME="$dir/home" LANG=C.UTF-8
        XDG_RUNTIME_DIR="$dir/run" XDG_CONFIG_HOME="$dir/config" XDG_DATA_HOME="$dir/data" XDG_CACHE_HOME="$dir/cache"
        XDG_DATA_DIRS="$dir/share:/usr/local/share:/usr/share" XDG_CURRENT_DESKTOP="$2" XDG_SESSION_TYPE=wayland
        WAYLAND_DISPLAY=wl-korvane DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/run/bus"
        DBUS_SYSTEM_BUS_ADDRESS="unix:path=$dir/system_bus")
    korvane_env=(KORVANE_RUN="$work" PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME="$dir/korvane/home" LANG=C.UTF-8
        XDG_RUNTIME_DIR="$dir/run" XDG_CONFIG_HOME="$dir/korvane/config" XDG_DATA_HOME="$dir/korvane/data"
        XDG_CURRENT_DESKTOP="$2" XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wl-korvane QT_QPA_PLATFORM=wayland
        DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/run/bus" QT_LOGGING_RULES='korvane.*.info=true')
    # The portal registers an app id only when its desktop entry is installed and the entry's
    # program is on PATH: Korvane is the host's program, the chroot's PATH has a stand-in.
    cat >"$dir/share/applications/com.korvane.Korvane.desktop" <<EOF
[Desktop Entry]
Type=Application
Name=Korvane
Exec=korvane %F
Icon=com.korvane.Korvane
EOF
    printf '#!/bin/sh\necho "korvane runs on the host: %s" >&2\nexit 1\n' "$korvane" >"$dir/bin/korvane"
    chmod 755 "$dir/bin/korvane"
    cat >"$dir/system.conf" <<EOF
<busconfig>
  <type>system</type>
  <listen>unix:path=$dir/system_bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/></policy>
</busconfig>
EOF
    inside dbus-daemon --config-file="$dir/system.conf" --fork --print-pid=3 3>/dev/null
    # The bus starts the portal's helpers with its own environment, the desktop's.
    inside dbus-daemon --session --address="unix:path=$dir/run/bus" --fork --print-pid=3 3>/dev/null
    inside stdbuf -oL dbus-monitor "type='method_call',interface='org.freedesktop.Notifications',member='Notify'" \
        "type='method_call',interface='org.freedesktop.portal.GlobalShortcuts'" \
        "type='signal',interface='org.freedesktop.portal.GlobalShortcuts'" >"$dir/monitor.log" 2>&1 &

    # Korvane's store: Character Counter first, so that Alt+1 leaves a result on the clipboard.
    host "$korvane" list >/dev/null 2>>"$dir/cli.log"
    local ids
    ids=$(host "$korvane" list --json 2>>"$dir/cli.log" | python3 -c 'import json, sys
d = {a["type"]: a["dropID"] for a in json.load(sys.stdin) if a["catalog"] == 0}
print(d[2], d[9])')
    set -- $ids
    host "$korvane" set "$1" drop.index=0 >/dev/null 2>>"$dir/cli.log" && host "$korvane" set "$2" drop.index=2 >/dev/null 2>>"$dir/cli.log"
}

start_korvane() {
    host "$korvane" >"$dir/korvane.log" 2>&1 &
    wait_for 200 grep -qs "started with" "$dir/korvane.log" || { detail "korvane did not start"; tail -n 5 "$dir/korvane.log" >&2; return 1; }
}

# A text put on the clipboard with the chroot's wl-copy, and the list "korvane show" makes of it.
clipboard_steps() {
    clip="Korvane on $release"
    inside wl-copy "$clip" 2>"$dir/wl-copy.log"
    clipboard_is() { [ "$(inside wl-paste -n 2>/dev/null)" = "$1" ]; }
    wait_for 50 clipboard_is "$clip" ||
        detail "wl-paste does not give back what wl-copy put: $(inside wl-paste -n 2>&1 | head -c 80)"
    local start=$(date +%s%N)
    host "$korvane" show 2>>"$dir/cli.log"
    if wait_for 100 grep -q "the list for the clipboard shows [1-9]" "$dir/korvane.log"; then
        wake="yes ($(grep -o 'the list for the clipboard shows [0-9]*' "$dir/korvane.log" | tail -n1 | grep -o '[0-9]*$') rows)"
        detail "wake list: $(grep -o 'the list for the clipboard shows.*' "$dir/korvane.log" | tail -n1), $(( ($(date +%s%N) - start) / 1000000 )) ms after korvane show"
    else
        wake=no
        detail "wake list: $(grep -E 'the list (for|did)' "$dir/korvane.log" | tail -n1)"
    fi
}

# What Alt+1, pressed on the list, left on the clipboard: the first row counts characters.
alt_1_steps() {
    local expected="Characters: ${#clip}."
    if more_than "tray animation ended" "$before"; then
        local pasted
        pasted=$(inside wl-paste -n 2>&1)
        detail "Alt+1: the first row ran; the clipboard holds: $pasted"
        case $pasted in "$expected"*) alt1=yes ;; *) alt1="ran, clipboard: ${pasted:0:20}" ;; esac
    else
        alt1=no
        detail "Alt+1: nothing ran"
    fi
}

notices_sent() {
    # The summary follows the app name, the replaces id and the icon in each Notify call; the
    # shell's gjs service passes each call on to the shell, a second time on the bus.
    local sent
    sent=$(grep -A5 "member=Notify" "$dir/monitor.log" |
        awk '/member=Notify/ { n = 0; next } /^ +(string|uint32)/ { if (++n == 4) { sub(/^ +string /, ""); print } }' |
        awk '!seen[$0]++' | paste -sd ',' - | sed 's/,/, /g')
    echo "${sent:+yes: }${sent:-none}"
}

# Korvane's log lines so far that match, to wait for the next one.
count() { grep -c "$1" "$dir/korvane.log"; }
more_than() { [ "$(count "$1")" -gt "$2" ]; }

# The keys of a trigger as the desktop describes it, GNOME's "Press <Shift><Super>k" or
# "Meta+Shift+K", in lower case: modifiers, then the key.
trigger_keys() {
    if [[ $1 == *"<"* ]]; then
        local accelerator
        accelerator=$(grep -o '\(<[A-Za-z0-9_]*>\)\+[^ <>]*' <<<"$1" | head -n1)
        { grep -o '<[A-Za-z0-9_]*>' <<<"$accelerator" | tr -d '<>'; sed 's/.*>//' <<<"$accelerator"; } | tr '[:upper:]' '[:lower:]'
    else
        tr '+' '\n' <<<"$1" | tr '[:upper:]' '[:lower:]'
    fi
}

# Presses the bound key (PRESS: the desktop's way) with the list open from "korvane show": the
# key closes it, as the wake key does, and opens it again. The portal's Activated signal
# tells the key went through.
press_bound_key() { # PRESS-ARGUMENTS...
    local activated lists
    activated=$(grep -c "member=Activated" "$dir/monitor.log")
    lists=$(count "the list for the clipboard shows")
    press "$@"
    if ! wait_for 50 more_than_in "$dir/monitor.log" "member=Activated" "$activated"; then
        bound+=", does not fire"
        detail "the bound key ($*): no Activated"
        host "$korvane" show 2>>"$dir/cli.log"
        return
    fi
    bound+=", fires"
    sleep 0.5
    press "$@"
    if wait_for 50 more_than "the list for the clipboard shows" "$lists"; then
        detail "the bound key ($*): Activated, and the list closed and opened again"
    else
        detail "the bound key ($*): Activated, but the list did not open again"
        host "$korvane" show 2>>"$dir/cli.log"
    fi
}
more_than_in() { [ "$(grep -c "$2" "$1")" -gt "$3" ]; }

run_gnome() {
    setup_desktop gnome GNOME
    # A chroot's /run/systemd without logind behind it makes the shell wait on logind: hide it.
    unshare -m sh -c "mount -t tmpfs none '$root/run/systemd' && exec chroot '$root' /usr/bin/env -i ${desktop_env[*]@Q} \
        gnome-shell --headless --wayland --no-x11 --unsafe-mode --virtual-monitor 1280x800 --wayland-display=wl-korvane" \
        >"$dir/shell.log" 2>&1 &
    shell() { inside gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell --method org.gnome.Shell.Eval "$1" 2>/dev/null; }
    said() { shell "$1" | grep -q "^(true, 'true')"; }
    local version
    version=$(inside gnome-shell --version | grep -o '[0-9.]*$')
    local name="GNOME $version ($release chroot)" prefix=gnome${version%%.*}
    # The shell's modules load as ES modules: Main is reached through a dynamic import.
    if ! wait_for 300 said "import('resource:///org/gnome/shell/ui/main.js').then(m => { global._korvaneMain = m; }); true" ||
        ! wait_for 300 said "global._korvaneMain !== undefined && !global._korvaneMain.layoutManager._startingUp"; then
        detail "gnome-shell did not start"; tail -n 20 "$dir/shell.log" >&2
        row "$name" "shell did not start" "" "" "" "" ""
        return
    fi
    detail "== $name, xdg-desktop-portal $(inside /usr/libexec/xdg-desktop-portal --version 2>/dev/null | grep -o '[0-9.]*$')"
    # A headless shell has no input devices and starts in the overview, where no window takes the focus.
    shell "const Clutter = imports.gi.Clutter; const seat = Clutter.get_default_backend().get_default_seat();
           global._korvaneKeyboard = seat.create_virtual_device(Clutter.InputDeviceType.KEYBOARD_DEVICE);
           global._korvanePointer = seat.create_virtual_device(Clutter.InputDeviceType.POINTER_DEVICE);
           global._korvaneMain.overview.hide(); true" >/dev/null
    titles() { shell "global.get_window_actors().map(a => a.meta_window.get_title()).join('; ')" | sed -E "s/^\(true, '\"?//; s/\"?'\)$//"; }
    screenshot() {
        inside gdbus call --session --dest org.gnome.Shell.Screenshot --object-path /org/gnome/Shell/Screenshot \
            --method org.gnome.Shell.Screenshot.Screenshot false false "$dir/$1" >/dev/null 2>&1 &&
            cp "$dir/$1" "$shots/$1" && detail "screenshot: $shots/$1"
    }
    keys() { # Clutter key names, pressed in order and released in reverse
        local js="const Clutter = imports.gi.Clutter; const k = global._korvaneKeyboard; let t = GLib.get_monotonic_time();" i
        for ((i = 1; i <= $#; i++)); do js+=" k.notify_keyval(t++, Clutter.KEY_${!i}, Clutter.KeyState.PRESSED);"; done
        for ((i = $#; i > 0; i--)); do js+=" k.notify_keyval(t++, Clutter.KEY_${!i}, Clutter.KeyState.RELEASED);"; done
        shell "$js true" >/dev/null
    }
    # The GlobalShortcuts backend of the GNOME portal needs the shell up: a portal started
    # before it serves settings only ("Non-compatible display server").
    local attempt
    for attempt in 1 2 3 4 5; do
        inside G_MESSAGES_DEBUG=all /usr/libexec/xdg-desktop-portal-gnome --replace >"$dir/portal-gnome.log" 2>&1 &
        wait_for 100 grep -q "providing org.freedesktop.impl.portal\|Non-compatible" "$dir/portal-gnome.log"
        grep -q "Non-compatible" "$dir/portal-gnome.log" || break
        cp "$dir/portal-gnome.log" "$dir/portal-gnome-$attempt.log"
        detail "xdg-desktop-portal-gnome: settings only (attempt $attempt)"
        kill $! 2>/dev/null; sleep 2
    done
    inside /usr/libexec/xdg-desktop-portal >"$dir/portal.log" 2>&1 &

    start_korvane || { row "$name" "korvane did not start" "" "" "" "" ""; return; }
    # GNOME asks before it binds: gnome-control-center's "Add Keyboard Shortcuts". Its Add
    # button sits at the right end of the header bar; the shell may ask first whether the
    # dialog may inhibit the desktop's shortcuts (its shortcut editor wants that): no.
    local dialog=no
    for _ in $(seq 1 120); do
        grep -q "shortcut wake: " "$dir/korvane.log" && break
        if said "global._korvaneMain.modalCount > 0"; then
            keys Escape
        elif said "global.get_window_actors().some(a => a.meta_window.get_title() == 'Add Keyboard Shortcuts')"; then
            # GTK draws its first frame in software, seconds after the window is listed.
            [ $dialog = no ] && sleep 3 && screenshot $prefix-add-keyboard-shortcuts.png
            dialog=yes
            shell "const Clutter = imports.gi.Clutter; const p = global._korvanePointer; let t = GLib.get_monotonic_time();
                   const r = global.get_window_actors().map(a => a.meta_window).find(w => w.get_title() == 'Add Keyboard Shortcuts').get_frame_rect();
                   p.notify_absolute_motion(t++, r.x + r.width - 38, r.y + 22);
                   p.notify_button(t++, Clutter.BUTTON_PRIMARY, Clutter.ButtonState.PRESSED);
                   p.notify_button(t++, Clutter.BUTTON_PRIMARY, Clutter.ButtonState.RELEASED); true" >/dev/null
            sleep 1
        fi
        sleep 0.5
    done
    grep -E "shortcut wake|wake shortcut|global shortcuts" "$dir/korvane.log" | sed 's/^/  /' >&2
    local trigger bound
    trigger=$(grep -o "shortcut wake: bound to .*" "$dir/korvane.log" | tail -n1 | sed 's/shortcut wake: bound to //')
    if [ -n "$trigger" ]; then
        bound="$trigger"
        [ $dialog = yes ] && bound+=" (Add clicked)"
    else
        bound="no: $(grep -o 'shortcut wake: .*' "$dir/korvane.log" | tail -n1 | cut -d: -f2-)"
        [ -s "$dir/korvane.log" ] && grep -q "shortcut wake: " "$dir/korvane.log" || bound="no answer in 60 s"
    fi

    clipboard_steps
    if [ -n "$trigger" ]; then
        local names=() key
        for key in $(trigger_keys "$trigger"); do
            case $key in shift | super | alt | meta) names+=("${key^}_L") ;; ctrl | control | primary) names+=(Control_L) ;; *) names+=("$key") ;; esac
        done
        press() { keys "$@"; }
        press_bound_key "${names[@]}"
    fi
    screenshot $prefix-wake-list.png
    before=$(count "tray animation ended")
    keys Alt_L 1
    wait_for 100 more_than "tray animation ended" "$before"
    alt_1_steps

    host "$korvane" window 2>>"$dir/cli.log"
    wait_for 50 said "global.get_window_actors().some(a => a.meta_window.get_title() == 'Korvane')" && drop=yes || drop=no
    detail "korvane window: the shell's windows: $(titles)"
    screenshot $prefix-drop-window.png
    local shown
    shown=$(shell "global._korvaneMain.messageTray.getSources().map(s => s.notifications.map(n => s.title + ': ' + n.title).join('|')).join('|')" |
        sed -E "s/^\(true, '\"?//; s/\"?'\)$//")
    detail "notifications korvane sent: $(notices_sent)"
    detail "notifications the shell holds: $shown"
    row "$name" "$bound" "$wake" "$alt1" "$drop" "-" "$(notices_sent)"
}

# A stand-in notification server for Plasma, whose own lives in plasmashell: it answers as
# one does and writes each notification's app name and summary to its log.
notification_server() {
    cat >"$dir/notifications.py" <<'PY'
import sys
from gi.repository import Gio, GLib
xml = """<node><interface name="org.freedesktop.Notifications">
<method name="Notify"><arg type="s" direction="in"/><arg type="u" direction="in"/><arg type="s" direction="in"/>
<arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="as" direction="in"/><arg type="a{sv}" direction="in"/>
<arg type="i" direction="in"/><arg type="u" direction="out"/></method>
<method name="CloseNotification"><arg type="u" direction="in"/></method>
<method name="GetCapabilities"><arg type="as" direction="out"/></method>
<method name="GetServerInformation"><arg type="s" direction="out"/><arg type="s" direction="out"/><arg type="s" direction="out"/><arg type="s" direction="out"/></method>
</interface></node>"""
count = [0]
def call(connection, sender, path, interface, method, parameters, invocation):
    if method == "Notify":
        app, replaces, icon, summary = parameters.unpack()[:4]
        count[0] += 1
        print(f"{app}: {summary}", flush=True)
        invocation.return_value(GLib.Variant("(u)", (replaces or count[0],)))
    elif method == "GetCapabilities":
        invocation.return_value(GLib.Variant("(as)", (["body", "body-images", "actions"],)))
    elif method == "GetServerInformation":
        invocation.return_value(GLib.Variant("(ssss)", ("stand-in", "korvane bench", "1", "1.2")))
    else:
        invocation.return_value(None)
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
bus.register_object("/org/freedesktop/Notifications", Gio.DBusNodeInfo.new_for_xml(xml).interfaces[0], call)
Gio.bus_own_name_on_connection(bus, "org.freedesktop.Notifications", Gio.BusNameOwnerFlags.NONE, None, None)
GLib.MainLoop().run()
PY
    inside python3 "$dir/notifications.py" >"$dir/notifications.log" 2>&1 &
}

# KWin's screenshot interface writes raw pixels into a pipe; they are written out as PNG.
kwin_screenshot() {
    cat >"$dir/kwinshot.py" <<'PY'
import os, struct, sys, zlib
from gi.repository import Gio, GLib
read, write = os.pipe()
fds = Gio.UnixFDList.new_from_array([write])
reply, _ = Gio.bus_get_sync(Gio.BusType.SESSION).call_with_unix_fd_list_sync(
    "org.kde.KWin", "/org/kde/KWin/ScreenShot2", "org.kde.KWin.ScreenShot2", "CaptureWorkspace",
    GLib.Variant("(a{sv}h)", ({}, 0)), GLib.VariantType("(a{sv})"), Gio.DBusCallFlags.NONE, 10000, fds, None)
os.close(write)
info = reply.unpack()[0]
data = b""
while chunk := os.read(read, 1 << 20):
    data += chunk
width, height, stride = info["width"], info["height"], info["stride"]
rows = b"".join(b"\0" + bytes(c for i in range(width) for c in (row[4*i+2], row[4*i+1], row[4*i], 255))
                for row in (data[y*stride:(y+1)*stride] for y in range(height)))
chunk = lambda kind, body: struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
open(sys.argv[1], "wb").write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
                              + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
PY
    # The screenshot effect needs OpenGL compositing: without a render node KWin paints with QPainter.
    if ! inside dbus-send --session --print-reply --dest=org.kde.KWin /Effects org.kde.kwin.Effects.loadEffect string:screenshot 2>/dev/null |
        grep -q true; then
        detail "no screenshot $1: KWin's screenshot effect does not load ($( [ -e /dev/dri ] || echo 'no /dev/dri: ')QPainter compositing)"
        return 1
    fi
    inside python3 "$dir/kwinshot.py" "$dir/$1" 2>>"$dir/kwinshot.log" && cp "$dir/$1" "$shots/$1" && detail "screenshot: $shots/$1"
}

# A Qt key code with its modifiers as Qt writes it: 0x1200004b is Meta+Shift+K.
qt_key() {
    local code=$1 text="" key
    ((code & 0x10000000)) && text+=Meta+
    ((code & 0x04000000)) && text+=Ctrl+
    ((code & 0x08000000)) && text+=Alt+
    ((code & 0x02000000)) && text+=Shift+
    key=$((code & 0x01ffffff))
    if ((key > 0x20 && key < 0x7f)); then
        text+=$(printf "\\x$(printf %x "$key")")
    else
        text+=$(printf '0x%x' "$key")
    fi
    echo "$text"
}

run_plasma() {
    setup_desktop plasma KDE
    local version
    version=$(inside kwin_wayland --version 2>/dev/null | grep -o '[0-9.]*$')
    local name="Plasma $version ($release chroot)" prefix
    prefix=plasma$(cut -d. -f1-2 <<<"$version" | tr -d .)
    # Keys reach KWin through its fake-input protocol (no virtual keyboard there).
    local protocol=$root/usr/share/plasma-wayland-protocols/fake-input.xml
    if [ -f "$protocol" ] && wayland-scanner client-header "$protocol" "$dir/fake-input-client-protocol.h" &&
        wayland-scanner private-code "$protocol" "$dir/fake-input-protocol.c" &&
        cc -O2 -I"$dir" -o "$dir/kwininput" "$(dirname "$0")/kwininput.c" "$dir/fake-input-protocol.c" -lwayland-client; then
        keys() { host "$dir/kwininput" "$@"; }
    else
        detail "no key presses: kwininput needs wayland-scanner and cc here, plasma-wayland-protocols in the chroot"
        keys() { return 1; }
    fi
    # Debian gives kwin_wayland a file capability that a chroot may refuse: a plain copy runs.
    cp "$root/usr/bin/kwin_wayland" "$dir/bin/kwin_wayland"
    inside KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 QT_LOGGING_RULES='kwin_scripting.debug=true' \
        kwin_wayland --virtual --socket wl-korvane --no-lockscreen --width 1280 --height 800 >"$dir/kwin.log" 2>&1 &
    owner() { inside dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner string:"$1" 2>/dev/null | grep -q "true"; }
    if ! wait_for 300 test -S "$dir/run/wl-korvane" || ! wait_for 100 owner org.kde.KWin; then
        detail "kwin_wayland did not start"; tail -n 20 "$dir/kwin.log" >&2
        row "$name" "KWin did not start" "" "" "" "" ""
        return
    fi
    detail "== $name, xdg-desktop-portal $(inside /usr/libexec/xdg-desktop-portal --version 2>/dev/null | grep -o '[0-9.]*$')"
    # What a JavaScript expression gives in a KWin script, which prints it to KWin's log.
    kwin_eval() {
        local tag=korvane-$RANDOM$RANDOM id
        printf 'print("%s: " + (%s));\n' "$tag" "$1" >"$dir/$tag.js"
        id=$(inside dbus-send --session --print-reply --dest=org.kde.KWin /Scripting org.kde.kwin.Scripting.loadScript \
            string:"$dir/$tag.js" string:"$tag" 2>/dev/null | grep -o 'int32 [0-9]*' | cut -d' ' -f2)
        inside dbus-send --session --print-reply --dest=org.kde.KWin "/Scripting/Script$id" org.kde.kwin.Script.run >/dev/null 2>&1
        wait_for 30 grep -q "$tag: " "$dir/kwin.log"
        grep -o "$tag: .*" "$dir/kwin.log" | cut -d' ' -f2-
        inside dbus-send --session --print-reply --dest=org.kde.KWin /Scripting org.kde.kwin.Scripting.unloadScript string:"$tag" >/dev/null 2>&1
        rm -f "$dir/$tag.js"
    }
    windows() { kwin_eval 'workspace.windowList().filter(w => w.normalWindow || w.dialog).map(w => w.caption).join("; ")'; }
    wait_for 100 owner org.kde.kglobalaccel || detail "no org.kde.kglobalaccel on the bus"
    notification_server
    inside QT_QPA_PLATFORM=wayland /usr/lib/x86_64-linux-gnu/libexec/xdg-desktop-portal-kde >"$dir/portal-kde.log" 2>&1 &
    inside /usr/libexec/xdg-desktop-portal >"$dir/portal.log" 2>&1 &
    wait_for 100 owner org.freedesktop.Notifications

    start_korvane || { row "$name" "korvane did not start" "" "" "" "" ""; return; }
    # Plasma 6.7 asks before it binds: xdg-desktop-portal-kde's "Global Shortcuts Requested",
    # 504 by 540 pixels, OK and then Cancel (84 by 32 each) at the right end of its footer, the
    # centre of OK 148 pixels left of the right edge and 32 above the bottom. OK stays
    # disabled while the keys clash with another shortcut.
    local dialog=no geometry clicks=0
    for _ in $(seq 1 120); do
        grep -q "shortcut wake: " "$dir/korvane.log" && break
        geometry=$(kwin_eval 'workspace.windowList().filter(w => w.caption == "Global Shortcuts Requested").map(w => [w.clientGeometry.x, w.clientGeometry.y, w.clientGeometry.width, w.clientGeometry.height].map(Math.round).join(" ")).join("")')
        if [ -n "$geometry" ]; then
            if [ $dialog = no ]; then
                detail "Global Shortcuts Requested: at $geometry (x y width height)"
                # Qt Quick draws its first frame a moment after the window is listed.
                sleep 2
                kwin_screenshot $prefix-global-shortcuts-requested.png
            fi
            dialog=yes
            set -- $geometry
            keys click $(($1 + $3 - 148)) $(($2 + $4 - 32)) && clicks=$((clicks + 1))
            sleep 1
        fi
        sleep 0.5
    done
    [ $dialog = yes ] && detail "Global Shortcuts Requested: $clicks click(s) on OK, $( [ -n "$(kwin_eval 'workspace.windowList().filter(w => w.caption == "Global Shortcuts Requested").length || ""')" ] && echo 'still open' || echo closed)"
    grep -E "shortcut wake|wake shortcut|global shortcuts" "$dir/korvane.log" | sed 's/^/  /' >&2
    local component active trigger bound
    component=$(inside dbus-send --session --print-reply --dest=org.kde.kglobalaccel /kglobalaccel org.kde.KGlobalAccel.allComponents 2>/dev/null |
        grep -o '/component/[^"]*' | grep -iE 'korvane' | head -n1)
    # kglobalaccel's keys are Qt key codes with the modifiers: what it took, not what was asked.
    local unique
    unique=$(inside dbus-send --session --print-reply --dest=org.kde.kglobalaccel "$component" org.freedesktop.DBus.Properties.Get \
        string:org.kde.kglobalaccel.Component string:uniqueName 2>/dev/null | grep -o 'string "[^"]*"' | cut -d'"' -f2)
    active=$(inside dbus-send --session --print-reply --dest=org.kde.kglobalaccel "$component" org.kde.kglobalaccel.Component.allShortcutInfos 2>/dev/null |
        awk '/string "wake"/ { found = 1 } found && /int32/ { print $2; exit }')
    local taken=none
    [ -n "$active" ] && taken="$(qt_key "$active")"
    detail "kglobalaccel component: ${unique:-none}, active key of wake: $taken$([ -n "$active" ] && printf ' (Qt key code 0x%x)' "$active")"
    trigger=$(grep -o "shortcut wake: bound to .*" "$dir/korvane.log" | tail -n1 | sed 's/shortcut wake: bound to //')
    if [ -n "$trigger" ]; then
        bound="$trigger ($([ $dialog = yes ] && echo 'OK clicked; ')kglobalaccel ${unique:-none}: $taken)"
    else
        bound="no:$(grep -o 'shortcut wake: .*' "$dir/korvane.log" | tail -n1 | cut -d: -f2-)"
        [ -n "$(grep -o 'shortcut wake: .*' "$dir/korvane.log")" ] || bound="no answer in 60 s"
    fi

    clipboard_steps
    # The bound key, pressed as Linux key codes (linux/input-event-codes.h).
    if [ -n "$trigger" ]; then
        local codes=() key letters=qwertyuiop____asdfghjkl_____zxcvbnm
        for key in $(trigger_keys "$trigger"); do
            case $key in
            shift) codes+=(42) ;; ctrl | control) codes+=(29) ;; alt) codes+=(56) ;; meta | super) codes+=(125) ;;
            [a-z]) local row=${letters%%"$key"*}; codes+=($((16 + ${#row}))) ;;
            *) codes+=(0) ;;
            esac
        done
        press() { keys "$@"; }
        press_bound_key "${codes[@]}"
    fi
    kwin_screenshot $prefix-wake-list.png
    before=$(count "tray animation ended")
    keys 56 2
    wait_for 100 more_than "tray animation ended" "$before"
    alt_1_steps

    host "$korvane" window 2>>"$dir/cli.log"
    local titles=""
    for _ in $(seq 1 20); do
        titles=$(windows)
        grep -qE "(^|; )Korvane(;|$)" <<<"$titles" && break
        sleep 0.2
    done
    detail "korvane window: KWin's windows: $titles"
    grep -qE "(^|; )Korvane(;|$)" <<<"$titles" && drop=yes || drop=no
    kwin_screenshot $prefix-drop-window.png
    detail "notifications korvane sent: $(notices_sent)"
    detail "notifications the stand-in server got: $(paste -sd ';' "$dir/notifications.log")"
    row "$name" "$bound" "$wake" "$alt1" "$drop" "-" "$(notices_sent) (stand-in server)"
}

for desktop in "${desktops[@]}"; do
    case $desktop in
    gnome) run_gnome ;;
    plasma) run_plasma ;;
    *) detail "unknown desktop $desktop (gnome, plasma)" ;;
    esac
    stop_processes "KORVANE_RUN=$work"
done
exit 0
