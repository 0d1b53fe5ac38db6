#!/usr/bin/env bash
# Installs what building, running and testing Korvane needs on Debian 12 and 13.
# Idempotent and quiet: packages already present are not touched.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    libqt6sql6-sqlite qt6-svg-dev libgl-dev qt6-multimedia-dev
    dbus dbus-x11 xvfb xdotool xclip trayer x11-utils xdg-utils qt6-gtk-platformtheme
    weston qt6-wayland wl-clipboard libwayland-dev sway wtype grim
    libvips-dev libjpeg-dev libexiv2-dev
    libtesseract-dev tesseract-ocr-eng tesseract-ocr-chi-sim fonts-wqy-microhei
    zlib1g-dev libbrotli-dev openssl
    libxcb1-dev libxcb-xtest0-dev libxcb-xfixes0-dev libxkbcommon-dev libxkbcommon-x11-dev
    desktop-file-utils appstream dpkg-dev file help2man man-db cmark-gfm locales
    curl time python3 python3-gi gir1.2-gtk-3.0 sqlite3 at-spi2-core python3-pyatspi
)

# Debian 13 moved Qt's SVG image and icon plug-ins out of libqt6svg6; without them the tray
# icon is empty. A testing or unknown release gets the newest list.
release=13
if [ -r /etc/os-release ]; then
    . /etc/os-release
    if [ "${VERSION_ID:-}" = 12 ] || [ "${VERSION_CODENAME:-}" = bookworm ]; then
        release=12
    fi
fi
if [ "$release" = 13 ]; then
    packages+=(qt6-svg-plugins)
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The tests run in English and Chinese locales; C.UTF-8 is built into the C library.
locales=()
for l in en_US.UTF-8 zh_CN.UTF-8 de_DE.UTF-8; do
    if ! locale -a | grep -qix "${l/UTF-8/utf8}"; then
        locales+=("$l")
    fi
done
if [ ${#locales[@]} -gt 0 ]; then
    echo "Generating locales: ${locales[*]}"
    for l in "${locales[@]}"; do
        $sudo sed -i "s/^# *\($l UTF-8\)/\1/" /etc/locale.gen
    done
    $sudo locale-gen >/dev/null
fi
