#!/usr/bin/env bash
# Korvane's hotkeys through a real KDE Plasma 5.27 desktop portal: kwin_wayland --virtual,
# xdg-desktop-portal and xdg-desktop-portal-kde on a private session bus. Korvane binds the
# wake hotkey and one action hotkey; both are then fired through kglobalaccel, and the script
# reports what the desktop bound, what reached Korvane and how long each step took.
# Needs: apt-get install --no-install-recommends kwin-wayland xdg-desktop-portal xdg-desktop-portal-kde qtwayland5
set -euo pipefail
build=${1:-build}
korvane=$(realpath "$build/src/korvane")
portal=/usr/libexec/xdg-desktop-portal
portal_kde=/usr/lib/x86_64-linux-gnu/libexec/xdg-desktop-portal-kde
for needed in "$(command -v kwin_wayland || echo kwin_wayland)" "$portal" "$portal_kde"; do
    [ -x "$needed" ] || { echo "missing $needed: apt-get install --no-install-recommends kwin-wayland xdg-desktop-portal xdg-desktop-portal-kde" >&2; exit 2; }
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The bus starts the portals with its own environment: everything is exported before it.
export XDG_RUNTIME_DIR=$work/run XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache HOME=$work/home
mkdir -p "$XDG_RUNTIME_DIR" "$HOME" && chmod 700 "$XDG_RUNTIME_DIR"
export XDG_CURRENT_DESKTOP=KDE LANG=en_US.UTF-8 QT_LOGGING_RULES='korvane.*.info=true'
unset DISPLAY WAYLAND_DISPLAY
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$work/bus" 4>"$work/bus.pid"
export DBUS_SESSION_BUS_ADDRESS
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
pids+=("$(head -n1 "$work/bus.pid")")

now() { date +%s%N; }
ms() { echo $(( ($2 - $1) / 1000000 )); }
wait_for() {
    local what=$1
    shift
    for _ in $(seq 1 300); do "$@" && return 0; sleep 0.1; done
    echo "timed out waiting for $what" >&2
    return 1
}

# Debian gives kwin_wayland a file capability that a container may refuse; a plain copy runs.
cp "$(command -v kwin_wayland)" "$work/kwin_wayland"
t0=$(now)
KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 "$work/kwin_wayland" --virtual --socket korvane-kde --no-lockscreen >"$work/kwin.log" 2>&1 &
pids+=($!)
wait_for "kwin_wayland's socket" test -S "$XDG_RUNTIME_DIR/korvane-kde" || { cat "$work/kwin.log"; exit 1; }
export WAYLAND_DISPLAY=korvane-kde
QT_QPA_PLATFORM=wayland "$portal_kde" >"$work/portal-kde.log" 2>&1 &
pids+=($!)
"$portal" >"$work/portal.log" 2>&1 &
pids+=($!)
stdbuf -oL dbus-monitor "type='method_call',interface='org.freedesktop.portal.GlobalShortcuts'" \
    "type='signal',interface='org.freedesktop.portal.GlobalShortcuts'" \
    "type='method_call',interface='org.freedesktop.Notifications',member='Notify'" >"$work/monitor.log" 2>&1 &
pids+=($!)
t1=$(now)
echo "desktop up: $(ms "$t0" "$t1") ms"

"$korvane" list >/dev/null
"$korvane" add 0 2 --title "Count It" --set keyCode=8 --set modifiers=1179648 >/dev/null
t2=$(now)
QT_QPA_PLATFORM=wayland "$korvane" >"$work/korvane.log" 2>&1 &
pids+=($!)
wait_for "the portal's answer" grep -q "shortcut wakeHotKey: " "$work/korvane.log" || { cat "$work/korvane.log" "$work/portal.log" "$work/portal-kde.log"; exit 1; }
t3=$(now)
echo "korvane started and bound its shortcuts in $(ms "$t2" "$t3") ms:"
grep -E "shortcut |global shortcuts|korvane show" "$work/korvane.log" | sed 's/^/  /'
echo "what korvane sent:"
grep -E "member=(CreateSession|BindShortcuts)|string \"(wakeHotKey|8-1179648|LOGO|SHIFT)" "$work/monitor.log" | sed 's/^ */  /' | sort -u

components=$(dbus-send --session --print-reply --dest=org.kde.kglobalaccel /kglobalaccel org.kde.KGlobalAccel.allComponents |
    grep -o 'object path "[^"]*"' | cut -d'"' -f2)
echo "kglobalaccel components: $(echo "$components" | tr '\n' ' ')"
component=$(echo "$components" | grep -i korvane | head -n1 || true)
[ -n "$component" ] || { echo "no kglobalaccel component for korvane"; tail -n 20 "$work/portal-kde.log"; exit 1; }
# The shortcut id is the line after an Activated signal's session handle.
activated() { grep -A2 "member=Activated" "$work/monitor.log" | grep -q "string \"$1\""; }
for id in wakeHotKey 8-1179648; do
    t4=$(now)
    dbus-send --session --print-reply --dest=org.kde.kglobalaccel "$component" org.kde.kglobalaccel.Component.invokeShortcut string:"$id" >/dev/null
    wait_for "Activated $id" activated "$id" || true
    t5=$(now)
    echo "invoked $id: Activated seen after $(ms "$t4" "$t5") ms"
done
wait_for "korvane's notification" grep -q "member=Notify" "$work/monitor.log" || true
echo "notifications korvane sent:"
grep -A4 "member=Notify" "$work/monitor.log" | grep -E '^ +string "' | sed -n '1~1p' | sed 's/^ */  /' | head -n 8
