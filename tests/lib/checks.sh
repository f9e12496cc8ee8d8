# What every test script under Wine shares: its verdicts and its one bounded
# wait. Sourced.

CHECK_FAILURES=0
pass() { echo "ok: $*"; }
fail() { echo "FAIL: $*" >&2; CHECK_FAILURES=$((CHECK_FAILURES + 1)); }
# finish [SUMMARY]: exit 1 after any failure, else print SUMMARY and exit 0.
finish() {
  if [ "$CHECK_FAILURES" -ne 0 ]; then
    echo "$CHECK_FAILURES check(s) failed" >&2
    exit 1
  fi
  [ -n "${1:-}" ] && echo "$1"
  exit 0
}

# wait_for SECONDS COMMAND...: runs COMMAND, quietly, every tenth of a second
# until it succeeds; false once SECONDS have passed.
wait_for() {
  local limit=$(($1 * 10)) n
  shift
  for ((n = 0; n < limit; n++)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
