#!/usr/bin/env bash
# Composes frames with the Windows gifinfo (--render, the control's way of
# drawing) and compares them pixel by pixel with ImageMagick's coalesced
# frames flattened onto the same key colour: an independent decoder.
set -uo pipefail
wine_run=$1 gifinfo=$2 gif=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
key=$("$wine_run" "$gifinfo" --json --fix "$gif" | sed -E 's/.*"frames":\[\{[^}]*"TransColor":([0-9]+).*/\1/')
hex=$(printf '#%02x%02x%02x' $((key & 255)) $(((key >> 8) & 255)) $(((key >> 16) & 255)))
convert "$gif" -coalesce "$work/ref-%d.png"
status=0
for frame in "$@"; do
  "$wine_run" "$gifinfo" --render "$frame" --out "Z:$work/ours-$frame.bmp" "$gif" >/dev/null || { echo "render of frame $frame failed"; status=1; continue; }
  convert "$work/ref-$frame.png" -background "$hex" -flatten "$work/ref-$frame.bmp"
  diff=$(compare -metric AE "$work/ref-$frame.bmp" "$work/ours-$frame.bmp" null: 2>&1)
  echo "frame $frame: $diff pixels differ"
  [ "$diff" = 0 ] || status=1
done
exit $status
