#!/bin/bash
# The shipped layout with AltGr as Windows presents it (left Ctrl + right Alt):
# each chord's own key stroke is swallowed and one injected VK_PACKET key-down
# and key-up reach the target per chord. (Wine ORs 0x2000 into such a WM_CHAR
# while Alt is held, so the key strokes are counted, and the character's low
# bits checked.) A key held down before AltGr is released for the application
# too, never left down.
#   altgr.sh MARNELL2_EXE TYPING_TARGET_EXE SHIPPED_LAYOUT PROBE_EXE
set -u
E2E_MARNELL_EXE=$(realpath "$1") E2E_TARGET_EXE=$(realpath "$2") PROBE=$(realpath "$4")
source "$(dirname "$0")/lib/harness.sh"
cp "$3" "$E2E_WORK/default.vmap"

e2e_start_desktop || exit 1
e2e_start_target || exit 1
e2e_start_marnell || exit 1
e2e_focus_target || exit 1

# key  lower character of the shipped layout's AltGr chord
for pair in "a 226" "e 234" "w 373" "y 375"; do
  set -- $pair
  e2e_log_mark
  xdotool keydown Control_L keydown Alt_R key "$1" keyup Alt_R keyup Control_L
  e2e_settle
  log=$(e2e_log_since)
  packets=$(grep -c '^down 231$' <<<"$log")
  packet_ups=$(grep -c '^up 231$' <<<"$log")
  chars=""
  for c in $(awk '$1=="char"{print $2}' <<<"$log"); do chars="${chars:+$chars }$(( c & ~0x2000 ))"; done
  letter_downs=$(grep -c "^\(sys\)\?down $(printf '%d' "'${1^^}")\$" <<<"$log")
  if [ "$packets" -eq 1 ] && [ "$packet_ups" -eq 1 ] && [ "$letter_downs" -eq 0 ] && [ "$chars" = "$2" ]; then
    pass "AltGr+$1: one VK_PACKET down and up, character $2"
  else
    fail "AltGr+$1: $packets VK_PACKET key-down(s), $packet_ups key-up(s), $letter_downs own key-down(s), characters [$chars]: $(tr '\n' ' ' <<<"$log")"
  fi
done

e2e_expect_chars "plain a without AltGr" "97" key a

# Hold a, press AltGr while a repeats, release both: the repeats become a
# circumflex, and the application, which saw a go down, sees it go up.
e2e_log_mark
wine "$PROBE" keys d65 d162 d165 d65 d65 u65 u165 u162 >"$E2E_WORK/keys.out" 2>&1
e2e_settle
state=$(wine "$PROBE" held 65 2>/dev/null | tr -d '\r')
log=$(e2e_log_since)
if [ "$state" = up ] && grep -q '^up 65$' <<<"$log" && [ "$(grep -c '^down 231$' <<<"$log")" -eq 2 ]; then
  pass "a held before AltGr: two circumflexes, then released"
else
  fail "a held before AltGr: system state [$state]: $(tr '\n' ' ' <<<"$log")"
fi
finish
