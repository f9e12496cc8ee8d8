# Private X display and Wine prefix for the Windows tests and for running the
# program on a machine without a desktop. Sourced, not run.

# start_private_display: starts Xvfb on the first free display number from 90 up
# and exports DISPLAY. The display ends with the calling shell (stop_private_display).
start_private_display() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ] && continue
    Xvfb ":${n}" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    MARNELL_XVFB_PID=$!
    local waited=0
    until [ -e "/tmp/.X${n}-lock" ] && xdpyinfo -display ":${n}" >/dev/null 2>&1; do
      sleep 0.1; waited=$((waited + 1))
      if [ $waited -gt 100 ] || ! kill -0 "$MARNELL_XVFB_PID" 2>/dev/null; then
        break
      fi
    done
    if xdpyinfo -display ":${n}" >/dev/null 2>&1; then
      export DISPLAY=":${n}"
      return 0
    fi
  done
  echo "no free X display for Xvfb" >&2
  return 1
}

stop_private_display() {
  if [ -n "${MARNELL_XVFB_PID:-}" ]; then
    kill "$MARNELL_XVFB_PID" 2>/dev/null || true
    wait "$MARNELL_XVFB_PID" 2>/dev/null || true
    MARNELL_XVFB_PID=
  fi
}

# use_wine_prefix DIR: a Wine prefix of the project's own inside the build tree,
# created on first use, so that nothing of the user's Wine set-up is touched.
use_wine_prefix() {
  export WINEPREFIX="$1"
  export WINEARCH=win32
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  fi
}

stop_wine() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
}
