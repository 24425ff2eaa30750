#!/usr/bin/env bash
# Builds and runs the benchmarks, printing their tables. Not part of the tests.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" native
"$root/build/native/bench/gif_index_bench"
