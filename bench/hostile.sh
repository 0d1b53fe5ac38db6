#!/usr/bin/env bash
# Hostile input: whole `korvane run` processes fed answers, files and images made to hurt,
# each measured for peak resident memory (/usr/bin/time %M) and wall time. A round passes
# when korvane fails cleanly (exit 1, the limit named on standard error) within its bounds.
# Rounds are functions named round_*; each prints one line.
set -euo pipefail
build=${1:-build}
korvane=$(realpath "$build/src/korvane")
hostile=$(realpath "$build/bench/hostileanswers")
work=$(mktemp -d "${BENCH_DIR:-$PWD}/korvane-hostile-bench.XXXXXX")
server_pid=
stop_server() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null || true
    server_pid=
}
cleanup() {
    stop_server
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache
mkdir -p "$XDG_CONFIG_HOME/korvane"
printf 'x%.0s' $(seq 1 1000) > "$work/upload.txt"

# Starts the hostile server with PLAY [INTERVAL_MS] and points the OSS endpoint at it.
serve() {
    stop_server
    "$hostile" "$@" > "$work/server.port" &
    server_pid=$!
    for _ in $(seq 1 50); do [ -s "$work/server.port" ] && break; sleep 0.1; done
    printf '[hosts]\nossEndpoint=http://127.0.0.1:%s\n[network]\nanswerTimeout=%s\ntransferTimeout=%s\n' \
        "$(head -1 "$work/server.port")" "${ANSWER_TIMEOUT:-60000}" "${TRANSFER_TIMEOUT:-3000}" \
        > "$XDG_CONFIG_HOME/korvane/korvane.conf"
}

oss_action() {
    "$korvane" add 1 13 --set aliAccessKey=bench-access --set aliSecretKey=bench-secret \
        --set aliSpaceName=box --set aliDomain=https://box.example | tail -1
}

# NAME LIMIT_TEXT: one upload against the running server; prints peak memory and wall time.
measure_upload() {
    local name=$1 limit=$2 status=0
    /usr/bin/time -f '%M %e' -o "$work/time" "$korvane" run "$(oss_action)" "$work/upload.txt" --json \
        > "$work/out" 2> "$work/err" || status=$?
    read -r rss wall < <(tail -1 "$work/time")
    local verdict=ok
    [ "$status" -eq 1 ] && grep -q "$limit" "$work/err" || verdict="FAILED (exit $status: $(tail -1 "$work/err"))"
    awk -v n="$name" -v r="$rss" -v w="$wall" -v v="$verdict" \
        'BEGIN { printf "%s: peak RSS %.1f MB, wall %.2f s (bounds: 100 MB, 10 s): %s\n", n, r * 1024 / 1e6, w, v }'
}

round_endless_chunks() {
    serve endlesschunks
    measure_upload "network: an upload answered by endless chunks" "over the limit of 1048576 bytes"
}

round_negative_chunks() {
    serve negativechunks
    measure_upload "network: an upload answered by negative chunk sizes" "not a hexadecimal number"
}

round_huge_chunk() {
    serve hugechunk
    measure_upload "network: an upload answered by a chunk of 2^63-1 bytes, then silence" "over the limit of"
}

round_drip() {
    ANSWER_TIMEOUT=5000 serve drip 2000
    measure_upload "network: an upload answered one byte every 2 s (answer timeout 5 s)" "within 5000 ms"
}

for round in $(declare -F | awk '$3 ~ /^round_/ { print $3 }'); do
    "$round"
done
