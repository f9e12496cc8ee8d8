#!/bin/bash
# Direct chords and modifier sequences with an activation key that is not Alt
# (Scroll Lock, 145), in every case combination; cancelling; untouched keys.
#   characters.sh MARNELL2_EXE TYPING_TARGET_EXE
set -u
E2E_MARNELL_EXE=$(realpath "$1") E2E_TARGET_EXE=$(realpath "$2")
source "$(dirname "$0")/lib/harness.sh"

e2e_write_layout "$E2E_WORK/default.vmap" \
  'NAME e2e Scroll Lock layout' 'KEY:145;' 'MOD:222;' 'LAYOUT:' \
  '65;0;225;193;' '69;0;233;201;' '65;1;226;194;' '69;1;234;202;' '88;0;128512;128512;'

e2e_start_desktop || exit 1
e2e_start_target || exit 1
e2e_start_marnell || exit 1
e2e_focus_target || exit 1

# Lower case, Shift, Caps Lock, both: the case follows Shift xor Caps Lock.
e2e_expect_chars "chord a"            "225" keydown Scroll_Lock key a keyup Scroll_Lock
e2e_expect_chars "chord e"            "233" keydown Scroll_Lock key e keyup Scroll_Lock
e2e_expect_chars "chord Shift+a"      "193" keydown Scroll_Lock keydown Shift_L key a keyup Shift_L keyup Scroll_Lock
xdotool key Caps_Lock
e2e_expect_chars "chord a, Caps Lock" "193" keydown Scroll_Lock key a keyup Scroll_Lock
e2e_expect_chars "chord Shift+a, Caps Lock" "225" keydown Scroll_Lock keydown Shift_L key a keyup Shift_L keyup Scroll_Lock
xdotool key Caps_Lock

# Modifier sequences: the apostrophe arms modifier 1 and types nothing itself.
e2e_expect_chars "sequence ' a"       "226" keydown Scroll_Lock key apostrophe key a keyup Scroll_Lock
e2e_expect_chars "sequence ' Shift+e" "202" keydown Scroll_Lock key apostrophe keydown Shift_L key e keyup Shift_L keyup Scroll_Lock
e2e_expect_chars "two chords in one hold" "225 233" keydown Scroll_Lock key a key e keyup Scroll_Lock
# A character above U+FFFF arrives in the Unicode edit control as its surrogate pair.
e2e_expect_chars "chord x, U+1F600"   "55357 56832" keydown Scroll_Lock key x keyup Scroll_Lock

# An armed modifier followed by a key without a row cancels: the key arrives as it is.
e2e_expect_chars "cancel by z"        "122" keydown Scroll_Lock key apostrophe key z keyup Scroll_Lock
e2e_expect_chars "after cancel, plain chord" "225" keydown Scroll_Lock key a keyup Scroll_Lock

# Keys without rows, and keys typed without the activation key, are unchanged.
e2e_expect_chars "plain a e z"        "97 101 122" key a key e key z
e2e_expect_chars "plain apostrophe"   "39" key apostrophe

# The activation and modifier keys never reach the target as characters, and
# the armed modifier's own key-down is swallowed.
e2e_log_mark
xdotool keydown Scroll_Lock key apostrophe key a keyup Scroll_Lock
e2e_settle
got=$(e2e_chars_since)
if [ "$got" != "226" ] || e2e_log_since | grep -Eq '^(down|sysdown) 222$'; then
  fail "activation/modifier keys reached the target: $(e2e_log_since | tr '\n' ' ')"
else
  pass "activation and modifier keys typed nothing of their own"
fi

finish
