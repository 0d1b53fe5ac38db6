#!/bin/bash
# Takes the pictures under docs/screenshots on a private Xvfb with a tray (trayer), in one
# scale, theme and language:
#
#   tools/screenshots.sh BUILD OUTDIR SCALE light|dark en|zh SCENARIO...
#
# SCENARIO is text, files, image (the popover for each kind of clipboard data), drag (a drag
# resting over the lower rows of a long list), first, rename (with the upload and resize
# panels) or general (the preferences window). The committed set is "1 light en" and
# "2 dark zh" with every scenario. Pictures, not tests: the pauses only let a window settle.
BUILD=$1; OUT=$2; SCALE=$3; THEME=$4; L=$5; shift 5
BIN=$BUILD/src/korvane
mkdir -p $OUT
D=:$((70 + RANDOM % 20))
H=$(mktemp -d)
S=$SCALE
Xvfb $D -screen 0 $((1600*S))x$((1000*S))x24 -nolisten tcp >/dev/null 2>&1 & XP=$!
export DISPLAY=$D
sleep 1
dbus-daemon --session --nofork --print-address > $H/bus 2>/dev/null & BP=$!
sleep 0.5
export DBUS_SESSION_BUS_ADDRESS=$(head -1 $H/bus)
trayer --edge top --align right --widthtype request --height $((24*S)) --SetDockType true --transparent false --tint 0x303030 >/dev/null 2>&1 & TP=$!
export XDG_DATA_HOME=$H/data XDG_CONFIG_HOME=$H/config XDG_CACHE_HOME=$H/cache QT_QPA_PLATFORM=xcb
if [ $L = zh ]; then export LANG=zh_CN.UTF-8 LANGUAGE=zh_CN; else export LANG=en_US.UTF-8 LANGUAGE=en; fi
[ $SCALE != 1 ] && export QT_SCALE_FACTOR=$SCALE
[ $THEME = dark ] && export QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark
env -u DISPLAY $BIN list >/dev/null 2>&1
if [[ " $* " == *" drag "* ]]; then
  for i in 1 2 3 4 5 6 7 8 9 10 11 12; do env -u DISPLAY $BIN add 1 9 --title "Copy $i" >/dev/null 2>&1; done
fi
if [[ " $* " == *" rename "* ]]; then
  env -u DISPLAY $BIN add 1 17 --index 0 >/dev/null; env -u DISPLAY $BIN add 1 12 --index 1 >/dev/null; env -u DISPLAY $BIN add 1 2 --index 2 >/dev/null
  mkdir -p $H/config/korvane; printf '[General]\nfirstOpenPreference=true\nwakeHotKey=2, 1048576\n' > $H/config/korvane/korvane.conf
fi
$BIN > $H/log 2>&1 & KP=$!
sleep 3
shot() { # name window-regex
  sleep ${3:-1}
  local id=$(xdotool search --onlyvisible --name "$2" | tail -1)
  if [ -z "$id" ]; then import -window root $OUT/$1.png; echo "no window $2 for $1"; return; fi
  eval $(xdotool getwindowgeometry --shell $id)
  import -window root -crop ${WIDTH}x${HEIGHT}+${X}+${Y} +repage $OUT/$1.png 2>/dev/null
  echo "$1: ${WIDTH}x${HEIGHT}+${X}+${Y}"
}
click() { xdotool mousemove $(($1*S)) $(($2*S)) click 1; sleep 0.7; }
tag=${SCALE}x-$THEME-$L
PW="Korvane [^ad]"
for s in "$@"; do
 case $s in
 text) echo -n "Convert Images to JPEG and some words" | xclip -selection clipboard; xdotool key super+d; shot popover-text-$tag "^Korvane actions" 1.5; xdotool key Escape;;
 files) printf 'copy\nfile:///etc/hosts\nfile:///etc/passwd' | xclip -selection clipboard -t x-special/gnome-copied-files; xdotool key super+d; shot popover-files-$tag "^Korvane actions" 1.5; xdotool key Escape;;
 image) convert -size 60x40 xc:red $H/p.png; xclip -selection clipboard -t image/png -i $H/p.png; xdotool key super+d; shot popover-image-$tag "^Korvane actions" 1.5; xdotool key Escape;;
 first) $BIN preferences >/dev/null 2>&1; shot prefs-first-$tag "$PW" 2;;
 rename) $BIN preferences >/dev/null 2>&1; sleep 2; click 70 79; click 580 107; shot prefs-rename-$tag "$PW" 1
         click 580 151; shot prefs-upload-$tag "$PW" 1; click 580 195; shot prefs-resize-$tag "$PW" 1;;
 general) $BIN preferences --tab general >/dev/null 2>&1; shot prefs-general-$tag "$PW" 2;;
 drag)
   convert -size 60x40 xc:blue $H/holiday.png
   $BUILD/tests/dragsource $((100)) $((400)) 200 150 $H/holiday.png < <(sleep 60) > $OUT/src.log 2>&1 & SP=$!
   sleep 2
   eval $(xdotool getwindowgeometry --shell $(xdotool search --name '^panel$' | head -1))
   TX=$((X + WIDTH/2)); TB=$((Y + HEIGHT))
   FX=$((200*S)); FY=$((475*S))
   xdotool mousemove $FX $FY mousedown 1
   NX=$((TX-40*S)); NY=$((TB+40*S))
   for i in $(seq 1 20); do xdotool mousemove $((FX+(NX-FX)*i/20)) $((FY+(NY-FY)*i/20)); sleep 0.03; done
   sleep 1
   AX=$((TX-100*S)); AY=$((TB+70*S))
   for i in 1 2 3 4 5 6; do xdotool mousemove $((AX+i%3*3)) $AY; sleep 0.3; done
   sleep 1
   eval $(xdotool getwindowgeometry --shell $(xdotool search --onlyvisible --name '^Korvane actions' | tail -1))
   CX=$((X + WIDTH/2)); BOT=$((Y + HEIGHT - (6+36+12)*S))
   for i in 1 2 3 4 5 6 7 8; do xdotool mousemove $CX $((Y + (10+6+46+30+60*i)*S)); sleep 0.1; done
   xdotool mousemove $CX $((BOT - 3*S)); sleep 0.2; xdotool mousemove $((CX+2)) $((BOT - 4*S)); sleep 0.9
   xdotool mousemove $CX $((BOT - 40*S)); sleep 0.3; xdotool mousemove $((CX+3)) $((BOT - 42*S)); sleep 0.5
   shot popover-drag-$tag "^Korvane actions" 0.5
   xdotool mousemove 300 $((700*S)); sleep 0.3; xdotool mouseup 1; sleep 0.5; kill $SP;;
 esac
done
cp $H/log $OUT/log-$tag.txt
kill $KP; sleep 0.5; kill $TP $BP $XP
rm -rf $H
