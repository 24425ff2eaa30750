#!/usr/bin/env bash
# Builds and runs the benchmarks, printing their tables. Not part of the tests.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" native win-x86_64 win-i686
"$root/build/native/bench/gif_index_bench"
for arch in x86_64 i686; do
  echo
  "$root/scripts/wine-run.sh" "$root/build/win-$arch/bench/frame_draw_bench.exe"
done
