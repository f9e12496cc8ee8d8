#!/usr/bin/env bash
# The display's scale under Wine (LogPixels at 96, 120 and 144 dpi): the tray
# icon handed to the shell is 16, 20 and 24 pixels square, normal and paused,
# and the panel's font grows with the scale.
#   scale-wine.sh DIALOG_TESTS_EXE
# Uses the WINEPREFIX and DISPLAY that scripts/test.sh exports; the prefix's
# scale is put back at the end.
set -u
tests_exe=$(realpath "$1")
source "$(dirname "${BASH_SOURCE[0]}")/../../tests/lib/checks.sh"
key='HKCU\Control Panel\Desktop'
before=$(wine reg query "$key" /v LogPixels 2>/dev/null | tr -d '\r' | awk '$1=="LogPixels"{print $3}')
restore() {
  if [ -n "$before" ]; then
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$((before))" /f >/dev/null 2>&1
  else
    wine reg delete "$key" /v LogPixels /f >/dev/null 2>&1
  fi
  wineserver -k >/dev/null 2>&1
}
trap restore EXIT

declare -A font
for pair in 96:16 120:20 144:24; do
  dpi=${pair%%:*} icon=${pair##*:}
  wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1; wineserver -w  # the scale is read as Wine starts
  out=$(cd "$(dirname "$tests_exe")" && MARNELL_EXPECTED_TRAY_ICON=$icon wine "$tests_exe" \
    --gtest_filter='ConfigDialog.TheTrayIconIsHandedOverAtTheNotificationAreasSize' 2>&1 | tr -d '\r')
  if grep -q '^\[  PASSED  \] 1 test' <<<"$out"; then
    pass "$dpi dpi: both tray icons are ${icon}x${icon}"
  else
    fail "$dpi dpi: $(grep -E 'Failure|Which is|SKIPPED|normal|paused' <<<"$out" | tr '\n' ' ')"
  fi
  font[$dpi]=$(awk '/^panel font height:/{print $4}' <<<"$out")
done
for dpi in 120 144; do
  # The font at each scale is the 96 dpi one scaled, to a pixel.
  want=$(( (${font[96]:-0} * dpi + 48) / 96 ))
  if [ -n "${font[$dpi]}" ] && [ $(( ${font[$dpi]} - want )) -ge -1 ] && [ $(( ${font[$dpi]} - want )) -le 1 ]; then
    pass "$dpi dpi: panel font ${font[$dpi]} px (${font[96]} px at 96 dpi)"
  else
    fail "$dpi dpi: panel font [${font[$dpi]}] px, about $want expected (${font[96]:-?} at 96 dpi)"
  fi
done
finish "the tray icon and the panel follow the display's scale"
