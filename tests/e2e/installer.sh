#!/bin/bash
# The installer under Wine: silent per-user install, the shortcuts' target and
# working directory, the program starting from the Start-menu shortcut, and a
# silent uninstall that leaves nothing behind.
#   installer.sh SETUP_EXE
set -u
SETUP=$(realpath "$1")
E2E_MARNELL_EXE=unused E2E_TARGET_EXE=unused
source "$(dirname "$0")/lib/harness.sh"
LNK_PY="$(dirname "$(realpath "$0")")/lib/lnk.py"

unix_of() { winepath -u "$(wine cmd /c echo "$1" 2>/dev/null | tr -d '\r')" 2>/dev/null; }
reg_exists() { wine reg query "$1" >/dev/null 2>&1; }

wine "$SETUP" /S; rc=$?
[ $rc -eq 0 ] && e2e_pass "silent install exit code 0" || e2e_fail "silent install exit code $rc"

LOCAL=$(unix_of '%LOCALAPPDATA%')
APPDATA_DIR=$(unix_of '%APPDATA%')
DIR="$LOCAL/Programs/Marnell"
MENU_LNK="$APPDATA_DIR/Microsoft/Windows/Start Menu/Programs/Marnell.lnk"
# Wine spells the folder "StartUp", Windows "Startup".
STARTUP_DIR=$(find "$APPDATA_DIR/Microsoft/Windows/Start Menu/Programs" -maxdepth 1 -type d -iname startup | head -n1)
STARTUP_LNK="${STARTUP_DIR:-no-startup-folder}/Marnell.lnk"
WIN_DIR=$(wine cmd /c echo '%LOCALAPPDATA%\Programs\Marnell' 2>/dev/null | tr -d '\r')

for f in Marnell2.exe default.vmap ReadMe.txt Uninstall.exe; do
  [ -f "$DIR/$f" ] && e2e_pass "installed $f" || e2e_fail "missing $DIR/$f"
done
reg_exists 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Marnell' \
  && e2e_pass "uninstaller registered under HKCU" || e2e_fail "no uninstall entry under HKCU"

for lnk in "$MENU_LNK" "$STARTUP_LNK"; do
  if [ ! -f "$lnk" ]; then e2e_fail "no shortcut $lnk"; continue; fi
  info=$(python3 "$LNK_PY" "$lnk" | tr -d '\0')
  target=$(sed -n 's/^target=//p' <<<"$info"); workdir=$(sed -n 's/^workdir=//p' <<<"$info")
  [ "${target,,}" = "${WIN_DIR,,}\\marnell2.exe" ] && e2e_pass "$(basename "$(dirname "$lnk")") shortcut target" \
    || e2e_fail "shortcut $lnk target [$target], expected [$WIN_DIR\\Marnell2.exe]"
  [ "${workdir,,}" = "${WIN_DIR,,}" ] && e2e_pass "$(basename "$(dirname "$lnk")") shortcut working directory" \
    || e2e_fail "shortcut $lnk working directory [$workdir], expected [$WIN_DIR]"
done

# The program refuses to start without default.vmap in its working directory,
# so a window titled "Marnell" proves the shortcut's working directory works.
wine start /unix "$MENU_LNK" >"$E2E_WORK/start.out" 2>&1
if e2e_wait_for 30 xdotool search --name '^Marnell$'; then e2e_pass "program starts from the shortcut"
else e2e_fail "no Marnell window after starting the shortcut"; fi
wineserver -k >/dev/null 2>&1; wineserver -w 2>/dev/null

wine "$DIR/Uninstall.exe" /S
# The uninstaller reruns itself from a temporary copy and returns at once.
e2e_wait_for 30 test ! -e "$DIR" || true
[ ! -e "$DIR" ] && e2e_pass "install folder removed" || e2e_fail "left behind: $(ls -A "$DIR")"
[ ! -e "$MENU_LNK" ] && [ ! -e "$STARTUP_LNK" ] && e2e_pass "shortcuts removed" || e2e_fail "shortcuts left behind"
reg_exists 'HKCU\Software\Corvane\Marnell2' && e2e_fail "program registry key left behind" || e2e_pass "program registry key removed"
reg_exists 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Marnell' \
  && e2e_fail "uninstall entry left behind" || e2e_pass "uninstall entry removed"

e2e_finish
