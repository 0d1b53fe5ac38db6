#!/usr/bin/env bash
# The desktop matrix: Korvane on each desktop this machine can start headless, as a user meets
# it, one table row per desktop. Each desktop is the real compositor its test starts (a headless
# Sway; Weston with a stand-in portal, the focus-only clipboard of GNOME's kind); a column says
# "yes" when its step worked, "no" when it did not, and "-" when the desktop has no such step.
# Desktops the machine cannot start are listed with what they need.
set -uo pipefail
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Which test functions passed, from a desktop test's verbose output.
run_test() {
    (cd "$build" && ctest -R "^$1\$" -V --timeout 300) >"$work/$1.log" 2>&1
}
passed() { grep -q "PASS   : .*::$2(" "$work/$1.log" && echo yes || echo no; }

version() { "$@" 2>/dev/null | head -n1 | grep -o '[0-9][0-9.]*' | head -n1; }

printf '%-40s | %-18s | %-10s | %-8s | %-11s | %-6s | %s\n' \
    desktop "key bound" "wake list" "Alt+1" "drop window" floats notices
row() { printf '%-40s | %-18s | %-10s | %-8s | %-11s | %-6s | %s\n' "$@"; }

if command -v sway >/dev/null && run_test tst_swaydesktop; then :; fi
if [ -f "$work/tst_swaydesktop.log" ]; then
    wake=$(passed tst_swaydesktop wakeListReadsTheClipboard)
    drops=$(passed tst_swaydesktop dropWindowTakesEveryDrop)
    floats=$([ "$wake" = yes ] && [ "$drops" = yes ] && echo yes || echo no)
    row "Sway $(version sway --version)" "bindsym (user's)" "$wake" "$wake" "$drops" "$floats" "-"
else
    row "Sway" "not run: apt-get install sway wtype grim" "" "" "" "" ""
fi

run_test tst_waylanddesktop
bound=$(passed tst_waylanddesktop bindsEveryHotkeyThroughThePortal)
action=$(passed tst_waylanddesktop activatedRunsTheAction)
told=$(passed tst_waylanddesktop generalTabShowsTheBinding)
row "Weston $(version weston --version) + portal" "$bound (stand-in)" "$action" "-" "-" "-" "$told"

if command -v gnome-shell >/dev/null; then
    "$(dirname "$0")/gnome-wayland.sh" "$build" >"$work/gnome.log" 2>&1
    said() { grep -q "$1" "$work/gnome.log" && echo yes || echo no; }
    row "$(head -n1 "$work/gnome.log")" "custom (user's)" "$(said 'shows [1-9]')" "$(said 'first row ran')" "-" "-" "-"
else
    row "GNOME (gnome-shell --headless)" "not run: apt-get install gnome-shell gjs" "" "" "" "" ""
fi
# GNOME and Plasma from Debian chroots, which only root can enter: GNOME 48 and Plasma 6.3 from
# Debian 13 (KORVANE_CHROOT), GNOME 50 and Plasma 6.7 from Debian testing
# (KORVANE_TESTING_CHROOT). What each step gave goes to stderr, the screenshots and logs to
# KORVANE_SCREENSHOT_DIR. Without root or the chroot the script says on stderr how to make it,
# and exits with 2.
chroot_rows() { # LABEL CHROOT SUITE
    KORVANE_CHROOT=$2 KORVANE_SUITE=$3 "$(dirname "$0")/chroot-desktops.sh" "$build"
    [ $? -eq 2 ] && row "$1" "not run: needs root and the chroot (above: how to make it)" "" "" "" "" ""
}
chroot_rows "GNOME 48, Plasma 6.3 (Debian 13 chroot)" "${KORVANE_CHROOT:-/work/chroots/trixie-desktop}" trixie
chroot_rows "GNOME 50, Plasma 6.7 (testing chroot)" "${KORVANE_TESTING_CHROOT:-/work/chroots/testing-desktop}" testing
echo "logs: the tests' verbose output is in each test's ctest log (ctest -R NAME -V)"
