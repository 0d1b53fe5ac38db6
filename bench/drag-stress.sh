#!/usr/bin/env bash
# Drags onto the tray while both cores are busy. Qt, GTK 3 and GTK 4 drag sources take turns,
# each dragging a file or a folder, and each drag ends in one of four ways: dropped on the
# first row of the list (which copies it), let go on a row that runs nothing (deaf while
# another row, started from the command line, runs: it refuses the drop), let go far away,
# or let go on the edge of the drop-here popover. Each drag must open the drop-here popover
# exactly once, end for its source (none is lost: a source that never hears how its drop
# ended keeps its drag icon on screen), and leave no popover behind. The X server's own map
# events are counted (xev on the root window), so a popover shown for a moment counts as much
# as one that stays. Korvane must live through it all; a sanitizer build's reports count too.
# Usage: drag-stress.sh [BUILD_DIR] (DRAGS=48 by default; MODES="row away" for fewer endings;
# KEEP=DIR keeps Korvane's log and the sources' words there)
set -euo pipefail
build=$(realpath "${1:-build}")
drags=${DRAGS:-48}
here=$(dirname "$(realpath "$0")")
korvane=$build/src/korvane
qtsource=$build/tests/dragsource
gtksource=$here/../tests/dragsource/gtkdragsource.py
work=$(mktemp -d)
pids=()
fds=()
cleanup() {
    for fd in "${fds[@]}"; do exec {fd}>&- 2>/dev/null || true; done
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    if [ -n "${KEEP:-}" ]; then
        mkdir -p "$KEEP" && cp "$work"/*.log "$work"/*.out "$work/maps" "$KEEP/" 2>/dev/null || true
    fi
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

kinds=(qt gtk3)
if /usr/bin/python3 -c 'import gi; gi.require_version("Gtk", "4.0")' 2>/dev/null; then
    kinds+=(gtk4)
else
    echo "GTK 4 drags left out: python3-gi finds no Gtk 4.0 (Debian: gir1.2-gtk-4.0)"
fi

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
    --transparent false >/dev/null 2>&1 &
pids+=($!)

export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache
export LANG=en_US.UTF-8 QT_QPA_PLATFORM=xcb QT_LOGGING_RULES=${QT_LOGGING_RULES:-'korvane.*.info=true'}
# GTK would start the accessibility bus on our session bus for nothing.
export NO_AT_BRIDGE=1 GTK_A11Y=none
# A sanitizer build reports into the log and goes on where it can; a report fails the run.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:halt_on_error=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/../tools/sanitize/lsan.supp:print_suppressions=0:use_tls=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
mkdir -p "$work/copies" "$work/Shots"
DISPLAY='' "$korvane" list >/dev/null 2>&1
DISPLAY='' "$korvane" add 1 9 --title "Copy Here" --set "savePath=$work/copies" --index 0 >/dev/null 2>&1
echo "dragged" >"$work/notes.txt"
echo "shot" >"$work/Shots/one.txt"
echo "clipped" >"$work/clip.txt"
"$korvane" >"$work/korvane.log" 2>&1 &
korvane_pid=$!
pids+=($korvane_pid)
waitfor 15 logged "$work/korvane.log" "started with"
# What the command line's run of the first row copies.
printf 'file://%s\n' "$work/clip.txt" | xclip -quiet -selection clipboard -t text/uri-list >/dev/null 2>&1 &
pids+=($!)

# The sources, each fed by a pipe it reads until we close it: every kind drags the file from
# the upper row of windows and the folder from the lower one.
sources=()
column=0
for kind in "${kinds[@]}"; do
    for what in file folder; do
        name=$kind-$what x=$(( 40 + column * 240 )) y=$([ "$what" = file ] && echo 250 || echo 550)
        path=$([ "$what" = file ] && echo "$work/notes.txt" || echo "$work/Shots")
        case $kind in
            qt) command=("$qtsource") ;;
            gtk3) command=(/usr/bin/python3 "$gtksource") ;;
            gtk4) command=(/usr/bin/python3 "$gtksource" --gtk4) ;;
        esac
        mkfifo "$work/$name.in"
        "${command[@]}" "$x" "$y" 200 150 "$path" <"$work/$name.in" >"$work/$name.out" 2>/dev/null &
        pids+=($!)
        exec {fd}>"$work/$name.in"
        fds+=("$fd")
        waitfor 15 logged "$work/$name.out" ready
        sources+=("$name:$(( x + 100 )):$(( y + 75 ))")
    done
    column=$(( column + 1 ))
done
# Sources alternate kinds: file drags of each kind, then folder drags of each kind.
ordered=()
for what in file folder; do
    for source in "${sources[@]}"; do [[ $source == *-$what:* ]] && ordered+=("$source"); done
done
read -r -a modes <<<"${MODES:-row norun away edge}"

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
refusing() { [ "$(tail -1 "$1")" = refused ]; }
not_accepting() { ! accepting "$1"; }
# Moves from the pointer's place to x,y in n steps.
glide() {
    local x0 y0 s X Y SCREEN WINDOW
    eval "$(xdotool getmouselocation --shell)"
    x0=$X y0=$Y
    for s in $(seq 1 "$3"); do move $(( x0 + ($1 - x0) * s / $3 )) $(( y0 + ($2 - y0) * s / $3 )); done
}
alive() { kill -0 "$korvane_pid" 2>/dev/null; }
animating() { [ "$(grep -c 'tray animation started' "$work/korvane.log")" -gt "$(grep -c 'tray animation ended' "$work/korvane.log")" ]; }
idle() { ! animating; }
copied() { test -e "$work/copies/$1"; }
# Whether the source of this drag said "finished" once more than before it (a look taken anew
# on each try: the source may end its drag after a short fly-back animation).
ended() { [ "$(lines "$work/$name.out" finished)" -gt "$finished" ]; }

# Into the list through the drop-here popover's drop area; sets row_x and row_y to the first
# row, or why when the list did not come.
into_list() {
    geometry '^Korvane drop here$' || true
    local area_x=$(( X + WIDTH / 2 )) area_y=$(( Y + HEIGHT / 2 + 5 ))
    glide "$area_x" "$area_y" 3
    waitfor 10 nudged "$area_x" "$area_y" shown '^Korvane actions$' || { why="no list"; return; }
    geometry '^Korvane actions$' || true
    row_x=$(( X + WIDTH / 2 )) row_y=$(( Y + 85 ))
}

load=()
for _ in 1 2; do
    (while :; do :; done) &
    load+=($!)
    pids+=($!)
done

good=0
lost=0
failures=()
start=$(date +%s)
for i in $(seq 1 "$drags"); do
    IFS=: read -r name sx sy <<<"${ordered[(i - 1) % ${#ordered[@]}]}"
    mode=${modes[(i - 1) / ${#ordered[@]} % ${#modes[@]}]}
    item=$([[ $name == *-file ]] && echo notes.txt || echo Shots)
    finished=$(lines "$work/$name.out" finished)
    base=$(events MapNotify)
    why=""
    waitfor 15 idle || why="the tray still animates the last run"
    move "$sx" "$sy"
    xdotool mousedown 1
    glide "$near_x" "$near_y" 12
    if ! waitfor 10 maps_at_least $(( base + 1 )); then
        why=${why:-"no drop-here popover"}
    else
        case $mode in
            row | norun)
                [ -n "$why" ] || into_list
                if [ -z "$why" ]; then
                    glide "$row_x" "$row_y" 3
                    waitfor 10 nudged "$row_x" "$row_y" accepting "$work/$name.out" || why="the row took no drop"
                fi
                if [ -z "$why" ] && [ "$mode" = norun ]; then
                    # The first row runs on the clipboard, as a desktop's key binding runs it: the
                    # other rows are deaf until it ends, and the second one gets the drop.
                    row_y=$(( row_y + 60 ))
                    glide "$row_x" "$row_y" 2
                    DISPLAY=$DISPLAY "$korvane" show --action "Copy Here" >/dev/null 2>&1
                    waitfor 10 animating || why="the first row did not run"
                    waitfor 10 nudged "$row_x" "$row_y" refusing "$work/$name.out" || why=${why:-"the deaf row did not refuse the drop"}
                fi
                ;;
            away)
                glide 700 800 6
                # Let go once the source has heard that nothing here takes it, as a hand
                # that slows down does.
                waitfor 10 nudged 700 800 not_accepting "$work/$name.out" || true
                ;;
            edge)
                geometry '^Korvane drop here$' || true
                edge_x=$(( X + 2 )) edge_y=$(( Y + HEIGHT / 2 ))
                # Along the panel, then down beside the popover: the drop area is never crossed.
                glide $(( X - 20 )) "$near_y" 4
                glide $(( X - 20 )) "$edge_y" 4
                glide "$edge_x" "$edge_y" 2
                ;;
        esac
    fi
    echo "$(date +%T.%N) drag $i ($name, $mode): let go" >>"$work/steps.log"
    xdotool mouseup 1
    if [ -z "$why" ] && [ "$mode" = row ] && ! waitfor 15 copied "$item"; then
        why="nothing copied"
    fi
    if ! waitfor 15 ended; then
        echo "$(date +%T.%N) drag $i lost" >>"$work/steps.log"
        why=${why:-"the drag was lost"}
        lost=$(( lost + 1 ))
        # Its source still waits for the drop's end; Escape gives it up.
        xdotool key Escape
        waitfor 15 ended || true
    fi
    waitfor 15 hidden '^Korvane actions$' || why=${why:-"the list stayed open"}
    waitfor 15 hidden '^Korvane drop here$' || why=${why:-"the drop-here popover stayed open"}
    if [ "$mode" = norun ] && [ -z "$why" ]; then
        waitfor 15 copied clip.txt || why="the first row copied nothing"
        ! copied "$item" || why="the deaf row ran"
    fi
    rm -rf "$work/copies/$item" "$work/copies/clip.txt"
    waitfor 5 all_unmapped || true
    opened=$(events MapNotify)
    if [ -z "$why" ] && [ "$opened" -ne $(( base + 1 )) ]; then
        why="drop-here popover opened $(( opened - base )) times"
    fi
    if ! alive; then
        failures+=("drag $i ($name, $mode): Korvane died")
        break
    fi
    if [ -z "$why" ]; then
        good=$(( good + 1 ))
    else
        failures+=("drag $i ($name, $mode): $why")
        # Whatever stayed open closes before the next drag.
        hidden '^Korvane actions$' || xdotool key Escape
    fi
done
seconds=$(( $(date +%s) - start ))
for pid in "${load[@]}"; do kill "$pid"; done
if alive; then
    kill -TERM "$korvane_pid"
    waitfor 30 test ! -e "/proc/$korvane_pid" || true
fi
wait "$korvane_pid" 2>/dev/null || true
reports=$(grep -c -E '^(==[0-9]+==ERROR: |SUMMARY: (Address|Leak|Undefined)Sanitizer)|runtime error:' "$work/korvane.log" || true)
for failure in "${failures[@]}"; do echo "$failure"; done
if [ "$reports" -gt 0 ]; then
    cp "$work/korvane.log" "${TMPDIR:-/tmp}/drag-stress-korvane.log"
    echo "sanitizer reports: $reports (log kept in ${TMPDIR:-/tmp}/drag-stress-korvane.log)"
fi
echo "drags with the drop-here popover opened exactly once, ended and closed: $good of $drags, lost: $lost, sanitizer reports: $reports ($seconds s, both cores busy, sources: ${kinds[*]})"
[ "$good" -eq "$drags" ] && [ "$reports" -eq 0 ]
