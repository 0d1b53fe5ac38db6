#!/usr/bin/env bash
# Chinese conversion against the opencc tool, side by side in one run, rounds interleaved:
#  - whole processes on 10 MiB of text, file to file: 'korvane run ACTION --text-file' and
#    'opencc -c CONFIG -i -o', wall time and peak memory (/usr/bin/time -f %M), medians;
#  - the converter in-process (bench/zhconvert), throughput;
#  - agreement with opencc per configuration, on that text and on 10 MiB of varied real text
#    from Debian packages, with every differing line listed.
#   bench/chinese-conversion.sh [build dir]      RUNS=5 by default
set -euo pipefail
build=${1:-build}
runs=${RUNS:-5}
korvane=$build/src/korvane
tool=$build/bench/zhconvert
[ -x "$korvane" ] && [ -x "$tool" ] || { echo "missing $korvane or $tool: build first"; exit 1; }
command -v opencc >/dev/null || { echo "opencc missing: run scripts/install-deps.sh"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config HOME=$work/home LANG=en_US.UTF-8
unset LC_ALL LANGUAGE DISPLAY WAYLAND_DISPLAY

# shellcheck source=bench/zh-corpus.inc
. "$(dirname "$0")/zh-corpus.inc"
make_zh_corpus "$work"
make_zh_varied_corpus "$work"
opencc -c s2t.json -i "$work/simplified.txt" -o "$work/traditional.txt"

# table:opencc config:input script:the action's conversionType
tables="TW:s2twp.json:simplified:2 HK:s2hk.json:simplified:1 CN:t2s.json:traditional:0"
for t in $tables; do
    IFS=: read -r table config input type <<<"$t"
    "$korvane" add 0 6 --title "Bench $table" --set conversionType="$type" >/dev/null
done

now() { date +%s%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# run NAME OUTPUT COMMAND...: appends "<microseconds> <peak KiB>" to $work/NAME
run() {
    local name=$1 output=$2 start end
    shift 2
    start=$(now)
    /usr/bin/time -f %M -o "$work/rss" "$@" >"$output" 2>/dev/null
    end=$(now)
    echo "$(( (end - start) / 1000 )) $(tail -1 "$work/rss")" >>"$work/$name"
}

for ((i = 0; i < runs; i++)); do
    for t in $tables; do
        IFS=: read -r table config input type <<<"$t"
        run "korvane-$table" "$work/korvane-$table.out" "$korvane" run "Bench $table" --text-file "$work/$input.txt"
        run "opencc-$table" /dev/null opencc -c "$config" -i "$work/$input.txt" -o "$work/opencc-$table.txt"
        run "inproc-$table" /dev/null "$tool" stream "$table" "$work/$input.txt" "$work/inproc-$table.txt"
    done
done

mib() { awk -v b="$(stat -c %s "$1")" 'BEGIN { printf "%.2f", b / 1048576 }'; }
col() { cut -d' ' -f"$2" "$work/$1" | median; }

# agreement TABLE CONFIG INPUT OURS THEIRS: the share of characters that agree and each
# differing line, with what opencc makes of that line alone: its tool converts a file in blocks
# and may cut a phrase at a block's end.
agreement() {
    local table=$1 config=$2 input=$3 ours=$4 theirs=$5 result line alone percent lines number
    result=$("$tool" compare "$ours" "$theirs")
    read -r percent lines <<<"$(head -1 <<<"$result")"
    printf '%-6s %-12s %-32s %9s %%  %s differing lines\n' "$table" "$config" "$(basename "$input")" "$percent" "$lines"
    tail -n +2 <<<"$result" | while IFS= read -r line; do
        echo "    $line"
        [[ $line =~ ^line\ ([0-9]+)$ ]] && number=${BASH_REMATCH[1]}
        if [[ $line =~ ^\ +opencc: ]]; then
            alone=$(sed -n "${number}p" "$input" | opencc -c "$config")
            if [ "$alone" = "$(sed -n "${number}p" "$ours")" ]; then
                echo "        (opencc on this line alone gives ours)"
            fi
        fi
    done
}

echo "input: $(mib "$work/simplified.txt") MiB simplified (fortunes-zh), $(mib "$work/traditional.txt") MiB traditional (its s2t); $runs rounds, medians"
echo
echo "Whole processes, file to file: korvane run ACTION --text-file against opencc -c CONFIG -i -o"
printf '%-6s %-12s %12s %12s %8s %12s %12s %8s\n' table config "korvane MiB/s" "opencc MiB/s" speed "korvane peak" "opencc peak" memory
for t in $tables; do
    IFS=: read -r table config input type <<<"$t"
    awk -v t="$table" -v c="$config" -v b="$(stat -c %s "$work/$input.txt")" \
        -v o="$(col "korvane-$table" 1)" -v r="$(col "opencc-$table" 1)" -v om="$(col "korvane-$table" 2)" -v rm="$(col "opencc-$table" 2)" 'BEGIN {
        printf "%-6s %-12s %12.1f %12.1f %7.1fx %8.1f MiB %8.1f MiB %7.2fx\n", t, c, b / 1048576 / (o / 1e6), b / 1048576 / (r / 1e6), r / o, om / 1024, rm / 1024, om / rm }'
done
echo "(speed: opencc's time over korvane's; memory: korvane's peak over opencc's)"
echo
echo "The converter in-process (bench/zhconvert: finding and building the table, converting in pieces)"
for t in $tables; do
    IFS=: read -r table config input type <<<"$t"
    awk -v t="$table" -v b="$(stat -c %s "$work/$input.txt")" -v o="$(col "inproc-$table" 1)" -v m="$(col "inproc-$table" 2)" 'BEGIN {
        printf "%-6s %8.1f MiB/s, peak %.1f MiB\n", t, b / 1048576 / (o / 1e6), m / 1024 }'
done
echo
echo "Agreement with opencc, share of characters (line by line, longest common subsequence where lines differ)"
for t in $tables; do
    IFS=: read -r table config input type <<<"$t"
    # korvane prints the result and a line feed.
    head -c -1 "$work/korvane-$table.out" >"$work/korvane-$table.txt"
    agreement "$table" "$config" "$work/$input.txt" "$work/korvane-$table.txt" "$work/opencc-$table.txt"
    opencc -c "$config" -i "$work/varied-$input.txt" -o "$work/varied-opencc-$table.txt"
    "$tool" stream "$table" "$work/varied-$input.txt" "$work/varied-korvane-$table.txt" >/dev/null
    agreement "$table" "$config" "$work/varied-$input.txt" "$work/varied-korvane-$table.txt" "$work/varied-opencc-$table.txt"
done
echo "(varied: fortunes-zh, the Debian Reference, manpages-zh and the installed packages' translations, $(mib "$work/varied-simplified.txt") MiB simplified and $(mib "$work/varied-traditional.txt") MiB traditional)"
