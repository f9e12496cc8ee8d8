# The one bounded wait of every test script under Wine. Sourced.

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
