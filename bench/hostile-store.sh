#!/usr/bin/env bash
# The action store under contention. With both cores kept busy, ROUNDS rounds (50) each of:
# two `korvane set`s at once on one action (one its title, one its key code), two `korvane
# add`s at once, and two first starts at once on a fresh store (each an add). Prints what
# was lost: a write that exited non-zero or is not in the store afterwards, and actions
# that ended up sharing a place in their list.
set -euo pipefail
build=${1:-build}
korvane=$(realpath "$build/src/korvane")
rounds=${ROUNDS:-50}
work=$(mktemp -d "${BENCH_DIR:-$PWD}/korvane-store-bench.XXXXXX")
busy=()
cleanup() {
    for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache
command -v sqlite3 >/dev/null || { echo "hostile-store.sh needs sqlite3" >&2; exit 1; }

for _ in 1 2; do
    (while :; do :; done) &
    busy+=($!)
done

store() { sqlite3 "$1/korvane/KVCoreData.sqlite" "$2"; }

export XDG_DATA_HOME=$work/shared
id=$("$korvane" add 1 9 | tail -1)
lost_sets=0
for r in $(seq 1 "$rounds"); do
    "$korvane" set "$id" "drop.title=T$r" 2>/dev/null & a=$!
    "$korvane" set "$id" "keyCode=$r" 2>/dev/null & b=$!
    title=ok; key=ok
    wait $a || title=lost
    wait $b || key=lost
    [ "$(store "$XDG_DATA_HOME" "SELECT title FROM DropListEntity WHERE dropID = $id")" = "T$r" ] || title=lost
    [ "$(store "$XDG_DATA_HOME" "SELECT keyCode FROM DropListEntity WHERE dropID = $id")" = "$r" ] || key=lost
    [ $title = ok ] || lost_sets=$((lost_sets + 1))
    [ $key = ok ] || lost_sets=$((lost_sets + 1))
done

lost_adds=0
shared_adds=0
for r in $(seq 1 "$rounds"); do
    "$korvane" add 1 9 --title "A$r" >/dev/null 2>&1 & a=$!
    "$korvane" add 1 9 --title "B$r" >/dev/null 2>&1 & b=$!
    wait $a || true
    wait $b || true
    found=$(store "$XDG_DATA_HOME" "SELECT count(*) FROM DropListEntity WHERE title IN ('A$r', 'B$r')")
    lost_adds=$((lost_adds + 2 - found))
    places=$(store "$XDG_DATA_HOME" "SELECT count(DISTINCT \"index\") FROM DropListEntity WHERE title IN ('A$r', 'B$r')")
    [ "$places" -eq "$found" ] || shared_adds=$((shared_adds + 1))
done

lost_starts=0
doubled_starts=0
for r in $(seq 1 "$rounds"); do
    export XDG_DATA_HOME=$work/fresh$r
    "$korvane" add 1 9 --title "A" >/dev/null 2>"$work/a.err" & a=$!
    "$korvane" add 1 9 --title "B" >/dev/null 2>"$work/b.err" & b=$!
    wait $a || cat "$work/a.err" >> "$work/errors"
    wait $b || cat "$work/b.err" >> "$work/errors"
    found=$(store "$XDG_DATA_HOME" "SELECT count(*) FROM DropListEntity WHERE title IN ('A', 'B')" 2>/dev/null || echo 0)
    lost_starts=$((lost_starts + 2 - found))
    # The default actions are made once, by whichever start comes first.
    defaults=$(store "$XDG_DATA_HOME" "SELECT count(*) FROM DropListEntity WHERE title NOT IN ('A', 'B')" 2>/dev/null || echo 0)
    [ "$defaults" -le 18 ] || doubled_starts=$((doubled_starts + 1))
    rm -rf "$XDG_DATA_HOME"
done

echo "two sets at once: $lost_sets of $((rounds * 2)) writes lost"
echo "two adds at once: $lost_adds of $((rounds * 2)) actions lost; $shared_adds of $rounds rounds gave both one place"
echo "two first starts at once: $lost_starts of $((rounds * 2)) actions lost; $doubled_starts of $rounds rounds made the defaults twice"
[ ! -s "$work/errors" ] || { echo "first failure of a first start:"; head -3 "$work/errors"; }
