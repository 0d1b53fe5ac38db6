#!/usr/bin/env bash
# Uploads: korvane's Qiniu action against curl sending the same multipart form (token, key,
# file) to one local sink that reads every body and throws it away. Files of 10 MiB,
# 100 MiB and 1 GiB, runs interleaved, medians of the wall time of each whole process;
# korvane's peak resident memory (the largest of its runs); and one batch of 200 small
# files, which must all be counted in one result. An empty file shows each tool's fixed
# cost per run (start-up, and for korvane its store and settings), which weighs on the
# smaller files.
set -euo pipefail
build=${1:-build}
korvane=$(realpath "$build/src/korvane")
sink=$(realpath "$build/bench/uploadsink")
runs=${RUNS:-3}
work=$(mktemp -d "${BENCH_DIR:-$PWD}/korvane-uploads-bench.XXXXXX")
sink_pid=
cleanup() {
    [ -n "$sink_pid" ] && kill "$sink_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache

now() { date +%s%N; }
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }

"$sink" > "$work/sink.port" &
sink_pid=$!
for _ in $(seq 1 50); do [ -s "$work/sink.port" ] && break; sleep 0.1; done
port=$(head -1 "$work/sink.port")
mkdir -p "$XDG_CONFIG_HOME/korvane"
printf '[hosts]\nqiniuUpload=http://127.0.0.1:%s\n' "$port" > "$XDG_CONFIG_HOME/korvane/korvane.conf"
id=$("$korvane" add 1 12 --set qiniuAccessKey=bench-access --set qiniuSecretKey=bench-secret \
     --set qiniuSpaceName=bench --set qiniuDomain=http://files.example | tail -1)

# korvane sends a fresh token per file; curl gets one of the same form and length.
token="bench-access:$(head -c 20 /dev/urandom | base64 | tr '+/' '-_'):$(printf '{"scope":"bench","deadline":%s}' "$(date +%s)" | base64 -w0)"

# Besides the wall time, the CPU time each process used: on a busy machine it shows the work
# done per byte, whatever the scheduler made of it.
upload_korvane() {  # FILE -> ms; peak RSS in KiB into $work/rss, CPU ms into $work/cpu
    local start out
    start=$(now)
    out=$(/usr/bin/time -f '%M %U %S' -o "$work/time" "$korvane" run "$id" "$1" --json)
    local ms=$(( ($(now) - start) / 1000000 ))
    grep -q '"success": true' <<< "$out" || { echo "korvane's upload failed: $out" >&2; exit 1; }
    awk '{print $1 > "'"$work/rss"'"; printf "%d\n", ($2 + $3) * 1000 > "'"$work/cpu"'"}' "$work/time"
    echo "$ms"
}

upload_curl() {  # FILE -> ms; CPU ms into $work/cpu
    local start out
    start=$(now)
    out=$(/usr/bin/time -f '%U %S' -o "$work/time" curl -sS --fail -F "token=$token" -F "key=$(basename "$1")" -F "file=@$1" "http://127.0.0.1:$port/")
    local ms=$(( ($(now) - start) / 1000000 ))
    grep -q '"url"' <<< "$out" || { echo "curl's upload failed: $out" >&2; exit 1; }
    awk '{printf "%d\n", ($1 + $2) * 1000 > "'"$work/cpu"'"}' "$work/time"
    echo "$ms"
}

# The cost of a run that moves (almost) nothing: process start, store and settings, one
# request; what is left of a larger run is the transfer itself.
empty=$work/empty.bin
: > "$empty"
: > "$work/k0.ms"; : > "$work/c0.ms"
for r in $(seq 1 "$runs"); do
    upload_korvane "$empty" >> "$work/k0.ms"
    upload_curl "$empty" >> "$work/c0.ms"
done
k0=$(median < "$work/k0.ms"); c0=$(median < "$work/c0.ms")
echo "upload an empty file (fixed cost): korvane median $k0 ms, curl median $c0 ms"

for mib in 10 100 1024; do
    file=$work/upload-$mib.bin
    head -c $((mib * 1048576)) /dev/urandom > "$file"
    : > "$work/k.ms"; : > "$work/c.ms"; : > "$work/k.rss"; : > "$work/k.cpu"; : > "$work/c.cpu"
    for r in $(seq 1 "$runs"); do
        if [ $((r % 2)) -eq 1 ]; then
            upload_korvane "$file" >> "$work/k.ms"; cat "$work/rss" >> "$work/k.rss"; cat "$work/cpu" >> "$work/k.cpu"
            upload_curl "$file" >> "$work/c.ms"; cat "$work/cpu" >> "$work/c.cpu"
        else
            upload_curl "$file" >> "$work/c.ms"; cat "$work/cpu" >> "$work/c.cpu"
            upload_korvane "$file" >> "$work/k.ms"; cat "$work/rss" >> "$work/k.rss"; cat "$work/cpu" >> "$work/k.cpu"
        fi
    done
    k=$(median < "$work/k.ms"); c=$(median < "$work/c.ms")
    kc=$(median < "$work/k.cpu"); cc=$(median < "$work/c.cpu")
    rss=$(sort -n "$work/k.rss" | tail -1)
    awk -v mib="$mib" -v k="$k" -v c="$c" -v kc="$kc" -v cc="$cc" -v rss="$rss" 'BEGIN {
        printf "upload %d MiB: korvane median %d ms (%.0f MiB/s), curl median %d ms (%.0f MiB/s), korvane at %.0f %% of curl (target >= 90 %%); CPU time korvane %d ms, curl %d ms; korvane peak RSS %.1f MB (target < 100 MB)\n",
               mib, k, mib * 1000 / k, c, mib * 1000 / c, 100 * c / k, kc, cc, rss * 1024 / 1e6 }'
    rm -f "$file"
done

mkdir -p "$work/small"
for i in $(seq 1 200); do head -c 2048 /dev/urandom > "$work/small/s$i.bin"; done
: > "$work/b.ms"
for r in $(seq 1 "$runs"); do
    start=$(now)
    out=$("$korvane" run "$id" "$work"/small/*.bin --json)
    echo $(( ($(now) - start) / 1000000 )) >> "$work/b.ms"
    grep -q '"success": true' <<< "$out" && grep -q '"error": null' <<< "$out" \
        || { echo "the batch of 200 failed: $out" >&2; exit 1; }
    links=$(python3 -c 'import json,sys; print(len(json.load(sys.stdin)["pasteboard"]["text"].split("\n")))' <<< "$out")
    [ "$links" -eq 200 ] || { echo "the batch of 200 gave $links links" >&2; exit 1; }
done
echo "upload 200 small files in one batch: all 200 counted in one result, median $(median < "$work/b.ms") ms (target < 5000 ms)"
