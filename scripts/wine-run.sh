#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix (never ~/.wine).
# The prefix is made and set up on first use; a lock keeps parallel tests from
# racing.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# A Chinese system: the ANSI code page is 936.
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8

# Bump when the setup below changes, so existing prefixes get it too.
setup_version=2
marker=$WINEPREFIX/.kinetile-setup

if [ "$(cat "$marker" 2>/dev/null)" != "$setup_version" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ "$(cat "$marker" 2>/dev/null)" != "$setup_version" ]; then
    [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
    # Windows not managed by a window manager: without one (Xvfb), Wine
    # otherwise waits two seconds for every top-level window to be hidden.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # The Chinese UI faces map to an installed CJK font, for stable metrics.
    for face in '宋体' 'SimSun' '新宋体' 'NSimSun' 'MS Shell Dlg' 'MS Shell Dlg 2'; do
      wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
    done
    wineserver -w
    echo "$setup_version" > "$marker"
  fi
  flock -u 9
fi
exec wine "$@"
