#!/usr/bin/env bash
# Runs every libFuzzer harness of fuzz/ for SECONDS (default 60) each, one after the other,
# and prints the executions and crashes of each. Builds the harnesses with clang, under
# AddressSanitizer and UndefinedBehaviorSanitizer, in BUILD_DIR (default build-fuzz).
#   bench/fuzz.sh [SECONDS] [BUILD_DIR] [HARNESS...]
# An input that crashes a harness is kept in fuzz/crashes/HARNESS/ and the run of that harness
# goes on until its time is up; commit the inputs with the fix, and the fuzz_HARNESS test
# replays them from then on. What a run learns stays in BUILD_DIR/fuzz/work/HARNESS.
set -euo pipefail
seconds=${1:-60}
source=$(cd "$(dirname "$0")/.." && pwd)
build=${2:-$source/build-fuzz}
shift $(($# < 2 ? $# : 2))

need=()
command -v clang++ >/dev/null || need+=(clang)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libfuzzer-14-dev)
if [ ${#need[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

if [ ! -f "$build/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKORVANE_SANITIZE=ON -DKORVANE_FUZZ=ON >/dev/null
fi
cmake --build "$build" --target fuzzers -j "${JOBS:-$(nproc)}"

# The store and the renamed files live in memory: the harnesses write to them on every run.
scratch=$(mktemp -d /dev/shm/korvane-fuzz-XXXXXX 2>/dev/null || mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:${ASAN_OPTIONS:-}
# Thread-local storage unread, as in make test-sanitize: the leak checker crashes there.
export LSAN_OPTIONS=suppressions=$source/tools/sanitize/lsan.supp:print_suppressions=0:use_tls=0
export UBSAN_OPTIONS=print_stacktrace=1

printf '%-16s %12s %10s %8s\n' harness executions "exec/s" crashes
while read -r name; do
    [ -n "$name" ] || continue
    crashes=$source/fuzz/crashes/$name
    work=$build/fuzz/work/$name
    mkdir -p "$crashes" "$work"
    dict=()
    [ -f "$source/fuzz/$name.dict" ] && dict=(-dict="$source/fuzz/$name.dict")
    kept_before=$(find "$crashes" -type f | wc -l)
    executions=0
    end=$((SECONDS + seconds))
    # libFuzzer stops at the first crash; start it again until the time is up.
    while [ $SECONDS -lt $end ]; do
        log=$scratch/$name.log
        "$build/fuzz/fuzz_$name" -max_total_time=$((end - SECONDS)) -timeout=20 -rss_limit_mb=3072 \
            -print_final_stats=1 -artifact_prefix="$crashes/" "${dict[@]}" \
            "$work" "$source/fuzz/corpus/$name" >"$log" 2>&1 || true
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
        executions=$((executions + ${runs:-0}))
        if grep -q '^==[0-9]*==ERROR\|^SUMMARY\|deadly signal\|property broken\|ALARM' "$log"; then
            cp "$log" "$build/fuzz/$name-$(date +%s).log"
        fi
        # A crash while reading the corpus would only repeat.
        [ -n "${runs:-}" ] || break
    done
    kept=$(( $(find "$crashes" -type f | wc -l) - kept_before ))
    printf '%-16s %12d %10d %8d\n' "$name" "$executions" $((executions / (seconds > 0 ? seconds : 1))) "$kept"
    [ "$kept" -eq 0 ] || echo "  new inputs in $crashes; logs in $build/fuzz/$name-*.log"
done < <(if [ $# -gt 0 ]; then printf '%s\n' "$@"; else cat "$build/fuzz/harnesses.txt"; fi)
