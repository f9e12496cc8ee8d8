# Shared pieces of the end-to-end tests. Sourced by each test script.
# Needs DISPLAY and WINEPREFIX from the caller (scripts/test.sh, or
# start_private_display + use_wine_prefix from scripts/lib/display.sh).
# Every wait is bounded polling; e2e_cleanup ends only what e2e_* started.

: "${DISPLAY:?DISPLAY must name the private Xvfb display}"
: "${WINEPREFIX:?WINEPREFIX must name the private Wine prefix}"

source "$(dirname "${BASH_SOURCE[0]}")/../../lib/checks.sh"

E2E_PIDS=()
E2E_WORK=$(mktemp -d /tmp/marnell-e2e.XXXXXX)

e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  # The prefix is shared with the other Windows tests, which expect no default desktop.
  [ -n "${E2E_DESKTOP_SET:-}" ] &&
    wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1
  # The desktop and the programs in it belong to this prefix's wineserver,
  # which is this test's own.
  wineserver -k >/dev/null 2>&1 || true
  for pid in "${E2E_PIDS[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$E2E_WORK"
}
trap e2e_cleanup EXIT


# Every program of a test runs in one virtual desktop with a taskbar; the
# prefix's default desktop is made that desktop, so that plain `wine prog.exe`
# lands in it and returns the program's exit code.
e2e_start_desktop() {
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d e2e /f >/dev/null 2>&1
  E2E_DESKTOP_SET=1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v e2e /d 1024x768 /f >/dev/null 2>&1
  wine explorer /desktop=e2e,1024x768 >"$E2E_WORK/desktop.out" 2>&1 &
  E2E_PIDS+=($!)
  wait_for 30 xdotool search --name '^e2e - Wine desktop$' \
    || { echo "no Wine desktop" >&2; return 1; }
}

# e2e_write_layout FILE LINES...: a layout file with CR LF line ends.
e2e_write_layout() {
  local file=$1; shift
  printf '%s\r\n' "$@" >"$file"
}

# e2e_start_target: the typing target, focused; its log is $E2E_LOG.
e2e_start_target() {
  E2E_LOG="$E2E_WORK/keys.log"
  : >"$E2E_LOG"
  (cd "$E2E_WORK" && exec wine "$E2E_TARGET_EXE" 'keys.log') >"$E2E_WORK/target.out" 2>&1 &
  E2E_TARGET_PID=$!
  E2E_PIDS+=($E2E_TARGET_PID)
  wait_for 30 grep -q '^ready' "$E2E_LOG" || { echo "typing target did not start" >&2; return 1; }
  wait_for 10 xdotool search --name '^Typing target$' || return 1
  E2E_TARGET_WIN=$(xdotool search --name '^Typing target$' | head -n1)
  e2e_focus_target
}

# Wine makes a window active only when it is clicked or raised by Wine itself;
# X focus alone leaves a splash or dialog of another process active.
e2e_focus_target() { e2e_focus_window "$E2E_TARGET_WIN" 200 150 "$E2E_LOG"; }
# e2e_focus_window WIN X Y LOG: clicks the window at X,Y of the screen and
# gives it X focus, until a Shift typed then reaches the window's log: X focus
# alone does not show that Wine delivers keys there yet (a machine under load
# lets Wine lag behind the X server).
e2e_focus_window() {
  local attempt n ups
  for attempt in 1 2 3 4 5; do
    xdotool mousemove "$2" "$3" click 1 >/dev/null 2>&1; sleep 0.2
    for n in 1 2 3 4 5 6 7 8 9 10; do
      xdotool windowactivate "$1" >/dev/null 2>&1 || true
      xdotool windowfocus "$1" >/dev/null 2>&1 || true
      [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && break
      sleep 0.2
    done
    ups=$(grep -c '^up 16' "$4")
    xdotool key shift
    wait_for 2 sh -c "[ \"\$(grep -c '^up 16' '$4')\" -gt $ups ]" && return 0
  done
  echo "keys do not reach window $1" >&2
  return 1
}

# e2e_start_marnell: Marnell2.exe in $E2E_WORK (which holds default.vmap).
# Waits until its splash has gone and the hidden dialog exists.
# The first start's welcome is taken as shown: its balloon would lie over the
# notification area that the tests click.
e2e_start_marnell() {
  wine reg add 'HKCU\Software\Corvane\Marnell2\Marnell 2' /v Welcomed /t REG_DWORD /d 1 /f >/dev/null 2>&1
  cp "$E2E_MARNELL_EXE" "$E2E_WORK/Marnell2.exe"
  (cd "$E2E_WORK" && exec wine Marnell2.exe) >"$E2E_WORK/marnell.out" 2>&1 &
  E2E_MARNELL_PID=$!
  E2E_PIDS+=($E2E_MARNELL_PID)
  wait_for 30 xdotool search --name '^Marnell$' || { echo "Marnell did not start" >&2; return 1; }
  # The splash, the only visible window titled Marnell, has gone: start-up is over.
  wait_for 15 e2e_no_visible_marnell || { echo "the splash did not go" >&2; return 1; }
}
e2e_no_visible_marnell() { [ -z "$(xdotool search --onlyvisible --name '^Marnell$' 2>/dev/null)" ]; }

# e2e_log_mark: remembers the log length, so e2e_log_since shows new lines only.
e2e_log_mark() { E2E_MARK=$(wc -l <"$E2E_LOG"); }
e2e_log_since() { tail -n +"$((E2E_MARK + 1))" "$E2E_LOG" | tr -d '\r'; }

# e2e_chars_since: the characters typed since the mark, as decimal values
# separated by spaces (the 0x2000 that Wine ORs in under Alt is kept).
e2e_chars_since() { e2e_log_since | awk '$1=="char"{printf "%s%s", s, $2; s=" "}'; }

# e2e_settle: waits until the log stops growing (keys are delivered async).
e2e_settle() {
  local before after n=0
  after=$(wc -l <"$E2E_LOG")
  while [ $n -lt 20 ]; do
    sleep 0.15
    before=$after; after=$(wc -l <"$E2E_LOG")
    [ "$before" = "$after" ] && [ $n -ge 2 ] && return 0
    n=$((n + 1))
  done
}

# e2e_expect_chars NAME EXPECTED XDOTOOL-ARGS...: types, then compares.
e2e_expect_chars() {
  local name=$1 expected=$2; shift 2
  e2e_expect_chars_by "$name" "$expected" xdotool "$@"
}
# e2e_expect_chars_by NAME EXPECTED COMMAND...: the same, typed by COMMAND.
e2e_expect_chars_by() {
  local name=$1 expected=$2; shift 2
  e2e_log_mark
  "$@"
  e2e_settle
  local got; got=$(e2e_chars_since)
  if [ "$got" = "$expected" ]; then pass "$name"; else fail "$name: expected [$expected] got [$got]"; fi
}
