#!/bin/bash
# The tray icon and the configuration dialog as a user drives them: tooltip,
# menus in both languages with the stored setting, About, the Enabled box,
# layout edits and a broken layout file while running, a second copy, Exit.
# With MARNELL_SCREENSHOTS=DIR it also saves the pictures of the README there.
#   tray.sh MARNELL2_EXE TYPING_TARGET_EXE
set -u
E2E_MARNELL_EXE=$(realpath "$1") E2E_TARGET_EXE=$(realpath "$2")
source "$(dirname "$0")/lib/harness.sh"
SHOTS=${MARNELL_SCREENSHOTS:+$(realpath -m "$MARNELL_SCREENSHOTS")}
[ -n "$SHOTS" ] && mkdir -p "$SHOTS"

# Screen positions in the 1024x768 desktop: the icon is the notification
# area's only one; the menu opens above it; the dialog is centred.
ICON_X=1013 ICON_Y=757
# Menu entries lie at fixed offsets below the menu's top edge, which varies.
MENU_ABOUT_Y=10 MENU_ENGLISH_Y=36 MENU_CYMRAEG_Y=53 MENU_EXIT_Y=79 MENU_X=950
# Dialog controls lie at fixed offsets below the dialog's top edge.
CHECK_X=522 CHECK_Y=160 OK_X=651 OK_Y=191
SETTING='HKCU\Software\Corvane\Marnell2\Marnell 2'

shot() { [ -n "$SHOTS" ] && import -window root "$SHOTS/$1.png"; return 0; }
# colours_in X Y W H: how many distinct colours the screen shows there.
colours_in() { import -window root -crop "$3x$4+$1+$2" +repage -format '%k' info:; }
language() { wine reg query "$SETTING" /v Language 2>/dev/null | tr -d '\r' | awk '$1=="Language"{print $3}'; }
language_is() { [ "$(language)" = "$1" ]; }
# menu_top: the first row of the column x=MENU_X, from y=400 down, that is not
# the desktop's colour.
menu_top() { first_non_desktop_row $MENU_X 400; }
open_menu() { xdotool mousemove $ICON_X $ICON_Y click 3; sleep 0.6; MENU_TOP=$(menu_top); }
pick() { xdotool mousemove $MENU_X $((MENU_TOP + $1)) click 1; sleep 0.5; }
# first_non_desktop_row X FROM: the first row at or below FROM in column X
# that is not the desktop's colour.
first_non_desktop_row() {
  import -window root -crop "1x$((748 - $2))+$1+$2" +repage txt:- \
    | awk -v bg="$DESKTOP_COLOUR" -v from="$2" 'NR>1{split($1,a,"[,:]"); if ($3 != bg) {print from+a[2]; exit}}'
}
open_dialog() {
  xdotool mousemove $ICON_X $ICON_Y click --repeat 2 --delay 80 1; sleep 0.8
  DIALOG_TOP=$(first_non_desktop_row 600 150)
}
click_at() { xdotool mousemove "$1" $((DIALOG_TOP + $2)) click 1; sleep 0.4; }
chord_a() { e2e_expect_chars "$1" "$2" keydown Scroll_Lock key a keyup Scroll_Lock; }
layout() { e2e_write_layout "$E2E_WORK/default.vmap" 'KEY:145;' 'MOD:222;' 'LAYOUT:' "65;0;$1;$2;"; }

layout 225 193
e2e_start_desktop || exit 1
e2e_start_target || exit 1
DESKTOP_COLOUR=$(import -window root -crop 1x1+$MENU_X+400 +repage txt:- | awk 'NR==2{print $3}')

# Start-up: keys are translated while the splash still shows.
cp "$E2E_MARNELL_EXE" "$E2E_WORK/Marnell2.exe"
(cd "$E2E_WORK" && exec wine Marnell2.exe) >"$E2E_WORK/marnell.out" 2>&1 &
E2E_MARNELL_PID=$!; E2E_PIDS+=($E2E_MARNELL_PID)
e2e_wait_for 30 xdotool search --name '^Marnell$' || { echo "Marnell did not start" >&2; exit 1; }
sleep 1
shot splash
e2e_focus_target || exit 1
chord_a "chord during the splash" 225
e2e_wait_for 10 sh -c '[ "$(xdotool search --onlyvisible --name "^Marnell\$" | wc -l)" -eq 0 ]' || true

# A second copy ends at once, without a window of its own.
(cd "$E2E_WORK" && timeout 20 wine Marnell2.exe) >"$E2E_WORK/second.out" 2>&1; rc=$?
[ $rc -ne 124 ] && e2e_pass "second copy ends (exit code $rc)" || e2e_fail "second copy still running after 20 s"

[ "$(colours_in 1005 749 16 16)" -gt 4 ] && e2e_pass "icon in the notification area" || e2e_fail "no icon in the notification area"
xdotool mousemove $ICON_X $ICON_Y; sleep 1.5
shot tooltip

open_menu; shot menu-english; pick $MENU_CYMRAEG_Y
e2e_wait_for 10 language_is cy && e2e_pass "Cymraeg stores cy" || e2e_fail "Language is [$(language)] after Cymraeg"
open_menu; shot menu-welsh; pick $MENU_ENGLISH_Y
e2e_wait_for 10 language_is en && e2e_pass "English stores en" || e2e_fail "Language is [$(language)] after English"

# The About box covers the middle of the screen with the splash picture.
before=$(colours_in 412 334 200 100)
open_menu; pick $MENU_ABOUT_Y
after=$(colours_in 412 334 200 100)
[ "$after" -gt "$before" ] && e2e_pass "About box shown" || e2e_fail "no About box ($before -> $after colours)"
shot about
xdotool key Return; sleep 0.5

e2e_focus_target
chord_a "translation after the language switches" 225

open_dialog; shot dialog-english
click_at $CHECK_X $CHECK_Y; click_at $OK_X $OK_Y
e2e_focus_target; chord_a "unticked Enabled: untranslated" 97
open_dialog; click_at $CHECK_X $CHECK_Y; click_at $OK_X $OK_Y
e2e_focus_target; chord_a "ticked again: translated" 225

layout 250 218
open_dialog; click_at $OK_X $OK_Y
e2e_focus_target; chord_a "edited layout takes effect on OK" 250

# A layout file that breaks while running: re-enabling fails quietly, the
# installed hook stays and keeps the old tables.
rm -f "$E2E_WORK/default.vmap"
open_dialog; click_at $OK_X $OK_Y
kill -0 $E2E_MARNELL_PID 2>/dev/null && e2e_pass "alive after the layout file was deleted" || e2e_fail "died after the layout file was deleted"
e2e_focus_target; chord_a "deleted layout: old tables stay" 250
printf 'KEY:145;\r\nMO' >"$E2E_WORK/default.vmap"
open_dialog; click_at $OK_X $OK_Y
e2e_focus_target; chord_a "truncated layout: old tables stay" 250
# Once disabled, enabling with a broken file fails quietly and stays off.
open_dialog; click_at $CHECK_X $CHECK_Y; click_at $OK_X $OK_Y
open_dialog; click_at $CHECK_X $CHECK_Y; click_at $OK_X $OK_Y
kill -0 $E2E_MARNELL_PID 2>/dev/null && e2e_pass "alive after enabling with a truncated layout" || e2e_fail "died enabling with a truncated layout"
e2e_focus_target; chord_a "enabling with a truncated layout leaves translation off" 97
layout 225 193

open_menu; pick $MENU_CYMRAEG_Y
open_dialog; shot dialog-welsh; click_at $OK_X $OK_Y
open_menu; pick $MENU_ENGLISH_Y

open_menu; pick $MENU_EXIT_Y
if e2e_wait_for 15 sh -c "! kill -0 $E2E_MARNELL_PID"; then
  wait $E2E_MARNELL_PID; rc=$?
  [ $rc -eq 0 ] && e2e_pass "Exit ends with code 0" || e2e_fail "Exit ended with code $rc"
else
  e2e_fail "still running after Exit"
fi
xdotool mousemove 500 300; sleep 0.5
[ "$(colours_in 1005 749 16 16)" -le 4 ] && e2e_pass "icon removed on Exit" || e2e_fail "icon still shown after Exit"

e2e_finish
