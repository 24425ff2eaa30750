#!/usr/bin/env bash
# Configures and builds the named configurations (all when none is named):
#   native      host g++: the portable libraries, tools, tests and benchmarks
#   sanitize    host g++ with AddressSanitizer and UndefinedBehaviorSanitizer
#   fuzz        clang with libFuzzer
#   win-x86_64  MinGW-w64, 64-bit Windows
#   win-i686    MinGW-w64, 32-bit Windows
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${KINETILE_JOBS:-$(nproc)}

configure() {
  local name=$1
  shift
  local dir=$root/build/$name
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >"$dir.configure.log" 2>&1 ||
      { cat "$dir.configure.log" >&2; return 1; }
  fi
}

build_one() {
  case $1 in
    native) configure native ;;
    sanitize) configure sanitize -DKINETILE_SANITIZE=ON -DKINETILE_BENCH=OFF ;;
    fuzz) CC=clang CXX=clang++ configure fuzz -DKINETILE_FUZZ=ON -DKINETILE_TESTS=OFF -DKINETILE_BENCH=OFF ;;
    win-x86_64) configure win-x86_64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" ;;
    win-i686) configure win-i686 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" ;;
    *) echo "build.sh: unknown configuration '$1'" >&2; return 2 ;;
  esac
  # Ninja prints only what fails, which keeps a clean build quiet.
  cmake --build "$root/build/$1" -j "$jobs" -- --quiet | { grep -v '^ninja: no work to do' || true; }
}

mkdir -p "$root/build"
configs=("$@")
[ ${#configs[@]} -gt 0 ] || configs=(native sanitize fuzz win-x86_64 win-i686)
for c in "${configs[@]}"; do build_one "$c"; done
