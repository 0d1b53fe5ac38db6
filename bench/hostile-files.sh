#!/usr/bin/env bash
# Memory of korvane on hostile inputs, measured as whole processes (/usr/bin/time -f %M):
#   - four 12,000 x 12,000 PNGs of a few hundred kilobytes each converted to BMP in one batch;
#     the decoded-pixel budget must keep the peak under 1.2 GiB on any number of cores;
#   - a 100 MB text given to the Chinese conversion, which the text limit refuses up front.
#   bench/hostile-files.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
korvane=$build/src/korvane
[ -x "$korvane" ] || { echo "missing $korvane: build first"; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time missing: apt-get install time"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/xdg/data XDG_CONFIG_HOME=$work/xdg/config XDG_CACHE_HOME=$work/xdg/cache
cd "$work"

# A grey 12000x12000 RGB PNG: 432 MB of pixels that compress to almost nothing.
python3 - <<'PY'
import struct, zlib
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff)
side = 12000
packer = zlib.compressobj(9)
row = b"\0" + b"\x80" * (side * 3)
body = b"".join(packer.compress(row) for _ in range(side)) + packer.flush()
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 8, 2, 0, 0, 0)) + chunk(b"IDAT", body) + chunk(b"IEND", b"")
for name in "abcd":
    open(f"bomb-{name}.png", "wb").write(png)
PY

# A 100 MB text of Chinese and ASCII lines.
python3 -c '
import sys
line = ("软件和网络的头发与面条 " * 8 + "plain ascii words\n").encode()
with open("big.txt", "wb") as out:
    for _ in range(100 * 1000 * 1000 // len(line) + 1):
        out.write(line)
'

# peak LABEL LIMIT_MIB COMMAND...: the peak resident size of the command and whether it stayed
# under the limit; the exit status is shown, not judged.
peak() {
    local label=$1 limit=$2
    shift 2
    local status=0
    /usr/bin/time -f %M -o rss "$@" >out.txt 2>err.txt || status=$?
    local kib
    kib=$(tail -1 rss)
    local verdict="under"
    [ "$kib" -lt $((limit * 1024)) ] || verdict="OVER"
    printf '%-44s peak %6d MiB (%s %d MiB), exit %d\n' "$label" $((kib / 1024)) "$verdict" "$limit" "$status"
}

bmp=$("$korvane" add 1 1 --set coverntType=2 | tail -1)
zh=$("$korvane" add 0 6 --set conversionType=2 | tail -1)
echo "cores: $(nproc); bombs: $(stat -c %s bomb-a.png) bytes each; text: $(stat -c %s big.txt) bytes"
peak "4 PNG bombs 12000x12000 to BMP" 1229 "$korvane" run "$bmp" bomb-a.png bomb-b.png bomb-c.png bomb-d.png
ls -l bomb-*.bmp 2>/dev/null | awk '{ printf "  %s %d bytes\n", $NF, $5 }'
peak "100 MB text, Chinese conversion" 300 "$korvane" run "$zh" --text-file big.txt
sed 's/^/  /' err.txt | head -2
