#!/usr/bin/env bash
# Offline text recognition: error rates on rendered text, and a batch of ten screenshots in one
# process against the tesseract command once per file.
#   bench/ocr.sh BUILD_DIR [ROUNDS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
rounds=${2:-5}

if ! command -v tesseract >/dev/null; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends tesseract-ocr >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache
export QT_QPA_PLATFORM=offscreen
"$build/bench/ocrbench" "$build/src/korvane" "$rounds"
