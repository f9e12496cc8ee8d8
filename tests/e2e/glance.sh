#!/bin/bash
# The characters at a glance, as a user meets them: the panel that holding the
# activation key shows (without taking the foreground, gone at the next key or
# the release, never for a quick chord), an armed accent's choices after a
# pause, and the tray menu's Characters window typing a searched-for letter
# into the window the user was writing in.
# With MARNELL_SCREENSHOTS=DIR it also saves the pictures of the README there.
#   glance.sh MARNELL2_EXE TYPING_TARGET_EXE SHIPPED_LAYOUT MARNELL_PROBE_EXE
set -u
E2E_MARNELL_EXE=$(realpath "$1") E2E_TARGET_EXE=$(realpath "$2") PROBE=$(realpath "$4")
source "$(dirname "$0")/lib/harness.sh"
SHOTS=${MARNELL_SCREENSHOTS:+$(realpath -m "$MARNELL_SCREENSHOTS")}
[ -n "$SHOTS" ] && mkdir -p "$SHOTS"
shot() { [ -n "$SHOTS" ] && import -window root -crop "$2" +repage "$SHOTS/$1.png"; return 0; }

ICON_X=1013 ICON_Y=757 MENU_X=950 MENU_CHARACTERS_Y=10
SETTING='HKCU\Software\Corvane\Marnell2\Marnell 2'

# Scroll Lock as the activation key: characters typed under Alt reach Wine's
# edit control with 0x2000 added.
e2e_write_layout "$E2E_WORK/default.vmap" \
  'NAME e2e Scroll Lock layout' 'KEY:145;' 'MOD:222;' 'LAYOUT:' \
  '65;0;226;194;' '69;0;234;202;' '87;0;373;372;' '89;0;375;374;' '65;1;225;193;' '87;1;7811;7810;'

panel_shown() { [ -n "$(xdotool search --onlyvisible --name '^Marnell characters$' 2>/dev/null)" ]; }
panel_hidden() { ! panel_shown; }
front_is() { [ "$(wine "$PROBE" front 2>/dev/null | tr -d '\r')" = "$1" ]; }
characters_window() { xdotool search --onlyvisible --name '^Characters$' 2>/dev/null | head -n1; }
characters_shown() { [ -n "$(characters_window)" ]; }
# open_characters: the tray menu's first entry; the menu's top edge is the
# first row above the icon, from y=400 down, that is not the desktop's colour.
open_characters() {
  xdotool mousemove $ICON_X $ICON_Y click 3; sleep 0.8
  local desktop menu_top
  desktop=$(import -window root -crop 1x1+5+5 +repage txt:- | awk 'NR==2{print $3}')
  menu_top=$(import -window root -crop "1x348+$MENU_X+400" +repage txt:- |
    awk -v bg="$desktop" 'NR>1{split($1,a,"[,:]"); if ($3 != bg) {print 400+a[2]; exit}}')
  xdotool mousemove $MENU_X $((menu_top + MENU_CHARACTERS_Y)) click 1
}

wine reg delete "$SETTING" /f >/dev/null 2>&1
e2e_start_desktop || exit 1
e2e_start_target || exit 1
e2e_start_marnell || exit 1
e2e_focus_target || exit 1

# Something written already, as when a user stops to look for a letter.
xdotool type --delay 30 'Bore da, '
e2e_settle

# Held alone: the panel comes, the target stays in front, the release takes it away.
start=$(date +%s.%N)
xdotool keydown Scroll_Lock
if wait_for 5 panel_shown; then
  echo "panel on screen $(echo "$(date +%s.%N) - $start" | bc) s after the hold began"
  pass "holding the activation key shows the panel"
  front_is "Typing target" && pass "the panel leaves the foreground alone" ||
    fail "the panel took the foreground: $(wine "$PROBE" front 2>/dev/null)"
else
  fail "no panel while the activation key was held"
fi
xdotool keyup Scroll_Lock
wait_for 3 panel_hidden && pass "releasing the key takes the panel away" || fail "the panel stayed after the release"

# A chord typed while it shows is translated, and the panel goes at its key.
e2e_log_mark
xdotool keydown Scroll_Lock
wait_for 5 panel_shown || fail "no panel for the second hold"
xdotool key w
wait_for 3 panel_hidden && pass "a key takes the panel away" || fail "the panel stayed after a key"
xdotool keyup Scroll_Lock
e2e_settle
[ "$(e2e_chars_since)" = "373" ] && pass "the chord typed while it showed was translated" ||
  fail "the chord typed while the panel showed gave [$(e2e_chars_since)]"

# A quick chord never shows it.
seen=0
xdotool keydown Scroll_Lock key a keyup Scroll_Lock
for _ in $(seq 15); do panel_shown && seen=1; sleep 0.1; done
[ $seen -eq 0 ] && pass "a quick chord shows no panel" || fail "a quick chord showed the panel"

# An armed accent and a pause: its choices, gone with the next key, which types.
e2e_log_mark
xdotool keydown Scroll_Lock key apostrophe
wait_for 5 panel_shown && pass "a pause after an accent shows its choices" || fail "no panel after an accent"
xdotool key w keyup Scroll_Lock
wait_for 3 panel_hidden || fail "the accent's panel stayed after the next key"
e2e_settle
[ "$(e2e_chars_since)" = "7811" ] && pass "the accent's letter was typed" ||
  fail "after the accent's panel got [$(e2e_chars_since)]"

# Characters…: opened from the tray menu, searched by Welsh name, Enter types
# into the window the user was writing in.
open_characters
if wait_for 10 characters_shown; then
  pass "Characters… opens its window"
  window=$(characters_window)
  xdotool windowfocus "$window" 2>/dev/null
  xdotool type --delay 60 'to bach w'
  sleep 0.5
  e2e_log_mark
  xdotool key Return
  e2e_settle
  [ "$(e2e_chars_since)" = "373" ] && pass "\"to bach w\" then Enter typed ŵ into the target" ||
    fail "\"to bach w\" then Enter gave [$(e2e_chars_since)]"
  wait_for 3 sh -c '! xdotool search --onlyvisible --name "^Characters\$" >/dev/null 2>&1' ||
    fail "the Characters window stayed after Enter"
else
  fail "Characters… opened no window"
fi

# The README's pictures, with the shipped layout (AltGr, taken on save).
# AltGr is pressed through SendInput: from xdotool, Wine's raw input also
# reports a left Alt, which Windows' AltGr never sends.
if [ -n "$SHOTS" ]; then
  cp "$3" "$E2E_WORK/default.vmap"
  sleep 2
  e2e_focus_target
  wine "$PROBE" keys d162 d165 >/dev/null 2>&1
  wait_for 5 panel_shown && shot panel-english 1024x768+0+0
  wine "$PROBE" keys u165 u162 >/dev/null 2>&1
  open_characters
  wait_for 10 characters_shown && xdotool type --delay 60 'to bach' && sleep 0.5 && shot characters-search 1024x768+0+0
  xdotool key Escape
  wine "$PROBE" send "$(awk '$2=="ID_LANGUAGE_CYMRAEG"{print $3}' "$(dirname "$0")/../../app/res/resource.h")" >/dev/null 2>&1
  e2e_focus_target
  wine "$PROBE" keys d162 d165 >/dev/null 2>&1
  wait_for 5 panel_shown && shot panel-welsh 1024x768+0+0
  wine "$PROBE" keys u165 u162 >/dev/null 2>&1
  wine reg delete "$SETTING" /f >/dev/null 2>&1
fi

finish
