#!/bin/sh
# Runs one Windows executable under Wine and returns its exit code.
# WINEPREFIX and DISPLAY come from the caller (scripts/test.sh sets up a private
# prefix inside the build tree and a private Xvfb display); Wine's own chatter
# is silenced so that test output stays readable.
: "${WINEPREFIX:?set WINEPREFIX to the build tree's prefix (scripts/test.sh does)}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
