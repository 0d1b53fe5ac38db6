#!/usr/bin/env bash
# Drags onto the tray while both cores are busy: a GTK and a Qt drag source take turns,
# each drag is dropped on the first row of the list or let go far away, and each must open
# the drop-here popover exactly once. The X server's own map events are counted (xev on the
# root window), so a popover shown for a moment counts as much as one that stays.
# Usage: drag-stress.sh [BUILD_DIR] (DRAGS=50 by default)
set -euo pipefail
build=$(realpath "${1:-build}")
drags=${DRAGS:-50}
here=$(dirname "$(realpath "$0")")
korvane=$build/src/korvane
qtsource=$build/tests/dragsource
gtksource=$here/../tests/dragsource/gtkdragsource.py
work=$(mktemp -d)
pids=()
cleanup() {
    exec 7>&- 8>&- 2>/dev/null || true
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Waits up to $1 seconds for a command to succeed; each try is a look at something that
# only changes when an event happened (a line logged, a window mapped, a file written).
waitfor() {
    local deadline=$(( $(date +%s%N) + $1 * 1000000000 ))
    shift
    until "$@"; do
        [ "$(date +%s%N)" -lt "$deadline" ] || return 1
        sleep 0.02
    done
}
nonempty() { [ -s "$1" ]; }
logged() { grep -q -- "$2" "$1" 2>/dev/null; }
lines() { grep -c -x -- "$2" "$1" 2>/dev/null || true; }

Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x900x24 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
waitfor 10 nonempty "$work/display"
export DISPLAY=:$(cat "$work/display")
dbus-daemon --session --nofork --print-address=3 3>"$work/bus" 2>/dev/null &
pids+=($!)
waitfor 10 nonempty "$work/bus"
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")
stdbuf -oL xev -root -event substructure -event property >"$work/maps" &
pids+=($!)
# xev listens once it reports a property we set on the root window.
mark() { xprop -root -f _KORVANE_BENCH 8s -set _KORVANE_BENCH ready && logged "$work/maps" PropertyNotify; }
waitfor 10 mark
trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
    --transparent false --tint 0x303030 >/dev/null 2>&1 &
pids+=($!)

export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache
export LANG=en_US.UTF-8 QT_QPA_PLATFORM=xcb QT_LOGGING_RULES='korvane.*.info=true'
# GTK would start the accessibility bus on our session bus for nothing.
export NO_AT_BRIDGE=1
mkdir -p "$work/copies"
DISPLAY='' "$korvane" list >/dev/null
DISPLAY='' "$korvane" add 1 9 --title "Copy Here" --set "savePath=$work/copies" --index 0 >/dev/null
echo "dragged" >"$work/notes.txt"
"$korvane" >"$work/korvane.log" 2>&1 &
pids+=($!)
waitfor 15 logged "$work/korvane.log" "started with"

# The sources, each fed by a pipe it reads until we close it.
mkfifo "$work/qt.in" "$work/gtk.in"
"$qtsource" 100 250 200 150 "$work/notes.txt" <"$work/qt.in" >"$work/qt.out" 2>/dev/null &
pids+=($!)
exec 7>"$work/qt.in"
/usr/bin/python3 "$gtksource" 100 550 200 150 "$work/notes.txt" <"$work/gtk.in" >"$work/gtk.out" 2>/dev/null &
pids+=($!)
exec 8>"$work/gtk.in"
waitfor 15 logged "$work/qt.out" ready
waitfor 15 logged "$work/gtk.out" ready

geometry() { # NAME: the shell variables X Y WIDTH HEIGHT of the first visible window so named
    local id
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || return 1
    [ -n "$id" ] && eval "$(xdotool getwindowgeometry --shell "$id")" && [ "$WIDTH" -gt 1 ]
}
shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
hidden() { ! shown "$1"; }
waitfor 15 geometry '^panel$'
near_x=$(( X + WIDTH / 2 - 60 )) near_y=$(( Y + HEIGHT / 2 ))

# MapNotify or UnmapNotify events ($1) of the drop-here popover so far.
drop_id=""
events() {
    if [ -z "$drop_id" ]; then
        drop_id=$(xdotool search --name '^Korvane drop here$' 2>/dev/null | head -1) || true
        [ -n "$drop_id" ] || { echo 0; return; }
        drop_id=$(printf '0x%x' "$drop_id")
    fi
    awk -v kind="$1" -v id="window $drop_id," \
        '$1 == kind { pending = 1; next } pending && index($0, id) { n++ } { pending = 0 } END { print n + 0 }' "$work/maps"
}
maps_at_least() { [ "$(events MapNotify)" -ge "$1" ]; }
all_unmapped() { [ "$(events UnmapNotify)" -eq "$(events MapNotify)" ]; }
move() { xdotool mousemove "$1" "$2"; }
# Moves a little around x,y ($1, $2), then runs the rest: a drag source and a drop target
# only hear of a window that appeared under the pointer once the pointer moves.
nudge=0
nudged() {
    nudge=$(( (nudge + 1) % 4 ))
    move $(( $1 + nudge * 3 )) "$2"
    shift 2
    "$@"
}
# The source's last word: it says "accepted" or "refused" each time the answer changes.
accepting() { [ "$(tail -1 "$1")" = accepted ]; }
# Moves from the pointer's place to x,y in n steps.
glide() {
    local x0 y0 s X Y SCREEN WINDOW
    eval "$(xdotool getmouselocation --shell)"
    x0=$X y0=$Y
    for s in $(seq 1 "$3"); do move $(( x0 + ($1 - x0) * s / $3 )) $(( y0 + ($2 - y0) * s / $3 )); done
}

load=()
for _ in 1 2; do
    (while :; do :; done) &
    load+=($!)
    pids+=($!)
done

good=0
failures=()
start=$(date +%s)
for i in $(seq 1 "$drags"); do
    if (( i % 2 )); then name=qt sy=325; else name=gtk sy=625; fi
    if (( (i - 1) / 2 % 2 )); then mode=away; else mode=row; fi
    finished=$(lines "$work/$name.out" finished)
    base=$(events MapNotify)
    why=""
    move 200 "$sy"
    xdotool mousedown 1
    glide "$near_x" "$near_y" 12
    if ! waitfor 10 maps_at_least $(( base + 1 )); then
        why="no drop-here popover"
    elif [ "$mode" = row ]; then
        geometry '^Korvane drop here$' || true
        area_x=$(( X + WIDTH / 2 )) area_y=$(( Y + HEIGHT / 2 + 5 ))
        glide "$area_x" "$area_y" 3
        if ! waitfor 10 nudged "$area_x" "$area_y" shown '^Korvane actions$'; then
            why="no list"
        else
            geometry '^Korvane actions$' || true
            row_x=$(( X + WIDTH / 2 )) row_y=$(( Y + 85 ))
            glide "$row_x" "$row_y" 3
            waitfor 10 nudged "$row_x" "$row_y" accepting "$work/$name.out" || why="the row took no drop"
        fi
    else
        glide 700 800 6
    fi
    xdotool mouseup 1
    if [ -z "$why" ] && [ "$mode" = row ] && ! waitfor 15 test -e "$work/copies/notes.txt"; then
        why="nothing copied"
    fi
    rm -f "$work/copies/notes.txt"
    waitfor 15 hidden '^Korvane actions$' || why=${why:-"the list stayed open"}
    waitfor 15 hidden '^Korvane drop here$' || why=${why:-"the drop-here popover stayed open"}
    waitfor 15 test "$(lines "$work/$name.out" finished)" -gt "$finished" || why=${why:-"the drag did not end"}
    waitfor 5 all_unmapped || true
    opened=$(events MapNotify)
    if [ -z "$why" ] && [ "$opened" -ne $(( base + 1 )) ]; then
        why="drop-here popover opened $(( opened - base )) times"
    fi
    if [ -z "$why" ]; then
        good=$(( good + 1 ))
    else
        failures+=("drag $i ($name, $mode): $why")
    fi
done
seconds=$(( $(date +%s) - start ))
for pid in "${load[@]}"; do kill "$pid"; done
for failure in "${failures[@]}"; do echo "$failure"; done
echo "drags with the drop-here popover opened exactly once: $good of $drags ($seconds s, both cores busy)"
[ "$good" -eq "$drags" ]
