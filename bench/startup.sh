#!/usr/bin/env bash
# Start, run a text action, exit: korvane against a bare QCoreApplication, interleaved,
# medians of 31 runs each.
set -euo pipefail
build=${1:-build}
korvane="$build/src/korvane"
bare="$build/bench/bareapp"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache LANG=en_US.UTF-8
unset DISPLAY WAYLAND_DISPLAY
"$korvane" list >/dev/null

now() { date +%s%N; }
declare -a tk tb tl
for i in $(seq 1 31); do
    t0=$(now); "$bare"; t1=$(now); tb+=($(( (t1 - t0) / 1000 )))
    t0=$(now); "$korvane" run 'Character Counter' --text 'Hello world' >/dev/null 2>&1; t1=$(now); tk+=($(( (t1 - t0) / 1000 )))
    t0=$(now); "$korvane" list >/dev/null; t1=$(now); tl+=($(( (t1 - t0) / 1000 )))
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
mb=$(median "${tb[@]}"); mk=$(median "${tk[@]}"); ml=$(median "${tl[@]}")
awk -v b="$mb" -v k="$mk" -v l="$ml" 'BEGIN {
    printf "bare QCoreApplication: %.1f ms\n", b / 1000
    printf "korvane run (text action): %.1f ms = %.2fx the bare start; goal <= 1.5x\n", k / 1000, k / b
    printf "korvane list: %.1f ms = %.2fx\n", l / 1000, l / b
}'
