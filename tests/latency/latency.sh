#!/bin/bash
# Key latency under Wine, measured by latency_probe in one virtual desktop: no
# hook, a do-nothing hook in another process (the floor of any program built on
# a low-level hook), Marnell passing a key, Marnell typing a chord; interleaved
# rounds, medians, p90 and p99, lost strokes. Needs DISPLAY and WINEPREFIX, as
# the end-to-end tests do.
#   latency.sh MARNELL2_EXE LATENCY_PROBE_EXE [ROUNDS [STROKES]]
set -u
E2E_MARNELL_EXE=$(realpath "$1") PROBE=$(realpath "$2")
ROUNDS=${3:-10} STROKES=${4:-100}
E2E_TARGET_EXE=unused
source "$(dirname "$0")/../e2e/lib/harness.sh"
# Scroll Lock is no Alt key, so the characters arrive without Wine's 0x2000.
e2e_write_layout "$E2E_WORK/default.vmap" 'KEY:145;' 'MOD:' 'LAYOUT:' '65;0;225;193;'
# A program listed in exclude.txt (not one that runs here): Marnell then
# follows the foreground window at every key-down, as it does for a user who
# lists programs, so that cost is part of every arm.
printf 'elsewhere.exe\r\n' >"$E2E_WORK/exclude.txt"

e2e_start_desktop || exit 1
e2e_start_marnell || exit 1
wine "$PROBE" "$ROUNDS" "$STROKES" 2>&1 | tr -d '\r'
exit "${PIPESTATUS[0]}"
