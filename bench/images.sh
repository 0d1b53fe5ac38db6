#!/usr/bin/env bash
# The image actions on a 24-megapixel photo against the tools a user would reach for, side by
# side and interleaved in one run; medians of wall time and peak memory.
#   bench/images.sh BUILD_DIR [ROUNDS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
rounds=${2:-5}
korvane=$build/src/korvane

need=()
command -v vipsthumbnail >/dev/null || need+=(libvips-tools)
command -v exiftool >/dev/null || need+=(libimage-exiftool-perl)
command -v jpegtran >/dev/null || need+=(libjpeg-turbo-progs)
# Call ImageMagick by its full path: a stand-in of the same name may come first in PATH.
[ -x /usr/bin/convert ] || need+=(imagemagick)
[ -x /usr/bin/time ] || need+=(time)
if [ ${#need[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/xdg/data XDG_CONFIG_HOME=$work/xdg/config XDG_CACHE_HOME=$work/xdg/cache
cd "$work"

# A photo-like 6000x4000 JPEG: smooth gradients under camera-like noise, with orientation and
# camera metadata.
vips xyz xy.v 6000 4000
vips extract_band xy.v x.v 0
vips extract_band xy.v y.v 1
vips linear x.v r.v 0.04 10
vips linear y.v g.v 0.06 5
vips add x.v y.v s.v
vips linear s.v b.v 0.02 40
vips bandjoin "r.v g.v b.v" rgb.v
vips gaussnoise n.v 6000 4000 --sigma 12
vips bandjoin "n.v n.v n.v" nnn.v
vips add rgb.v nnn.v noisy.v
vips cast noisy.v photo.v uchar
vips jpegsave photo.v photo.jpg --Q 92
vips pngsave photo.v photo.png --compression 6 --strip
vips webpsave photo.v photo.webp --Q 90 --strip
rm -f ./*.v
for f in photo.jpg photo.png photo.webp; do
    exiftool -m -q -overwrite_original -Orientation#=6 -Artist="Bench Camera" -Model="Bench" "$f"
done
# Batches of 50 for each format, as links: every tool only reads them.
mkdir batch batch-png batch-webp
for i in $(seq 1 50); do
    cp photo.jpg "batch/p$i.jpg"
    ln photo.png "batch-png/p$i.png"
    ln photo.webp "batch-webp/p$i.webp"
done

add() { "$korvane" add "$@" | tail -1; }
resize=$(add 1 2 --set resizeType=0 --set targetPixels=1024 --set savePath="$work/out")
rotate=$(add 1 16 --set rotateType=0 --set savePath="$work/out")
strip=$(add 1 4 --set savePath="$work/out")
compress=$(add 1 0 --set compressionRatio=0.75 --set savePath="$work/out")

# measure NAME COMMAND...: one timed run, appended to NAME's list as "seconds kilobytes".
measure() {
    local name=$1
    shift
    rm -rf out && mkdir out
    local t0 t1
    # Wall time from the clock in nanoseconds (time's own has only centiseconds), peak memory
    # from time.
    t0=$(date +%s%N)
    /usr/bin/time -f "%M" -o t.txt "$@" >/dev/null 2>&1
    t1=$(date +%s%N)
    echo "$(awk -v d=$((t1 - t0)) 'BEGIN {printf "%.4f", d / 1e9}') $(cat t.txt)" >>"times.$name"
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
report() {
    local name=$1
    printf '%-34s %7.3f s  %6.1f MiB\n' "$name" "$(cut -d' ' -f1 "times.$name" | median)" \
        "$(cut -d' ' -f2 "times.$name" | median | awk '{print $1/1024}')"
}
ratio() {
    local a b
    a=$(cut -d' ' -f"$3" "times.$1" | median)
    b=$(cut -d' ' -f"$3" "times.$2" | median)
    awk -v a="$a" -v b="$b" -v what="$4" -v n1="$1" -v n2="$2" 'BEGIN {printf "  %s: %s / %s = %.2f\n", what, n1, n2, a/b}'
}

for _ in $(seq 1 "$rounds"); do
    measure korvane-resize "$korvane" run "$resize" photo.jpg
    measure vipsthumbnail vipsthumbnail photo.jpg -s 1024 -o "$work/out/%s.jpg[Q=90]"
    measure convert-resize /usr/bin/convert photo.jpg -auto-orient -resize 1024x1024 -quality 90 out/x.jpg
    for ext in jpg png webp; do
        measure "korvane-rotate-$ext" "$korvane" run "$rotate" "photo.$ext"
        measure "exiftool-rotate-$ext" exiftool -m -q -Orientation#=3 -o "out/x.$ext" "photo.$ext"
        measure "korvane-strip-$ext" "$korvane" run "$strip" "photo.$ext"
        measure "exiftool-strip-$ext" exiftool -m -q -all= -o "out/x.$ext" "photo.$ext"
    done
    measure jpegtran-rotate jpegtran -rotate 90 -copy none -outfile out/x.jpg photo.jpg
    measure jpegtran-strip jpegtran -copy none -outfile out/x.jpg photo.jpg
    measure korvane-compress "$korvane" run "$compress" photo.jpg
    measure vips-jpegsave vips jpegsave photo.jpg out/x.jpg --Q 75
    measure cjpeg sh -c 'djpeg photo.jpg | cjpeg -quality 75 -outfile out/x.jpg'
done
# The serial baseline is the same batch on one thread: our pool and libvips' own workers.
for _ in $(seq 1 3); do
    measure korvane-batch50 "$korvane" run "$resize" batch/*.jpg
    measure korvane-batch50-serial env KORVANE_THREADS=1 VIPS_CONCURRENCY=1 "$korvane" run "$resize" batch/*.jpg
    for dir in batch:jpg batch-png:png batch-webp:webp; do
        ext=${dir#*:}
        dir=${dir%:*}
        measure "korvane-rotate50-$ext" "$korvane" run "$rotate" "$dir"/*."$ext"
        measure "exiftool-rotate50-$ext" exiftool -m -q -Orientation#=3 -o out/ "$dir"/*."$ext"
        measure "korvane-strip50-$ext" "$korvane" run "$strip" "$dir"/*."$ext"
        measure "exiftool-strip50-$ext" exiftool -m -q -all= -o out/ "$dir"/*."$ext"
    done
done

# The turned and stripped copies must hold the source's compressed image byte for byte.
rm -rf out && mkdir out
"$korvane" run "$rotate" photo.jpg >/dev/null 2>&1
"$korvane" run "$strip" photo.jpg >/dev/null 2>&1
python3 - photo.jpg out/photo.jpg out/photo1.jpg <<'EOF'
import struct, sys
def scan(path):
    data = open(path, 'rb').read()
    at = 2
    while data[at] == 0xff and data[at + 1] != 0xda:
        at += 2 + struct.unpack('>H', data[at + 2:at + 4])[0]
    return data[at:]
source = scan(sys.argv[1])
for path in sys.argv[2:]:
    print('  compressed data of %s %s' % (path, 'unchanged' if scan(path) == source else 'CHANGED'))
EOF

echo "24-megapixel JPEG ($(du -k photo.jpg | cut -f1) KiB), medians of $rounds rounds (batches: 3)"
echo "nproc $(nproc), load average $(cut -d' ' -f1-3 /proc/loadavg) at the end (the machine is shared)"
echo "PNG $(du -k photo.png | cut -f1) KiB, WebP $(du -k photo.webp | cut -f1) KiB, of the same picture"
metadata=()
for ext in jpg png webp; do
    for job in rotate strip rotate50 strip50; do
        metadata+=("korvane-$job-$ext" "exiftool-$job-$ext")
    done
done
for name in korvane-resize vipsthumbnail convert-resize korvane-batch50 korvane-batch50-serial \
    "${metadata[@]}" jpegtran-rotate jpegtran-strip korvane-compress vips-jpegsave cjpeg; do
    report "$name"
done
ratio korvane-resize vipsthumbnail 1 "resize time (goal <= 1.0)"
ratio korvane-resize vipsthumbnail 2 "resize memory (goal <= 1.5)"
ratio korvane-resize convert-resize 1 "resize time vs convert"
ratio korvane-batch50 korvane-batch50-serial 1 "50-photo batch, both cores vs one (goal < 0.6)"
for ext in jpg png webp; do
    for job in rotate strip rotate50 strip50; do
        ratio "korvane-$job-$ext" "exiftool-$job-$ext" 1 "$job $ext time vs exiftool (goal <= 0.3, aim 0.1)"
    done
done
for ext in jpg png webp; do
    for job in rotate strip rotate50 strip50; do
        printf '  %s %s peak memory: %.1f MiB (goal <= 16)\n' "$job" "$ext" \
            "$(cut -d' ' -f2 "times.korvane-$job-$ext" | median | awk '{print $1/1024}')"
    done
done
ratio korvane-rotate-jpg jpegtran-rotate 1 "rotate time vs jpegtran -copy none (goal < 1)"
ratio korvane-strip-jpg jpegtran-strip 1 "strip time vs jpegtran -copy none (goal < 1)"
ratio korvane-compress vips-jpegsave 1 "compress time vs vips jpegsave"
ratio korvane-compress cjpeg 1 "compress time vs djpeg | cjpeg"
