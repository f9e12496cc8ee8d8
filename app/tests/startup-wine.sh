#!/usr/bin/env bash
# Starts the real executable under Wine and watches it from outside: refusals,
# the registry key of the first start, the splash's caption, place and lifetime,
# and the single-instance check while the splash shows; a window of another
# program titled "Marnell" blocks no start.
#   startup-wine.sh MARNELL2_EXE PROBE_EXE
# Uses the WINEPREFIX and DISPLAY that scripts/test.sh exports. The executable
# is copied under a name of its own, so its registry key is its own too.
set -u
exe="$1" probe_exe="$2"
name=MarnellStartupTest
key="HKCU\\Software\\Corvane\\$name\\Marnell 2"
work="$(mktemp -d)"
pids=()

source "$(dirname "${BASH_SOURCE[0]}")/wine-checks.sh"
suspend_default_desktop

cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done
  wine reg delete "HKCU\\Software\\Corvane\\$name" /f >/dev/null 2>&1
  restore_default_desktop
  rm -rf "$work"
}
trap cleanup EXIT

layout=$'NAME Test layout\r\nKEY:165;\r\nMOD:222;\r\nLAYOUT: /* key; modifier; lower; upper */\r\n65;0;225;193;\r\n'

# The splash is found by its size, so that a wrong caption is reported as such.
splash_window() {
  local w
  for w in $(xdotool search --onlyvisible --name '.*' 2>/dev/null); do
    xdotool getwindowgeometry "$w" 2>/dev/null | grep -q "Geometry: 407x284" && { echo "$w"; return; }
  done
}
has_splash() { [ -n "$(splash_window)" ]; }
no_splash() { [ -z "$(splash_window)" ]; }
any_marnell() { [ -n "$(xdotool search --name '^Marnell$' 2>/dev/null)" ]; }
ended() { ! kill -0 "$1" 2>/dev/null; }

start_in() {  # start_in DIR: starts the copy there, sets $started
  (cd "$1" && exec wine "$name.exe" >"$1/out.txt" 2>&1) &
  started=$!
  pids+=("$started")
}

wine reg delete "HKCU\\Software\\Corvane\\$name" /f >/dev/null 2>&1

# No layout file: ends on its own and never shows a window.
mkdir "$work/nolayout"
cp "$exe" "$work/nolayout/$name.exe"
start_in "$work/nolayout"
seen=0
for ((i = 0; i < 150; i++)); do
  any_marnell && seen=1
  ended "$started" && break
  sleep 0.1
done
ended "$started" || fail "start without default.vmap did not end"
[ $seen -eq 0 ] || fail "start without default.vmap showed a window"
wine reg query "$key" >/dev/null 2>&1 && fail "start without default.vmap created the registry key"

# First start: the splash shows, centred, titled "Marnell", and goes after the pause.
mkdir "$work/run"
cp "$exe" "$work/run/$name.exe"
printf '%s' "$layout" >"$work/run/default.vmap"
start_in "$work/run"
first=$started
if wait_for 20 has_splash; then
  shown=$(date +%s.%N)
  splash=$(splash_window)
  geometry=$(xdotool getwindowgeometry "$splash")
  echo "$geometry" | grep -q "Position: 308,242" || fail "splash not centred: $geometry"
  [ "$(xdotool getwindowname "$splash")" = "Marnell" ] || fail "splash caption is not Marnell"

  # A second copy while the splash shows: ends with no window of its own.
  mkdir "$work/second"
  cp "$exe" "$work/second/$name.exe"
  printf '%s' "$layout" >"$work/second/default.vmap"
  start_in "$work/second"
  wait_for 15 ended "$started" || fail "second copy during the splash did not end"

  wait_for 10 no_splash || fail "splash still shown 10 s after it appeared"
  gone=$(date +%s.%N)
  lasted=$(echo "$gone - $shown" | bc)
  echo "splash shown for about $lasted s"
  # Three seconds after the dialog exists, which itself takes a moment to build;
  # the polls that see it come and go may each be late by a few tenths.
  (( $(echo "$lasted >= 2.7 && $lasted <= 12" | bc) )) || fail "splash lasted $lasted s"
else
  fail "no 407x284 splash window appeared"
fi
ended "$first" && fail "first copy ended after start-up"
any_marnell || fail "no hidden Marnell dialog after start-up"
# The key is made before the splash shows. It is looked for with the same
# bounded wait as everything else this test watches from outside, and what the
# registry tool last said goes into the failure message.
key_found() { reg_answer=$(wine reg query "$key" 2>&1); }
wait_for 5 key_found || fail "first start did not create $key; reg query said: $reg_answer"

# A second copy once the first runs: also ends at once.
start_in "$work/second"
wait_for 15 ended "$started" || fail "second copy while running did not end"
[ "$(xdotool search --onlyvisible --name '^Marnell$' 2>/dev/null | wc -l)" -eq 0 ] ||
  fail "second copy while running showed a window"

# The first copy leaves as the tray menu's Exit makes it leave. Ending every
# Wine process instead would make the next start bring up Wine's own services
# again, which on a busy machine took longer than the waits below allow.
wine "$probe_exe" post "$(resource_id ID_TRAY_EXIT)" >"$work/exit.txt" 2>&1
wait_for 15 ended "$first" || fail "first copy still running 15 s after Exit: $(cat "$work/exit.txt")"

# Another program's window titled "Marnell" (a folder of that name, as the
# install folder is): the program still starts, and a second copy still ends.
wine "$probe_exe" window Marnell 60 >"$work/probe.txt" 2>&1 &
pids+=($!)
wait_for 20 any_marnell || fail "the probe's window titled Marnell did not appear: $(cat "$work/probe.txt")"
start_in "$work/run"
third=$started
wait_for 20 has_splash || fail "a window titled Marnell of another program blocked the start"
start_in "$work/second"
wait_for 15 ended "$started" || fail "a second copy beside it did not end"
ended "$third" && fail "the copy started beside another program's Marnell window ended"
wineserver -k >/dev/null 2>&1

finish "all start-up checks passed"
