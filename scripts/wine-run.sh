#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix (never ~/.wine).
# The prefix is made on first use; a lock keeps parallel tests from racing.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# A Chinese system: the ANSI code page is 936.
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8

if [ ! -f "$WINEPREFIX/.kinetile-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.kinetile-ready" ]; then
    wineboot -i >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.kinetile-ready"
  fi
  flock -u 9
fi
exec wine "$@"
