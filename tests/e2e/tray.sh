#!/bin/bash
# The tray icon and the configuration dialog as a user drives them: tooltip,
# menus in both languages with the stored setting, About, the Enabled box,
# layout edits and a broken layout file while running, a second copy, Exit.
# With MARNELL_SCREENSHOTS=DIR it also saves the pictures of the README there.
#   tray.sh MARNELL2_EXE TYPING_TARGET_EXE SHIPPED_LAYOUT MARNELL_PROBE_EXE
set -u
E2E_MARNELL_EXE=$(realpath "$1") E2E_TARGET_EXE=$(realpath "$2") PROBE=$(realpath "$4")
source "$(dirname "$0")/lib/harness.sh"
SHOTS=${MARNELL_SCREENSHOTS:+$(realpath -m "$MARNELL_SCREENSHOTS")}
[ -n "$SHOTS" ] && mkdir -p "$SHOTS"

# Screen positions in the 1024x768 desktop: the icon is the notification
# area's only one; the menu opens above it; the dialog is centred.
ICON_X=1013 ICON_Y=757
# Menu entries lie at fixed offsets below the menu's top edge, which varies.
MENU_CHARACTERS_Y=10 MENU_SHOW_CHARACTERS_Y=27
MENU_ENABLED_Y=53 MENU_SEPARATOR_Y=66 MENU_ABOUT_Y=79 MENU_ENGLISH_Y=105 MENU_CYMRAEG_Y=122 MENU_EXIT_Y=148
MENU_X=950
# Dialog controls lie at fixed offsets below the dialog's top edge.
CHECK_X=522 CHECK_Y=160 OK_X=651 OK_Y=191
SETTING='HKCU\Software\Corvane\Marnell2\Marnell 2'

# shot NAME AREA: saves that part of the screen (WxH+X+Y) as NAME.png.
shot() { [ -n "$SHOTS" ] && import -window root -crop "$2" +repage "$SHOTS/$1.png"; return 0; }
# shot_clear NAME AREA [X Y]: the same with the pointer parked at X,Y (the
# empty desktop by default) and the icon's tooltip gone from the picture.
# The pointer moves in every run, so that runs with and without pictures
# drive the program alike.
shot_clear() {
  xdotool mousemove "${3:-900}" "${4:-600}"
  wait_for 5 tooltip_hidden
  shot "$1" "$2"
}
# Picture areas: the whole screen for the splash and the About box (the
# desktop and the taskbar around them belong to the picture), the dialog
# with a margin, and the corner with the notification area for the menus.
SCREEN=1024x768+0+0 DIALOG_AREA=480x262+272+242 CORNER=320x200+704+568
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
# windows_of CLASS: "id x y width height name" of each visible X window of a
# Wine program (class = its lower-case executable name).
windows_of() {
  local id
  for id in $(xdotool search --onlyvisible --class "^$1\$" 2>/dev/null); do
    # xdotool's own geometry doubles the offsets of windows inside the Wine
    # desktop; xwininfo's absolute position is right.
    echo "$id $(xwininfo -id "$id" | awk -F: '/Absolute upper-left X/{x=$2} /Absolute upper-left Y/{y=$2}
      /Width/{w=$2} /Height/{h=$2} END{print x+0, y+0, w+0, h+0}') $(xdotool getwindowname "$id")"
  done
}
# The About box is Marnell's only large window without a caption.
about_boxes() { windows_of marnell2.exe | awk 'NF==5 && $4>300 && $5>200' | wc -l; }
about_count_is() { [ "$(about_boxes)" -eq "$1" ]; }
# The tray icon's tooltip belongs to the taskbar (explorer): a small window
# without a name just above the icon.
tooltip_window() { windows_of explorer.exe | awk -v iy=$ICON_Y 'NF==5 && $5>=10 && $5<40 && $4>=20 && $4<300 && $3>iy-60 && $3<iy {print $2, $3, $4, $5; exit}'; }
config_dialog_shown() { windows_of marnell2.exe | awk '$6=="Marnell" && NF==6' | grep -q .; }
tooltip_shown() { [ -n "$(tooltip_window)" ]; }
tooltip_hidden() { [ -z "$(tooltip_window)" ]; }
# The tray menu: Marnell's small window without a name in the screen's lower half.
menu_window() { windows_of marnell2.exe | awk 'NF==5 && $4<300 && $3>384 {print $2, $3, $4, $5; exit}'; }
# word_image X Y W H FILE: the dark pixels of that screen area, black on white,
# trimmed to the text.
word_image() { import -window root -crop "$3x$4+$1+$2" +repage png:- | convert - -colorspace gray -threshold 50% -trim +repage "$5"; }
# tooltip_says_marnell: no OCR here, so the tooltip's text is compared glyph for
# glyph with the last word of the menu's first entry, "About Marnell", drawn in
# the same font: it must match exactly and end where that entry ends.
tooltip_says_marnell() {
  local found
  found=$(compare -metric AE -subimage-search "$E2E_WORK/menu-word.png" "$E2E_WORK/tip-word.png" null: 2>&1)
  local ae=${found%% *} at=${found##*@ }
  local mw tw; mw=$(identify -format '%w' "$E2E_WORK/menu-word.png"); tw=$(identify -format '%w' "$E2E_WORK/tip-word.png")
  [ "$ae" = "0" ] && [ $(( ${at%,*} + tw )) -eq "$mw" ]
}
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
wait_for 30 xdotool search --name '^Marnell$' || { echo "Marnell did not start" >&2; exit 1; }
# The dialog adds the icon just before it installs the hook.
icon_shown() { [ "$(colours_in 1005 749 16 16)" -gt 4 ]; }
wait_for 10 icon_shown || fail "no tray icon during the splash"
shot splash $SCREEN
e2e_focus_target || exit 1
chord_a "chord during the splash" 225
wait_for 10 sh -c '[ "$(xdotool search --onlyvisible --name "^Marnell\$" | wc -l)" -eq 0 ]' || true

# A second copy ends at once, without a window of its own.
(cd "$E2E_WORK" && timeout 20 wine Marnell2.exe) >"$E2E_WORK/second.out" 2>&1; rc=$?
[ $rc -ne 124 ] && pass "second copy ends (exit code $rc)" || fail "second copy still running after 20 s"

icon_shown && pass "icon in the notification area" || fail "no icon in the notification area"
xdotool mousemove $ICON_X $ICON_Y
wait_for 10 tooltip_shown && sleep 0.3
TIP=$(tooltip_window)
if [ -n "$TIP" ]; then
  set -- $TIP
  word_image $(($1 + 1)) $(($2 + 1)) $(($3 - 2)) $(($4 - 2)) "$E2E_WORK/tip-word.png"
fi

open_menu; shot_clear menu-english $CORNER $MENU_X $((MENU_TOP + MENU_SEPARATOR_Y))
MENU=$(menu_window)
[ -n "$MENU" ] && set -- $MENU && word_image $(($1 + 3)) $(($2 + MENU_ABOUT_Y - 9)) $(($3 - 6)) 20 "$E2E_WORK/menu-word.png"
if [ -z "$TIP" ]; then fail "no tooltip over the tray icon"
elif [ -z "$MENU" ]; then fail "no tray menu window to read the name from"
elif tooltip_says_marnell; then pass "tooltip says Marnell"
else fail "tooltip text differs from Marnell"; fi
pick $MENU_CYMRAEG_Y
wait_for 10 language_is cy && pass "Cymraeg stores cy" || fail "Language is [$(language)] after Cymraeg"
open_menu; shot_clear menu-welsh $CORNER $MENU_X $((MENU_TOP + MENU_SEPARATOR_Y)); pick $MENU_ENGLISH_Y
wait_for 10 language_is en && pass "English stores en" || fail "Language is [$(language)] after English"

open_menu; pick $MENU_ABOUT_Y
wait_for 10 about_count_is 1 && pass "About opens one About box" || fail "About boxes after About: $(about_boxes)"
shot_clear about $SCREEN
# While the box is open the tray still answers: a second About and the show
# command (double-click) must open nothing more.
open_menu
[ -n "$(menu_window)" ] || fail "no tray menu while the About box is open"
pick $MENU_ABOUT_Y
wait_for 2 about_count_is 2 && fail "a second About opened a second box" || pass "a second About opens no second box"
xdotool mousemove $ICON_X $ICON_Y click --repeat 2 --delay 80 1
wait_for 2 config_dialog_shown && fail "the show command opened the dialog while About is open" \
  || pass "no configuration dialog while About is open"
ABOUT=$(windows_of marnell2.exe | awk 'NF==5 && $4>300 && $5>200 {print $2, $3, $4, $5; exit}')
if [ -n "$ABOUT" ]; then
  # Its OK button is centred on 134 x 152 units of the 266 x 169 unit box.
  set -- $ABOUT
  xdotool mousemove $(($1 + $3 * 134 / 266)) $(($2 + $4 * 152 / 169)) click 1
  wait_for 10 about_count_is 0 && pass "OK closes the About box" || fail "About box still open after OK"
else
  fail "no About box left to close with OK"
fi

e2e_focus_target
chord_a "translation after the language switches" 225

# Enabled in the tray menu and Ctrl+Alt+Shift+M switch translation off and on;
# while it is off the icon shows its paused look.
open_menu; pick $MENU_ENABLED_Y
e2e_focus_target; chord_a "Enabled unticked in the tray menu: untranslated" 97
xdotool mousemove 900 600; sleep 0.3
shot tray-off $CORNER
[ "$(colours_in 1005 749 16 16)" -gt 4 ] && pass "the paused icon shows" || fail "no icon while translation is off"
open_menu; shot_clear menu-off $CORNER $MENU_X $((MENU_TOP + MENU_SEPARATOR_Y)); pick $MENU_ENABLED_Y
e2e_focus_target; chord_a "Enabled ticked again in the tray menu: translated" 225
e2e_focus_target; xdotool key ctrl+alt+shift+m; sleep 0.3
chord_a "Ctrl+Alt+Shift+M: untranslated" 97
xdotool key ctrl+alt+shift+m; sleep 0.3
chord_a "Ctrl+Alt+Shift+M again: translated" 225

# A program that exclude.txt lists gets every key untouched; the list is read
# when translation is switched on.
printf '# stays out of the typing target\r\n  TYPING_TARGET.EXE  # in any case\r\n' >"$E2E_WORK/exclude.txt"
xdotool key ctrl+alt+shift+m; sleep 0.3; xdotool key ctrl+alt+shift+m; sleep 0.3
chord_a "a listed program: untranslated" 97
# The foreground is followed wherever it goes, by a click or by another
# program, whether or not the system announces the change: a second typing
# target, a program that is not listed, below the first.
cp "$E2E_TARGET_EXE" "$E2E_WORK/second_target.exe"
: >"$E2E_WORK/second.log"
(cd "$E2E_WORK" && TYPING_TARGET_TITLE='Second target' TYPING_TARGET_AT=300,400 \
  exec wine second_target.exe second.log) >"$E2E_WORK/second.out" 2>&1 &
E2E_PIDS+=($!)
wait_for 30 grep -q '^ready' "$E2E_WORK/second.log" && wait_for 10 xdotool search --name '^Second target$' \
  || fail "the second typing target did not start"
SECOND_WIN=$(xdotool search --name '^Second target$' | head -n1)
in_second() { local E2E_LOG="$E2E_WORK/second.log"; "$@"; }
# Scroll Lock and A through SendInput from another process: keys reach the
# foreground window whatever has the X focus.
chord_a_sent() { e2e_expect_chars_by "$1" "$2" wine "$PROBE" keys d145 d65 u65 u145; }
e2e_focus_window "$SECOND_WIN" 540 500 "$E2E_WORK/second.log"; in_second chord_a "another program clicked to the front: translated" 225
e2e_focus_target; chord_a "the listed program clicked to the front again: untranslated" 97
wine "$PROBE" foreground 'Second target' || fail "the probe could not bring the second target to the front"
sleep 0.3; in_second chord_a_sent "another program brought to the front by a third: translated" 225
wine "$PROBE" foreground 'Typing target' || fail "the probe could not bring the typing target to the front"
sleep 0.3; chord_a_sent "the listed program brought back by a third: untranslated" 97
e2e_focus_target
printf '# nothing listed\r\nother.exe\r\n' >"$E2E_WORK/exclude.txt"
xdotool key ctrl+alt+shift+m; sleep 0.3; xdotool key ctrl+alt+shift+m; sleep 0.3
chord_a "no longer listed: translated" 225
rm -f "$E2E_WORK/exclude.txt"

open_dialog; shot_clear dialog-english $DIALOG_AREA
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
kill -0 $E2E_MARNELL_PID 2>/dev/null && pass "alive after the layout file was deleted" || fail "died after the layout file was deleted"
e2e_focus_target; chord_a "deleted layout: old tables stay" 250
printf 'KEY:145;\r\nMO' >"$E2E_WORK/default.vmap"
# The save itself is answered by the tray icon's balloon.
sleep 2.6; shot balloon 1024x120+0+648
open_dialog; click_at $OK_X $OK_Y
e2e_focus_target; chord_a "truncated layout: old tables stay" 250
# Once disabled, enabling with a broken file fails quietly and stays off.
open_dialog; click_at $CHECK_X $CHECK_Y; click_at $OK_X $OK_Y
open_dialog; click_at $CHECK_X $CHECK_Y; click_at $OK_X $OK_Y
kill -0 $E2E_MARNELL_PID 2>/dev/null && pass "alive after enabling with a truncated layout" || fail "died enabling with a truncated layout"
e2e_focus_target; chord_a "enabling with a truncated layout leaves translation off" 97
layout 225 193
# The failed enabling left the box ticked: OK alone now reads the mended file.
open_dialog; click_at $OK_X $OK_Y
e2e_focus_target; chord_a "mended layout: OK with the box still ticked resumes translation" 225

open_menu; pick $MENU_CYMRAEG_Y
open_dialog; shot_clear dialog-welsh $DIALOG_AREA; click_at $OK_X $OK_Y
open_menu; pick $MENU_ENGLISH_Y

# A saved layout takes effect at once, without the dialog.
layout 250 218
sleep 1.5
e2e_focus_target; chord_a "a saved layout is used without the dialog" 250
layout 225 193
sleep 1.5

# A long run of chords, typed as every check here types them: each one
# translated, and the hook, which works, never reinstalled.
e2e_focus_target
e2e_log_mark
for n in $(seq 40); do xdotool keydown Scroll_Lock key a keyup Scroll_Lock; done
e2e_settle
got=$(e2e_chars_since)
[ "$got" = "$(printf '225 %.0s' $(seq 40) | sed 's/ $//')" ] && pass "40 chords in a row translated" \
  || fail "40 chords in a row: got [$got]"
reinstalls=$(wine "$PROBE" reinstalls 2>/dev/null | tr -d '\r')
[ "$reinstalls" = 0 ] && pass "the working hook was never reinstalled" \
  || fail "the witness reinstalled the working hook [$reinstalls] times"

open_menu; pick $MENU_EXIT_Y
if wait_for 15 sh -c "! kill -0 $E2E_MARNELL_PID"; then
  wait $E2E_MARNELL_PID; rc=$?
  [ $rc -eq 0 ] && pass "Exit ends with code 0" || fail "Exit ended with code $rc"
else
  fail "still running after Exit"
fi
xdotool mousemove 500 300; sleep 0.5
[ "$(colours_in 1005 749 16 16)" -le 4 ] && pass "icon removed on Exit" || fail "icon still shown after Exit"

finish
