#!/usr/bin/env bash
# Builds and runs the benchmarks, printing their tables. Not part of the tests.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" native win-x86_64 win-i686
# shellcheck source=xvfb.sh
. "$root/scripts/xvfb.sh"
KINETILE_FORCE_XVFB=1 kinetile_start_xvfb
"$root/build/native/bench/gif_index_bench"
wine_run=$root/scripts/wine-run.sh
for arch in x86_64 i686; do
  echo
  "$wine_run" "$root/build/win-$arch/bench/frame_draw_bench.exe"
  "$wine_run" 'C:\windows\system32\regsvr32.exe' /s "Z:$root/build/win-$arch/control/Kinetile.ocx"
  echo
  "$wine_run" "$root/build/win-$arch/bench/control_bench.exe"
done
