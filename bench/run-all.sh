#!/usr/bin/env bash
# Runs every benchmark with data folders of its own and prints their figures.
set -euo pipefail
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache
for bench in "$build"/bench/bench_*; do
    [ -f "$bench" ] && [ -x "$bench" ] || continue
    echo "== $(basename "$bench")"
    "$bench"
done
for script in "$(dirname "$0")"/*.sh; do
    # fuzz.sh takes minutes per harness and a clang build of its own, debian13.sh a chroot and
    # a build of its own; they are run on their own. desktops.sh runs chroot-desktops.sh.
    case "$(basename "$script")" in run-all.sh | fuzz.sh | debian13.sh | chroot-desktops.sh) continue ;; esac
    echo "== $(basename "$script")"
    "$script" "$build"
done
