#!/usr/bin/env bash
# Text actions as users run them, whole korvane processes timed: the character count of 50 MB
# of text, and simplified to Taiwan traditional Chinese on 10 MiB against Debian's opencc tool,
# when installed, in the same run. Medians of RUNS runs.
#   bench/text-actions.sh [build dir]      RUNS=5 by default
set -euo pipefail
build=${1:-build}
runs=${RUNS:-5}
korvane=$build/src/korvane
[ -x "$korvane" ] && [ -x "$build/bench/zhconvert" ] || { echo "missing $korvane or zhconvert: build first"; exit 1; }
have_opencc=0
command -v opencc >/dev/null && have_opencc=1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config HOME=$work/home LANG=en_US.UTF-8
unset LC_ALL LANGUAGE DISPLAY WAYLAND_DISPLAY

# shellcheck source=bench/zh-corpus.inc
. "$(dirname "$0")/zh-corpus.inc"
make_zh_corpus "$work"

line='The quick brown fox jumps over 13 lazy dogs. 敏捷的棕色狐狸跳过了懒狗。 tab	here'
: >"$work/line.txt"
for _ in $(seq 64); do echo "$line" >>"$work/line.txt"; done
while [ "$(stat -c %s "$work/count.txt" 2>/dev/null || echo 0)" -lt 50000000 ]; do
    cat "$work/line.txt" "$work/line.txt" "$work/line.txt" "$work/line.txt" >>"$work/count.txt"
    cat "$work/count.txt" >"$work/count2.txt" && cat "$work/count2.txt" >>"$work/count.txt"
done
head -c 50000000 "$work/count.txt" | sed '$d' >"$work/count50.txt"

"$korvane" add 0 2 --title "Bench Count" --set countTotal=1 --set countLetter=1 --set countEnWord=1 >/dev/null
"$korvane" add 0 6 --title "Bench Taiwan" --set conversionType=2 >/dev/null

now() { date +%s%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# timed NAME COMMAND...: appends the wall time in ms to $work/NAME.ms
timed() {
    local name=$1 start end
    shift
    start=$(now)
    "$@" >"$work/$name.out" 2>"$work/$name.err"
    end=$(now)
    echo $(( (end - start) / 1000000 )) >>"$work/$name.ms"
}

for ((i = 0; i < runs; i++)); do
    timed count "$korvane" run "Bench Count" --text-file "$work/count50.txt"
    timed ours "$korvane" run "Bench Taiwan" --text-file "$work/simplified.txt"
    if [ $have_opencc = 1 ]; then
        timed opencc opencc -c s2twp.json -i "$work/simplified.txt"
    fi
done

mb() { awk -v b="$(stat -c %s "$1")" 'BEGIN { printf "%.1f", b / 1e6 }'; }
echo "korvane run 'Bench Count' --text-file ($(mb "$work/count50.txt") MB): median $(median <"$work/count.ms") ms; $(cat "$work/count.out")"
ours=$(median <"$work/ours.ms")
if [ $have_opencc = 1 ]; then
    theirs=$(median <"$work/opencc.ms")
    head -c -1 "$work/ours.out" >"$work/ours.txt"
    agreement=$("$build/bench/zhconvert" compare "$work/ours.txt" "$work/opencc.out")
    agreement=${agreement%% *}
    echo "korvane run 'Bench Taiwan' --text-file ($(mb "$work/simplified.txt") MB): median $ours ms; Debian's opencc -c s2twp.json (its own, older data): median $theirs ms; agreement $agreement %"
else
    echo "korvane run 'Bench Taiwan' --text-file ($(mb "$work/simplified.txt") MB): median $ours ms (Debian's opencc not installed)"
fi
echo "(whole processes: korvane opens its store, reads the file, converts, and prints the clipboard text)"
