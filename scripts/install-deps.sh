#!/usr/bin/env bash
# Installs what building, running and testing Korvane needs on Debian 12.
# Idempotent and quiet: packages already present are not touched.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    libqt6sql6-sqlite qt6-svg-dev libgl-dev qt6-multimedia-dev
    dbus dbus-x11 xvfb xdotool xclip trayer x11-utils xdg-utils qt6-gtk-platformtheme
    weston qt6-wayland wl-clipboard libwayland-dev sway wtype grim
    opencc libopencc-data
    libvips-dev libexiv2-dev
    libtesseract-dev tesseract-ocr-eng tesseract-ocr-chi-sim fonts-wqy-microhei
    zlib1g-dev libbrotli-dev openssl
    libxcb1-dev libxcb-xtest0-dev libxcb-xfixes0-dev libxkbcommon-dev libxkbcommon-x11-dev
    desktop-file-utils appstream dpkg-dev file help2man cmark-gfm
    curl time python3 python3-gi gir1.2-gtk-3.0 sqlite3 at-spi2-core python3-pyatspi
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
