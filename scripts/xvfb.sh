# Sourced by the scripts that need a display: starts a private Xvfb unless a
# display is already set, and stops it when the calling script exits.
kinetile_start_xvfb() {
  if [ -n "${DISPLAY:-}" ] && [ -z "${KINETILE_FORCE_XVFB:-}" ]; then return 0; fi
  local n
  for n in $(seq 90 130); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  KINETILE_XVFB_PID=$!
  # Wine's desktop process keeps the display it started with: end Wine with
  # the display, so that no later run meets a desktop whose display is gone.
  KINETILE_WINEPREFIX=${WINEPREFIX:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wineprefix}
  trap 'WINEPREFIX=$KINETILE_WINEPREFIX wineserver -k 2>/dev/null; kill "$KINETILE_XVFB_PID" 2>/dev/null; wait "$KINETILE_XVFB_PID" 2>/dev/null' EXIT
  local i
  for i in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  [ -e "/tmp/.X11-unix/X$n" ] || { echo "Xvfb did not start on :$n" >&2; return 1; }
  export DISPLAY=":$n"
}
