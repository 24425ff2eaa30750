#!/usr/bin/env bash
# Runs the demo with --screenshot after registering its control, and checks
# that the screenshot shows the animation at Kinetile1's place over
# Picture1's background.
set -uo pipefail
wine_run=$1 regsvr32=$2 ocx=$3 demo=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$wine_run" "$regsvr32" /s "Z:$ocx" || { echo "regsvr32 failed"; exit 1; }
"$wine_run" "$demo" --screenshot "Z:$work/demo.bmp" 1500 || { echo "the demo failed"; exit 1; }
pixel() { convert "$work/demo.bmp" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:; }
size=$(identify -format '%wx%h' "$work/demo.bmp")
[ "$size" = 512x480 ] || { echo "client area is $size, not 512x480 (7680 x 7200 twips)"; exit 1; }
# Picture1's client starts at (24, 40); Kinetile1 at (21, 11) in it, 180 x 180,
# shows the 89 x 98 image centred: its middle at (24+21+46+44, 40+11+41+49).
centre=$(pixel 135 141)
corner=$(pixel 30 46)
echo "image centre: $centre, Picture1 near its corner: $corner"
case "$corner" in 200,220,245|235,242,252) ;; *) echo "Picture1's background is not shown"; exit 1 ;; esac
case "$centre" in 200,220,245|235,242,252) echo "no image at Kinetile1's place"; exit 1 ;; esac
# Beside the round image, inside the control: the background shows through.
beside=$(pixel 70 60)
case "$beside" in 200,220,245|235,242,252) ;; *) echo "the control is not transparent around its image ($beside)"; exit 1 ;; esac
# The controls inside the frames are drawn: the "播放" button's caption is dark.
darkest=$(convert "$work/demo.bmp" -crop 54x21+299+320 -format '%[fx:int(255*minima.intensity)]' info:)
[ "$darkest" -lt 100 ] || { echo "the play button inside its frame is not drawn (darkest $darkest)"; exit 1; }
echo "ok"
