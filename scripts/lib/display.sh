# Private X display and Wine prefix for the Windows tests and for running the
# program on a machine without a desktop. Sourced, not run.

MARNELL_WINE64_BIN="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine64"

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

# windows_preset: the Windows build that this machine can run under Wine. The
# product is the 32-bit program (preset windows). A kernel with IA-32 emulation
# off runs no 32-bit program at all, so 32-bit Wine cannot start; there the
# same sources are built for 64 bits (preset windows64) and run under 64-bit
# Wine, with Debian's 64-bit loader put first on PATH.
windows_preset() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo windows
  else
    echo windows64
  fi
}

# use_wine_prefix DIR [unmanaged]: a Wine prefix of the project's own inside the
# build tree, created on first use, so that nothing of the user's Wine set-up is
# touched. With "unmanaged" (every test prefix) Wine leaves its windows to no X
# window manager: on a bare X server it would otherwise wait about 2 s for one
# at every show and hide of a window. A virtual desktop, as scripts/run.sh uses,
# shows the same either way.
use_wine_prefix() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$(windows_preset)" = windows64 ]; then
    export WINEARCH=win64
    case ":$PATH:" in
      *":$MARNELL_WINE64_BIN:"*) ;;
      *) export PATH="$MARNELL_WINE64_BIN:$PATH" ;;
    esac
  else
    export WINEARCH=win32
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  if [ "${2:-}" = unmanaged ] && ! grep -qx '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wineserver -w || true
  fi
}

stop_wine() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
}
