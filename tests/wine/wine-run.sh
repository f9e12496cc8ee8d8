#!/bin/sh
# Runs one Windows executable under Wine and returns its exit code.
# WINEPREFIX, DISPLAY and Wine's settings (its chatter silenced) come from the
# caller: scripts/test.sh sets them with use_wine_prefix from scripts/lib/display.sh.
: "${WINEPREFIX:?set WINEPREFIX to the build tree's prefix (scripts/test.sh does)}"
exec wine "$@"
