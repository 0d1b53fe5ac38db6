#!/usr/bin/env bash
# Chinese conversion against OpenCC, side by side in one run, rounds interleaved:
#  - whole processes on 10 MiB of text, file to file: 'korvane run ACTION --text-file' against
#    OpenCC 1.4.1 (its Node package, built once from the npm registry's sources into
#    $OPENCC_NODE_DIR, with its own data, one process converting the whole file) and Debian's
#    opencc tool when installed ('opencc -c CONFIG -i -o', its older data); wall time and peak
#    memory (/usr/bin/time -f %M), medians;
#  - the converter in-process (bench/zhconvert), throughput;
#  - agreement with OpenCC 1.4.1 on the same data as Korvane's (third_party/opencc-data) for
#    every configuration, and with Debian's opencc for the three the action offers, on 10 MiB
#    of varied real text from Debian packages, with the first differing lines listed.
#   bench/chinese-conversion.sh [build dir]      RUNS=5 by default; NO_OPENCC_NODE=1 skips 1.4.1
set -euo pipefail
build=${1:-build}
runs=${RUNS:-5}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
korvane=$build/src/korvane
tool=$build/bench/zhconvert
generator=$build/tools/zhtablegen/zhtablegen
[ -x "$korvane" ] && [ -x "$tool" ] && [ -x "$generator" ] || { echo "missing $korvane, $tool or $generator: build first"; exit 1; }
node_dir=${OPENCC_NODE_DIR:-$HOME/.cache/korvane-bench/opencc-1.4.1}
have_debian=0
command -v opencc >/dev/null && have_debian=1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# OpenCC 1.4.1 for Node: the package's native module, compiled from its sources against the
# installed Node's headers (the registry has no prebuilt one of this version for Linux).
have_node=0
if [ -z "${NO_OPENCC_NODE:-}" ] && command -v npm >/dev/null; then
    if [ ! -e "$node_dir/node_modules/opencc/build/Release/opencc.node" ]; then
        echo "building OpenCC 1.4.1 for Node in $node_dir (once)"
        mkdir -p "$node_dir"
        (cd "$node_dir" && { [ -e package.json ] || echo '{"private": true}' >package.json; } &&
            npm install --no-audit --no-fund opencc@1.4.1 >/dev/null 2>&1 &&
            cd node_modules/opencc && npm_config_nodedir=${NODE_DIR:-/usr} node scripts/install.js >/dev/null 2>&1) ||
            echo "could not build OpenCC 1.4.1 for Node: its figures are left out"
    fi
    [ -e "$node_dir/node_modules/opencc/build/Release/opencc.node" ] && have_node=1
fi
# The vendored configurations read as text dictionaries, so that OpenCC 1.4.1 converts with
# exactly Korvane's data.
mkdir -p "$work/cfg"
for f in "$source_dir"/third_party/opencc-data/dictionary/*.txt; do ln -s "$f" "$work/cfg/"; done
for f in "$source_dir"/third_party/opencc-data/config/*.json; do
    sed 's/"ocd2"/"text"/g; s/\.ocd2"/.txt"/g' "$f" >"$work/cfg/$(basename "$f")"
done
cat >"$work/convert.js" <<EOF
// node convert.js CONFIG INPUT OUTPUT: one conversion of the whole file
const OpenCC = require('$node_dir/node_modules/opencc');
const fs = require('fs');
const [config, input, output] = process.argv.slice(2);
fs.writeFileSync(output, new OpenCC(config).convertSync(fs.readFileSync(input, 'utf-8')));
EOF

chains="s2t s2tw s2twp s2hk s2hkp t2s tw2s tw2sp hk2s hk2sp t2tw tw2t t2hk hk2t t2jp jp2t"
args=""
for c in $chains; do args+=" $c=$c.json"; done
# shellcheck disable=SC2086
"$generator" "$source_dir/third_party/opencc-data" "$work/chains" $args

export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config HOME=$work/home LANG=en_US.UTF-8
unset LC_ALL LANGUAGE DISPLAY WAYLAND_DISPLAY

# shellcheck source=bench/zh-corpus.inc
. "$(dirname "$0")/zh-corpus.inc"
make_zh_corpus "$work"
make_zh_varied_corpus "$work" "$tool" "$work/chains/s2t.txt"
"$tool" stream "$work/chains/s2t.txt" "$work/simplified.txt" "$work/traditional.txt" >/dev/null

# table:config:input script:the action's conversionType
tables="TW:s2twp:simplified:2 HK:s2hk:simplified:1 CN:t2s:traditional:0"
for t in $tables; do
    IFS=: read -r table config input type <<<"$t"
    "$korvane" add 0 6 --title "Bench $table" --set conversionType="$type" >/dev/null
done
# Start-up: a one-line text through each table against the character counter, which loads none.
"$korvane" add count-characters --title "Bench count" >/dev/null

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
        if [ $have_node = 1 ]; then
            run "node-$table" /dev/null node "$work/convert.js" "$config.json" "$work/$input.txt" "$work/node-$table.txt"
        fi
        if [ $have_debian = 1 ]; then
            run "debian-$table" /dev/null opencc -c "$config.json" -i "$work/$input.txt" -o "$work/debian-$table.txt"
        fi
        run "inproc-$table" /dev/null "$tool" stream "$table" "$work/$input.txt" "$work/inproc-$table.txt"
        run "line-$table" /dev/null "$korvane" run "Bench $table" --text "海内存知己"
        run "line-count" /dev/null "$korvane" run "Bench count" --text "海内存知己"
    done
done

mib() { awk -v b="$(stat -c %s "$1")" 'BEGIN { printf "%.2f", b / 1048576 }'; }
col() { cut -d' ' -f"$2" "$work/$1" | median; }

# agreement NAME CONFIG INPUT OURS THEIRS: the share of characters that agree, the number of
# differing lines and the first of them.
agreement() {
    local name=$1 config=$2 input=$3 ours=$4 theirs=$5 result percent lines
    result=$("$tool" compare "$ours" "$theirs")
    read -r percent lines <<<"$(head -1 <<<"$result")"
    printf '%-8s %-6s %-32s %9s %%  %s differing lines\n' "$name" "$config" "$(basename "$input")" "$percent" "$lines"
    # The first few differing lines, with what each side made of them.
    sed -n '2,31s/^/    /p' <<<"$result"
}

echo "input: $(mib "$work/simplified.txt") MiB simplified (fortunes-zh), $(mib "$work/traditional.txt") MiB traditional (its s2t); $runs rounds, medians"
echo "(the machine may be shared: figures are approximate, compare within one run)"
echo
echo "Whole processes, file to file: korvane run ACTION --text-file against OpenCC"
printf '%-6s %-6s %-22s %10s %10s %8s\n' table config program seconds "peak MiB" "vs korvane"
for t in $tables; do
    IFS=: read -r table config input type <<<"$t"
    for program in korvane node debian; do
        [ -s "$work/$program-$table" ] || continue
        case $program in
            korvane) label="korvane run" ;;
            node) label="OpenCC 1.4.1 (Node)" ;;
            debian) label="Debian's opencc" ;;
        esac
        awk -v t="$table" -v c="$config" -v l="$label" -v o="$(col "korvane-$table" 1)" -v r="$(col "$program-$table" 1)" \
            -v m="$(col "$program-$table" 2)" 'BEGIN { printf "%-6s %-6s %-22s %10.3f %10.1f %7.1fx\n", t, c, l, r / 1e6, m / 1024, r / o }'
    done
done
echo "(vs korvane: the program's time over korvane's)"
echo
echo "Start-up, a one-line text: korvane run through the table against the character counter (goal: under 30 ms more)"
for t in $tables; do
    IFS=: read -r table config input type <<<"$t"
    awk -v t="$table" -v l="$(col "line-$table" 1)" -v c="$(col line-count 1)" \
        'BEGIN { printf "%-6s %7.1f ms, counter %7.1f ms: %+.1f ms\n", t, l / 1000, c / 1000, (l - c) / 1000 }'
done
echo
echo "The converter in-process (bench/zhconvert: finding and building the table, converting in pieces)"
for t in $tables; do
    IFS=: read -r table config input type <<<"$t"
    awk -v t="$table" -v b="$(stat -c %s "$work/$input.txt")" -v o="$(col "inproc-$table" 1)" -v m="$(col "inproc-$table" 2)" 'BEGIN {
        printf "%-6s %8.1f MiB/s, peak %.1f MiB\n", t, b / 1048576 / (o / 1e6), m / 1024 }'
done
echo
echo "Agreement, share of characters (line by line, longest common subsequence where lines differ);"
echo "1.4.1: OpenCC 1.4.1 with Korvane's data; debian: Debian's opencc with its own"
for t in $tables; do
    IFS=: read -r table config input type <<<"$t"
    # korvane prints the result and a line feed.
    head -c -1 "$work/korvane-$table.out" >"$work/korvane-$table.txt"
    if [ $have_node = 1 ]; then
        node "$work/convert.js" "$work/cfg/$config.json" "$work/$input.txt" "$work/node-same-data-$table.txt"
        agreement "1.4.1" "$config" "$work/$input.txt" "$work/korvane-$table.txt" "$work/node-same-data-$table.txt"
    fi
    if [ $have_debian = 1 ]; then
        agreement "debian" "$config" "$work/$input.txt" "$work/korvane-$table.txt" "$work/debian-$table.txt"
    fi
done
if [ $have_node = 1 ]; then
    for c in $chains; do
        case $c in
            s2*) input=varied-simplified ;;
            jp2t) input=varied-japanese ;;
            *) input=varied-traditional ;;
        esac
        [ $c = jp2t ] && "$tool" stream "$work/chains/t2jp.txt" "$work/varied-traditional.txt" "$work/$input.txt" >/dev/null
        node "$work/convert.js" "$work/cfg/$c.json" "$work/$input.txt" "$work/varied-node-$c.txt"
        "$tool" stream "$work/chains/$c.txt" "$work/$input.txt" "$work/varied-korvane-$c.txt" >/dev/null
        agreement "1.4.1" "$c" "$work/$input.txt" "$work/varied-korvane-$c.txt" "$work/varied-node-$c.txt"
    done
fi
echo "(varied: fortunes-zh, the Debian Reference, manpages-zh and the installed packages' translations, $(mib "$work/varied-simplified.txt") MiB simplified and $(mib "$work/varied-traditional.txt") MiB traditional)"
