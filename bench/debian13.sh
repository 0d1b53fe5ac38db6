#!/usr/bin/env bash
# Builds Korvane and runs 'make test' in a Debian 13 chroot, made with debootstrap on the first
# run and used again after that, and prints how many tests passed and failed there. The work
# tree is mounted at its own path inside, and builds in build-trixie, so the host's build
# folder stays the host's. Needs root. Not part of 'make test': it takes most of an hour.
#   KORVANE_CHROOT  the chroot's folder (/work/chroots/trixie)
#   DEBIAN_MIRROR   where debootstrap and apt-get take packages from
#   JOBS            parallel compile jobs (2)
set -euo pipefail
root=${KORVANE_CHROOT:-/work/chroots/trixie}
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
tree=$(cd "$(dirname "$0")/.." && pwd)
ccache_dir=$(dirname "$tree")/.ccache-trixie
log=$tree/build-trixie/debian13.log

if [ "$(id -u)" -ne 0 ]; then
    echo "debian13.sh: debootstrap and chroot need root" >&2
    exit 2
fi
if [ ! -x "$root/usr/bin/apt-get" ]; then
    debootstrap --variant=minbase trixie "$root" "$mirror"
fi

# Mounted here are unmounted on the way out; mounts left by another run are left alone.
mounted=()
cleanup() {
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount -R "${mounted[i]}" || echo "debian13.sh: cannot unmount ${mounted[i]}" >&2
    done
}
trap cleanup EXIT
attach() { # SOURCE TARGET MOUNT-OPTIONS...
    mkdir -p "$2"
    if ! mountpoint -q "$2"; then
        mount "${@:3}" "$1" "$2"
        mounted+=("$2")
    fi
}
mkdir -p "$ccache_dir" "$(dirname "$log")"
attach proc "$root/proc" -t proc
attach sysfs "$root/sys" -t sysfs
attach /dev "$root/dev" --rbind --make-rslave
attach "$tree" "$root$tree" --bind
attach "$ccache_dir" "$root$ccache_dir" --bind
cp /etc/resolv.conf "$root/etc/resolv.conf"

# The command line that runs a shell command in the chroot, with a clean environment.
in_chroot() {
    command=(chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root TERM=dumb
        JOBS="${JOBS:-2}" CCACHE_DIR="$ccache_dir" CMAKE_CXX_COMPILER_LAUNCHER=ccache
        bash -c "set -e; cd '$tree'; $1")
}
set +e
# make installs what is missing (scripts/install-deps.sh) and builds, with the network.
in_chroot 'if ! command -v make >/dev/null || ! command -v ccache >/dev/null; then
        apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq make ccache >/dev/null
    fi
    make build BUILD_DIR=build-trixie JOBS="$JOBS"'
"${command[@]}" >"$log" 2>&1
status=$?
# The tests get a network of their own, loopback only: abstract sockets, X servers' among
# them, belong to a network, not to a file system, so the host's X servers would take the
# display numbers that the chroot's Xvfb finds free.
if [ "$status" -eq 0 ]; then
    in_chroot 'make test BUILD_DIR=build-trixie JOBS="$JOBS"'
    unshare --net sh -c 'ip link set lo up && exec "$@"' sh "${command[@]}" >>"$log" 2>&1
    status=$?
fi
set -e

summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
if [ -z "$summary" ]; then
    tail -n 30 "$log"
    echo "debian13.sh: the build or the test run stopped (exit $status) before ctest's summary; see $log" >&2
    exit 1
fi
failed=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+)/\1/' <<<"$summary")
total=$(sed -E 's/.* out of ([0-9]+)/\1/' <<<"$summary")
sed -n '/The following tests FAILED/,$p' "$log"
echo "debian13: $((total - failed)) passed, $failed failed"
exit "$status"
