#!/usr/bin/env bash
# The main job: builds the control and the demo (32-bit, as VB6 programs
# are), registers the control in the project's Wine prefix and starts the
# demo KNTL-Demo02-Base on the user's display. Without a display it runs the
# demo under Xvfb, saves a screenshot and prints its path.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" win-i686
wine_run=$root/scripts/wine-run.sh
build=$root/build/win-i686
demo=$build/demo/KNTL-Demo02-Base.exe
shot=
if [ -z "${DISPLAY:-}" ]; then
  # The display comes first: Wine's desktop process keeps the display it
  # was started with.
  # shellcheck source=xvfb.sh
  . "$root/scripts/xvfb.sh"
  kinetile_start_xvfb
  shot=$root/build/demo-screenshot.bmp
fi
"$wine_run" 'C:\windows\syswow64\regsvr32.exe' /s "Z:$build/control/Kinetile.ocx"
if [ -z "$shot" ]; then
  exec "$wine_run" "$demo"
fi
"$wine_run" "$demo" --screenshot "Z:$shot" 2000
if command -v convert >/dev/null && convert "$shot" "${shot%.bmp}.png" 2>/dev/null; then
  shot=${shot%.bmp}.png
fi
echo "No display: the demo ran under Xvfb; its screenshot is $shot"
