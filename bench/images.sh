#!/usr/bin/env bash
# The image actions on a 24-megapixel photo against the tools a user would reach for, side by
# side and interleaved in one run; medians of wall time and peak memory.
#   bench/images.sh BUILD_DIR [ROUNDS] [BATCH_ROUNDS]
# With the defaults it takes about twenty minutes on two shared cores, most of it
# exiftool's batches of PNG photos.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
rounds=${2:-5}
batch_rounds=${3:-3}
korvane=$build/src/korvane

need=()
command -v vipsthumbnail >/dev/null || need+=(libvips-tools)
command -v exiftool >/dev/null || need+=(libimage-exiftool-perl)
command -v webpmux >/dev/null || need+=(webp)
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
# What the other tools write for the same edits. exiftool before 12.58 cannot write WebP ("Can't
# write RIFF files"), Debian 12's included: a current one is then taken from the npm registry,
# where ExifTool's Perl distribution is published whole, and libwebp's webpmux stands in only
# when that cannot be had, with the same one-entry EXIF block a rotation writes.
printf 'MM\0*\0\0\0\10\0\1\1\22\0\3\0\0\0\1\0\3\0\0\0\0\0\0' >orientation.exif
webp_tool=exiftool
webp_exiftool=exiftool
if ! exiftool -m -q -Orientation#=3 -o probe.webp photo.webp 2>/dev/null; then
    webp_tool=webpmux
    npm_exiftool=$work/exiftool/package/bin/exiftool
    if command -v npm >/dev/null; then
        (mkdir -p "$work/exiftool" && cd "$work/exiftool" &&
            timeout 120 npm pack --silent exiftool-vendored.pl >/dev/null 2>&1 && tar xzf exiftool-vendored.pl-*.tgz) || true
    fi
    if [ -x "$npm_exiftool" ] && "$npm_exiftool" -m -q -Orientation#=3 -o probe.webp photo.webp 2>/dev/null; then
        webp_tool=exiftool
        webp_exiftool=$npm_exiftool
    fi
fi
rm -f probe.webp
for f in photo.jpg photo.png photo.webp; do
    tool=exiftool
    [ "$f" = photo.webp ] && tool=$webp_exiftool
    "$tool" -m -q -overwrite_original -Orientation#=6 -Artist="Bench Camera" -Model="Bench" "$f" || true
done
# Batches of 50 for each format, as links: every tool only reads them.
mkdir batch batch-png batch-webp
for i in $(seq 1 50); do
    cp photo.jpg "batch/p$i.jpg"
    ln photo.png "batch-png/p$i.png"
    ln photo.webp "batch-webp/p$i.webp"
done

add() { "$korvane" add "$@" | tail -1; }
resize=$(add 1 2 --set resizeType=0 --set targetpx=1024 --set savePath="$work/out")
rotate=$(add 1 16 --set rotateType=0 --set savePath="$work/out")
strip=$(add 1 4 --set savePath="$work/out")
compress=$(add 1 0 --set compressionRato=0.75 --set savePath="$work/out")

# measure NAME COMMAND...: one timed run, appended to NAME's list as "seconds kilobytes". A run
# that fails is named at the end: its figures would be worth nothing.
measure() {
    local name=$1
    shift
    rm -rf out && mkdir out
    # Every run starts with nothing waiting to be written out: the copies of earlier runs would
    # otherwise slow the writing of whichever run comes after them.
    sync
    local t0 t1 status=0
    # Wall time from the clock in nanoseconds (time's own has only centiseconds), peak memory
    # from time.
    t0=$(date +%s%N)
    /usr/bin/time -f "%M" -o t.txt "$@" >/dev/null 2>&1 || status=$?
    t1=$(date +%s%N)
    [ "$status" -eq 0 ] || echo "$name" >>failed
    echo "$(awk -v d=$((t1 - t0)) 'BEGIN {printf "%.4f", d / 1e9}') $(tail -1 t.txt)" >>"times.$name"
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
seconds() { cut -d' ' -f1 "times.$1" | median; }
mebibytes() { cut -d' ' -f2 "times.$1" | median | awk '{printf "%.1f", $1 / 1024}'; }
report() {
    printf '%-34s %7.3f s  %6.1f MiB\n' "$1" "$(seconds "$1")" "$(mebibytes "$1")"
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
        measure "korvane-strip-$ext" "$korvane" run "$strip" "photo.$ext"
        if [ "$ext" = webp ] && [ "$webp_tool" = webpmux ]; then
            measure "tool-rotate-$ext" webpmux -set exif orientation.exif "photo.$ext" -o "out/x.$ext"
            measure "tool-strip-$ext" webpmux -strip exif "photo.$ext" -o "out/x.$ext"
        else
            tool=exiftool
            [ "$ext" = webp ] && tool=$webp_exiftool
            measure "tool-rotate-$ext" "$tool" -m -q -Orientation#=3 -o "out/x.$ext" "photo.$ext"
            measure "tool-strip-$ext" "$tool" -m -q -all= -o "out/x.$ext" "photo.$ext"
        fi
    done
    measure jpegtran-rotate jpegtran -rotate 90 -copy none -outfile out/x.jpg photo.jpg
    measure jpegtran-strip jpegtran -copy none -outfile out/x.jpg photo.jpg
    measure korvane-compress "$korvane" run "$compress" photo.jpg
    measure vips-jpegsave vips jpegsave photo.jpg out/x.jpg --Q 75
    measure cjpeg sh -c 'djpeg photo.jpg | cjpeg -quality 75 -outfile out/x.jpg'
done
# Batches of 50. exiftool takes seconds for each PNG of this size, so it runs the PNG batch
# once; every other batch is repeated on both sides. The serial baseline of the resize is the same batch on one thread:
# our pool and libvips' own workers.
for round in $(seq 1 "$batch_rounds"); do
    # What only reading and writing the 50 JPEG photos takes: no tool that writes copies of
    # them can take less.
    measure cat50-jpg sh -c 'for f; do cat "$f" >"out/${f##*/}"; done' sh batch/*.jpg
    measure korvane-batch50 "$korvane" run "$resize" batch/*.jpg
    measure korvane-batch50-serial env KORVANE_THREADS=1 VIPS_CONCURRENCY=1 "$korvane" run "$resize" batch/*.jpg
    for dir in batch:jpg batch-png:png batch-webp:webp; do
        ext=${dir#*:}
        dir=${dir%:*}
        measure "korvane-rotate50-$ext" "$korvane" run "$rotate" "$dir"/*."$ext"
        measure "korvane-strip50-$ext" "$korvane" run "$strip" "$dir"/*."$ext"
        # exiftool takes minutes for a batch of these PNG photos: it turns them once.
        [ "$round" -eq 1 ] || [ "$ext" != png ] || continue
        if [ "$ext" = webp ] && [ "$webp_tool" = webpmux ]; then
            # One process per file: webpmux takes one.
            measure "tool-rotate50-$ext" sh -c 'for f; do webpmux -set exif orientation.exif "$f" -o "out/${f##*/}" || exit 1; done' sh "$dir"/*."$ext"
            measure "tool-strip50-$ext" sh -c 'for f; do webpmux -strip exif "$f" -o "out/${f##*/}" || exit 1; done' sh "$dir"/*."$ext"
        else
            tool=exiftool
            [ "$ext" = webp ] && tool=$webp_exiftool
            measure "tool-rotate50-$ext" "$tool" -m -q -Orientation#=3 -o out/ "$dir"/*."$ext"
            measure "tool-strip50-$ext" "$tool" -m -q -all= -o out/ "$dir"/*."$ext"
        fi
    done
done

# The turned and stripped copies must hold the source's compressed image byte for byte, and a
# batch must leave a copy of every photo.
for ext in jpg png webp; do
    rm -rf out && mkdir out
    "$korvane" run "$rotate" "photo.$ext" >/dev/null 2>&1
    "$korvane" run "$strip" "photo.$ext" >/dev/null 2>&1
    python3 - "photo.$ext" "out/photo.$ext" "out/photo1.$ext" <<'EOF'
import struct, sys
def image(path):
    data = open(path, 'rb').read()
    if data.startswith(b'\xff\xd8'):
        at = 2
        while data[at] == 0xff and data[at + 1] != 0xda:
            at += 2 + struct.unpack('>H', data[at + 2:at + 4])[0]
        return data[at:data.rfind(b'\xff\xd9') + 2]
    parts = []
    if data.startswith(b'\x89PNG'):
        at = 8
        while at + 8 <= len(data):
            length, kind = struct.unpack('>I4s', data[at:at + 8])
            if kind == b'IDAT':
                parts.append(data[at + 8:at + 8 + length])
            at += 12 + length
    else:
        at = 12
        while at + 8 <= len(data):
            kind, length = struct.unpack('<4sI', data[at:at + 8])
            if kind in (b'VP8 ', b'VP8L', b'ALPH'):
                parts.append(data[at + 8:at + 8 + length])
            at += 8 + length + (length & 1)
    return b''.join(parts)
source = image(sys.argv[1])
for path in sys.argv[2:]:
    print('  compressed data of %s %s' % (path, 'unchanged' if source and image(path) == source else 'CHANGED'))
EOF
done
for dir in batch:jpg batch-png:png batch-webp:webp; do
    rm -rf out && mkdir out
    "$korvane" run "$strip" "${dir%:*}"/*."${dir#*:}" >/dev/null 2>&1 || true
    echo "  stripped copies of the ${dir#*:} batch: $(find out -type f | wc -l) of 50"
done

echo "24-megapixel JPEG ($(du -k photo.jpg | cut -f1) KiB), medians of $rounds rounds (batches: $batch_rounds, exiftool's PNG batch: 1)"
echo "nproc $(nproc), load average $(cut -d' ' -f1-3 /proc/loadavg) at the end (the machine is shared)"
echo "PNG $(du -k photo.png | cut -f1) KiB, WebP $(du -k photo.webp | cut -f1) KiB, of the same picture"
for name in korvane-resize vipsthumbnail convert-resize korvane-batch50 korvane-batch50-serial \
    jpegtran-rotate jpegtran-strip korvane-compress vips-jpegsave cjpeg; do
    report "$name"
done
ratio korvane-resize vipsthumbnail 1 "resize time (goal <= 1.0)"
ratio korvane-resize vipsthumbnail 2 "resize memory (goal <= 1.5)"
ratio korvane-resize convert-resize 1 "resize time vs convert"
ratio korvane-batch50 korvane-batch50-serial 1 "50-photo batch, both cores vs one (goal < 0.6)"
ratio korvane-rotate-jpg jpegtran-rotate 1 "rotate time vs jpegtran -copy none (goal < 1)"
ratio korvane-strip-jpg jpegtran-strip 1 "strip time vs jpegtran -copy none (goal < 1)"
ratio korvane-compress vips-jpegsave 1 "compress time vs vips jpegsave (goal <= 1.0)"
ratio korvane-compress cjpeg 1 "compress time vs djpeg | cjpeg"
echo
echo "exiftool $(exiftool -ver), for WebP: $webp_tool $([ "$webp_tool" = exiftool ] && "$webp_exiftool" -ver)"
echo "Metadata changes, a whole korvane run against exiftool (WebP: $webp_tool); goals: time <= 0.3 (aim 0.1), our peak <= 16 MiB"
printf '%-5s %-9s %10s %6s %9s %6s %6s\n' format job "korvane s" MiB "other s" MiB ratio
for ext in jpg png webp; do
    for job in rotate strip rotate50 strip50; do
        printf '%-5s %-9s %10.3f %6s %9.3f %6s %6.2f\n' "$ext" "$job" \
            "$(seconds "korvane-$job-$ext")" "$(mebibytes "korvane-$job-$ext")" \
            "$(seconds "tool-$job-$ext")" "$(mebibytes "tool-$job-$ext")" \
            "$(awk -v a="$(seconds "korvane-$job-$ext")" -v b="$(seconds "tool-$job-$ext")" 'BEGIN {print a / b}')"
    done
done
ratio cat50-jpg tool-rotate50-jpg 1 "copying the 50 JPEGs with cat vs exiftool turning them, the floor of the ratio"
if [ -s failed ]; then
    echo "FAILED runs, their figures mean nothing: $(sort -u failed | tr '\n' ' ')"
    exit 1
fi
