#!/usr/bin/env bash
# Installs every Debian package that building and testing need. Idempotent and
# quiet: when everything is present it prints nothing and touches nothing.
set -euo pipefail

packages=(
  cmake make ninja-build g++ clang libclang-rt-14-dev googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  gcc-mingw-w64-x86-64-posix gcc-mingw-w64-i686-posix mingw-w64-tools
  wine wine64 wine32:i386 libwine-dev
  xvfb x11-utils imagemagick python3
  fonts-wqy-microhei fonts-liberation2 locales
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
  fi
  log=$(mktemp)
  trap 'rm -f "$log"' EXIT
  if ! { "${sudo_cmd[@]}" apt-get update -qq &&
         "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
    cat "$log" >&2
    echo "install-deps: installing ${missing[*]} failed" >&2
    exit 1
  fi
fi

# Chinese text in message boxes and ANSI conversions wants code page 936.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen 2>/dev/null || true
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
