#!/bin/bash
# The installer under Wine: silent per-user install, the shortcuts' target and
# working directory, the program starting from the Start-menu shortcut, a
# silent uninstall while it runs that closes it and leaves nothing behind, and
# an upgrade over a running copy with an edited layout, which keeps the layout,
# closes the copy through its Exit and starts it again; an uninstall then keeps
# the edited layout.
#   installer.sh SETUP_EXE SHIPPED_LAYOUT
set -u
SETUP=$(realpath "$1") SHIPPED=$(realpath "$2")
E2E_MARNELL_EXE=unused E2E_TARGET_EXE=unused
source "$(dirname "$0")/lib/harness.sh"
LNK_PY="$(dirname "$(realpath "$0")")/lib/lnk.py"

unix_of() { winepath -u "$(wine cmd /c echo "$1" 2>/dev/null | tr -d '\r')" 2>/dev/null; }
reg_exists() { wine reg query "$1" >/dev/null 2>&1; }

LOCAL=$(unix_of '%LOCALAPPDATA%')
# An earlier run's last uninstall leaves its edited layout behind, by design.
[ -n "$LOCAL" ] && rm -rf "$LOCAL/Programs/Marnell"

wine "$SETUP" /S; rc=$?
[ $rc -eq 0 ] && pass "silent install exit code 0" || fail "silent install exit code $rc"

APPDATA_DIR=$(unix_of '%APPDATA%')
DIR="$LOCAL/Programs/Marnell"
MENU_LNK="$APPDATA_DIR/Microsoft/Windows/Start Menu/Programs/Marnell.lnk"
# Wine spells the folder "StartUp", Windows "Startup".
STARTUP_DIR=$(find "$APPDATA_DIR/Microsoft/Windows/Start Menu/Programs" -maxdepth 1 -type d -iname startup | head -n1)
STARTUP_LNK="${STARTUP_DIR:-no-startup-folder}/Marnell.lnk"
WIN_DIR=$(wine cmd /c echo '%LOCALAPPDATA%\Programs\Marnell' 2>/dev/null | tr -d '\r')

for f in Marnell2.exe default.vmap ReadMe.txt Uninstall.exe; do
  [ -f "$DIR/$f" ] && pass "installed $f" || fail "missing $DIR/$f"
done
reg_exists 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Marnell' \
  && pass "uninstaller registered under HKCU" || fail "no uninstall entry under HKCU"

for lnk in "$MENU_LNK" "$STARTUP_LNK"; do
  if [ ! -f "$lnk" ]; then fail "no shortcut $lnk"; continue; fi
  info=$(python3 "$LNK_PY" "$lnk" | tr -d '\0')
  target=$(sed -n 's/^target=//p' <<<"$info"); workdir=$(sed -n 's/^workdir=//p' <<<"$info")
  [ "${target,,}" = "${WIN_DIR,,}\\marnell2.exe" ] && pass "$(basename "$(dirname "$lnk")") shortcut target" \
    || fail "shortcut $lnk target [$target], expected [$WIN_DIR\\Marnell2.exe]"
  [ "${workdir,,}" = "${WIN_DIR,,}" ] && pass "$(basename "$(dirname "$lnk")") shortcut working directory" \
    || fail "shortcut $lnk working directory [$workdir], expected [$WIN_DIR]"
done

# The program refuses to start without default.vmap in its working directory,
# so a window titled "Marnell" proves the shortcut's working directory works.
wine start /unix "$MENU_LNK" >"$E2E_WORK/start.out" 2>&1
if wait_for 30 xdotool search --name '^Marnell$'; then pass "program starts from the shortcut"
else fail "no Marnell window after starting the shortcut"; fi
sleep 4  # past the start-up pause

# uninstall_and_wait: the uninstaller reruns itself from a temporary copy and
# returns at once; it is done when the program's own files are gone.
uninstall_and_wait() {
  wine "$DIR/Uninstall.exe" /S
  wait_for 30 test ! -e "$DIR/Uninstall.exe" || true
}
marnell_gone() { ! xdotool search --name '^Marnell$' >/dev/null 2>&1; }

uninstall_and_wait
wait_for 15 marnell_gone && pass "uninstall closed the running program" || fail "Marnell still runs after the uninstall"
[ ! -e "$DIR" ] && pass "install folder removed" || fail "left behind: $(ls -A "$DIR")"
[ ! -e "$MENU_LNK" ] && [ ! -e "$STARTUP_LNK" ] && pass "shortcuts removed" || fail "shortcuts left behind"
reg_exists 'HKCU\Software\Corvane\Marnell2' && fail "program registry key left behind" || pass "program registry key removed"
reg_exists 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Marnell' \
  && fail "uninstall entry left behind" || pass "uninstall entry removed"

# Upgrade over a running copy whose layout the user edited.
wine "$SETUP" /S || fail "second install failed"
printf '/* my own edit */\r\n' >>"$DIR/default.vmap"
edited=$(md5sum <"$DIR/default.vmap")
(cd "$DIR" && wine Marnell2.exe; echo $? >"$E2E_WORK/first.rc") >"$E2E_WORK/first.out" 2>&1 &
E2E_PIDS+=($!)
wait_for 30 xdotool search --name '^Marnell$' || fail "the edited layout's copy did not start"
sleep 4
wine "$SETUP" /S; rc=$?
[ $rc -eq 0 ] && pass "upgrade over a running copy: exit code 0" || fail "upgrade exit code $rc"
wait_for 15 test -s "$E2E_WORK/first.rc" || true
[ "$(cat "$E2E_WORK/first.rc" 2>/dev/null)" = 0 ] && pass "the running copy ended through its Exit, code 0" \
  || fail "the running copy did not end through Exit: [$(cat "$E2E_WORK/first.rc" 2>/dev/null)]"
[ "$(md5sum <"$DIR/default.vmap")" = "$edited" ] && pass "upgrade kept the edited default.vmap" \
  || fail "upgrade changed the edited default.vmap"
cmp -s "$DIR/default-shipped.vmap" "$SHIPPED" && pass "the new shipped layout lies beside it" \
  || fail "default-shipped.vmap is not the shipped layout"
[ -f "$DIR/marnell-layout.exe" ] && pass "marnell-layout.exe installed" || fail "no marnell-layout.exe"
wait_for 30 xdotool search --name '^Marnell$' && pass "upgrade started Marnell again" \
  || fail "Marnell not running after the upgrade"
sleep 4

uninstall_and_wait
wait_for 15 marnell_gone && pass "uninstall closed the upgraded copy" || fail "Marnell still runs after the uninstall"
[ "$(md5sum <"$DIR/default.vmap" 2>/dev/null)" = "$edited" ] && pass "uninstall kept the edited default.vmap" \
  || fail "uninstall did not keep the edited default.vmap"
left=$(ls -A "$DIR" 2>/dev/null | tr '\n' ' ')
[ "$left" = "default.vmap " ] && pass "only the edited layout is left" || fail "left behind: [$left]"
rm -rf "$DIR"

finish
