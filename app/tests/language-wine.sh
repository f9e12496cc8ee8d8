#!/usr/bin/env bash
# The stored language and the language commands of the real executable under
# Wine, watched and driven from another process by marnell_probe: which dialog
# and tray menu a stored text gives, what a language command keeps and stores,
# the dialogs and tray icon left after switches, Exit and its exit code, and
# what the program does during the start-up pause (answers, translates, exits).
#   language-wine.sh MARNELL2_EXE MARNELL_PROBE_EXE TYPING_TARGET_EXE
# Uses the WINEPREFIX and DISPLAY that scripts/test.sh exports. The executable
# is copied under a name of its own, so its registry key is its own too.
set -u -o pipefail
exe=$(realpath "$1") probe_exe=$(realpath "$2") target_exe=$(realpath "$3")
name=MarnellLanguageTest
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


probe() { wine "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }
# state_is LINE...: every LINE is among what the probe sees now.
state_is() {
  local now line
  now=$(probe state)
  for line in "$@"; do grep -qxF -- "$line" <<<"$now" || return 1; done
}
# windows_are LINE...: the same, from the window list alone (asks the program nothing).
windows_are() {
  local now line
  now=$(probe windows)
  for line in "$@"; do grep -qxF -- "$line" <<<"$now" || return 1; done
}
# expect NAME LINE...: within 3 s the probe sees every LINE; else the failure
# shows all it saw.
expect() {
  local name=$1; shift
  if wait_for 3 state_is "$@"; then pass "$name"; else fail "$name: wanted [$*], saw [$(probe state | paste -sd';')]"; fi
}
setting() { wine reg query "$key" 2>/dev/null | tr -d '\r'; }
language() { wine reg query "$key" /v Language 2>/dev/null | tr -d '\r' | awk '$1=="Language"{print $3}'; }
ended() { ! kill -0 "$1" 2>/dev/null; }

mkdir "$work/run"
cp "$exe" "$work/run/$name.exe"
printf 'NAME Test layout\r\nKEY:145;\r\nMOD:222;\r\nLAYOUT:\r\n65;0;225;193;\r\n' >"$work/run/default.vmap"

start() {  # sets $app; returns once the first dialog exists (during the pause)
  (cd "$work/run" && exec wine "$name.exe" >"$work/out.txt" 2>&1) &
  app=$!
  pids+=("$app")
  wait_for 30 windows_are "dialogs 1" || { fail "no dialog 30 s after the start"; return 1; }
}
# exit_app NAME [post-first]: Exit as the tray menu sends it (or as sent to the
# first dialog, which a switch replaced); the process ends with code 0.
exit_app() {
  probe "${2:-post}" "$ID_TRAY_EXIT"
  if wait_for 15 ended "$app"; then
    wait "$app"; local rc=$?
    [ $rc -eq 0 ] && pass "$1: exit code 0" || fail "$1: exit code $rc"
  else
    fail "$1: still running 15 s after Exit"
  fi
  wait_for 5 windows_are "dialogs 0" "splash 0" || fail "$1: a Marnell window is left after Exit"
}
stored() {  # stored TEXT: the key with Language = TEXT
  wine reg delete "HKCU\\Software\\Corvane\\$name" /f >/dev/null 2>&1
  wine reg add "$key" /v Language /t REG_SZ /d "$1" /f >/dev/null 2>&1
}

ID_TRAY_EXIT=$(resource_id ID_TRAY_EXIT) ID_LANGUAGE_ENGLISH=$(resource_id ID_LANGUAGE_ENGLISH)
ID_LANGUAGE_CYMRAEG=$(resource_id ID_LANGUAGE_CYMRAEG)
[ -n "$ID_TRAY_EXIT" ] && [ -n "$ID_LANGUAGE_ENGLISH" ] && [ -n "$ID_LANGUAGE_CYMRAEG" ] ||
  { echo "command identifiers not found in the resource header"; exit 1; }

# The stored text picks the dialog (by its Enabled box) and the tray menu (the
# icon's identifier is its menu's number); only exactly "cy" is Welsh. A start
# reads the setting and writes nothing.
long=$(printf 'cy%.0s' $(seq 1 600))
for text in "cy" "CY" "cy " " cy" "fr" "" "$long" "cŷ" "сy" "cy-GB"; do
  label="stored [${text:0:12}]"
  stored "$text"
  before=$(setting)
  start || continue
  if [ "$text" = "cy" ]; then
    expect "$label: Welsh dialog and menu" "chain Galluogi" "icons 148" "visible 0" "ticked 1"
  else
    expect "$label: English dialog and menu" "chain Enabled" "icons 133" "visible 0" "ticked 1"
  fi
  exit_app "$label"
  [ "$(setting)" = "$before" ] || fail "$label: the start changed the setting: [$before] -> [$(setting)]"
done

# Language commands, starting with nothing stored.
wine reg delete "HKCU\\Software\\Corvane\\$name" /f >/dev/null 2>&1
start
wait_for 10 windows_are "splash 0" || fail "splash still shown 10 s after the dialog appeared"
wine reg query "$key" >/dev/null 2>&1 && [ -z "$(language)" ] || fail "first start: key missing or a language stored"
expect "nothing stored: English" "dialogs 1" "chain Enabled" "icons 133" "ticked 1"

# With nothing stored, English is not yet the language held: a new dialog.
probe send "$ID_LANGUAGE_ENGLISH" || fail "English not handled"
expect "English from nothing stored: a new English dialog, still enabled" \
  "dialogs 2" "chain Enabled Enabled" "icons 133" "visible 0" "ticked 1"
[ "$(language)" = en ] && pass "English stores en" || fail "English stored [$(language)]"

probe send "$ID_LANGUAGE_ENGLISH" || fail "English again not handled"
expect "English again: nothing changes" "dialogs 2" "chain Enabled Enabled" "icons 133" "ticked 1"
[ "$(language)" = en ] || fail "English again stored [$(language)]"

probe send "$ID_LANGUAGE_CYMRAEG" || fail "Cymraeg not handled"
expect "Cymraeg, enabled: Welsh dialog, still enabled; two hidden dialogs behind it, one icon" \
  "dialogs 3" "chain Enabled Enabled Galluogi" "icons 148" "visible 0" "ticked 1"
[ "$(language)" = cy ] && pass "Cymraeg stores cy" || fail "Cymraeg stored [$(language)]"

probe untick || fail "OK with Enabled unticked not handled"
expect "unticked and OK: translation off" "dialogs 3" "ticked 0"
probe send "$ID_LANGUAGE_CYMRAEG" || fail "Cymraeg again not handled"
expect "Cymraeg again: nothing changes" "dialogs 3" "chain Enabled Enabled Galluogi" "icons 148" "ticked 0"
[ "$(language)" = cy ] || fail "Cymraeg again stored [$(language)]"

probe send "$ID_LANGUAGE_ENGLISH" || fail "English not handled"
expect "English, disabled: English dialog, still disabled, one icon" \
  "dialogs 4" "chain Enabled Enabled Galluogi Enabled" "icons 133" "visible 0" "ticked 0"
[ "$(language)" = en ] && pass "English stores en" || fail "English stored [$(language)]"
exit_app "Exit sent to the first, replaced dialog after switches" post-first

# The start-up pause: the main thread answers, and Exit then ends the program
# with code 0, splash and all.
wine reg delete "HKCU\\Software\\Corvane\\$name" /f >/dev/null 2>&1
# Under Wine on a bare X server, hiding the freshly shown dialog keeps the main
# thread busy for a moment before the pause begins; the questions start once it
# has answered the first time.
answers_once() { probe answers 200 0 >/dev/null; }
if start; then
  wait_for 10 answers_once || fail "pause: the main thread never answered"
  answer=$(probe answers 300 1000); rc=$?
  if ! grep -qx "splash 1" <<<"$answer"; then
    fail "pause: the splash was gone before the main thread had been asked ($(paste -sd' ' <<<"$answer"))"
  elif [ $rc -eq 0 ]; then
    pass "pause: the main thread answers while the splash shows"
  else
    fail "pause: the main thread does not answer while the splash shows ($(head -n1 <<<"$answer"))"
  fi
  windows_are "splash 1" || fail "pause: the splash was gone before Exit"
  exit_app "Exit during the pause"
fi

# Keys typed during the pause are translated: the chord's character arrives
# while the splash still shows.
log="$work/keys.log"
: >"$log"
(cd "$work" && exec wine "$target_exe" keys.log >"$work/target.out" 2>&1) &
pids+=($!)
wait_for 30 grep -q '^ready' "$log" || fail "typing target did not start"
target=$(xdotool search --name '^Typing target$' 2>/dev/null | head -n1)
focus_target() {
  xdotool mousemove 200 150 click 1 >/dev/null 2>&1
  xdotool windowfocus "$target" >/dev/null 2>&1
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$target" ]
}
chars() { tr -d '\r' <"$log" | awk '$1=="char"{printf "%s%s", s, $2; s=" "}'; }
if [ -n "$target" ] && start; then
  wait_for 10 answers_once || fail "pause: the main thread never answered"
  # The splash's window can take the focus as it shows: focus the target just
  # before typing, and type once more if the keys went elsewhere.
  for attempt in 1 2; do
    wait_for 3 focus_target || fail "could not focus the typing target"
    : >"$log"
    xdotool keydown Scroll_Lock key a keyup Scroll_Lock
    wait_for 2 sh -c "grep -q '^char' '$log'" && break
  done
  got=$(chars)
  if windows_are "splash 1"; then
    [ "$got" = 225 ] && pass "pause: chord translated while the splash shows" ||
      fail "pause: chord typed [$got], wanted [225]"
  else
    fail "pause: the splash was gone before the chord's character was seen (got [$got])"
  fi
  exit_app "Exit after the chord"
fi

finish "all language and start-up pause checks passed"
