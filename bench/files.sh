#!/usr/bin/env bash
# File actions: renaming 10,000 files, and copying a 1 GiB file against cp.
# Both tools flush the copy to the disk (korvane does so itself; cp is followed by
# 'sync FILE'), runs are interleaved and the figures are medians.
set -euo pipefail
build=${1:-build}
korvane=$(realpath "$build/src/korvane")
runs=${RUNS:-5}
work=$(mktemp -d "${BENCH_DIR:-$PWD}/korvane-files-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache

now() { date +%s%N; }
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }
id_of() { "$korvane" "$@" | tail -1; }

mkdir -p "$work/names"
for i in $(seq 0 9999); do : > "$work/names/f$i.txt"; done
rename_p=$(id_of add 1 17 --set needCustomize=1 --set customizeType=1 --set customizeString=p)
rename_q=$(id_of add 1 17 --set needCustomize=1 --set customizeType=1 --set customizeString=q)
: > "$work/rename.ms"
for r in $(seq 1 "$runs"); do
    action=$([ $((r % 2)) -eq 1 ] && echo "$rename_p" || echo "$rename_q")
    mapfile -t files < <(find "$work/names" -type f)
    start=$(now)
    "$korvane" run "$action" "${files[@]}" 2>/dev/null
    echo $(( ($(now) - start) / 1000000 )) >> "$work/rename.ms"
done
[ "$(find "$work/names" -type f | wc -l)" -eq 10000 ] || { echo "rename lost files" >&2; exit 1; }
echo "rename 10,000 files (korvane run, whole process): median $(median < "$work/rename.ms") ms (target < 2000 ms)"

mkdir -p "$work/src" "$work/korvane-out" "$work/cp-out"
head -c 1073741824 /dev/urandom > "$work/src/big.bin"
copy=$(id_of add 1 9 --set "savePath=$work/korvane-out")
: > "$work/korvane.ms"; : > "$work/cp.ms"
for r in $(seq 1 "$runs"); do
    rm -f "$work/korvane-out/big.bin" "$work/cp-out/big.bin"; sync
    start=$(now)
    "$korvane" run "$copy" "$work/src/big.bin" 2>/dev/null
    echo $(( ($(now) - start) / 1000000 )) >> "$work/korvane.ms"
    cmp -s "$work/src/big.bin" "$work/korvane-out/big.bin" || { echo "korvane's copy differs" >&2; exit 1; }
    sync
    start=$(now)
    cp "$work/src/big.bin" "$work/cp-out/big.bin" && sync "$work/cp-out/big.bin"
    echo $(( ($(now) - start) / 1000000 )) >> "$work/cp.ms"
done
k=$(median < "$work/korvane.ms"); c=$(median < "$work/cp.ms")
echo "copy 1 GiB: korvane median $k ms, cp + sync median $c ms, korvane at $(awk -v k="$k" -v c="$c" 'BEGIN {printf "%.0f", 100 * c / k}') % of cp's speed (target >= 90 %)"
