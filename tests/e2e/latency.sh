#!/bin/bash
# Median time from an xdotool key press to the target's WM_CHAR, 200 strokes
# each: (a) an untranslated key without Marnell, (b) the same with Marnell
# running, (c) a translated chord. Prints the medians and the ratios.
#   latency.sh MARNELL2_EXE TYPING_TARGET_EXE [STROKES]
set -u
E2E_MARNELL_EXE=$(realpath "$1") E2E_TARGET_EXE=$(realpath "$2")
STROKES=${3:-200}
export TYPING_TARGET_TIMES=1
source "$(dirname "$0")/lib/harness.sh"
e2e_write_layout "$E2E_WORK/default.vmap" 'KEY:145;' 'MOD:' 'LAYOUT:' '65;0;225;193;'

now_us() { echo $(( $(date +%s%N) / 1000 )); }

# measure SETUP-ARGS PRESS-ARGS RELEASE-ARGS: the median latency in microseconds.
measure() {
  local setup=$1 press=$2 release=$3 i t0 lines samples=()
  for ((i = 0; i < STROKES; i++)); do
    [ -n "$setup" ] && xdotool $setup
    lines=$(grep -c '^char' "$E2E_LOG")
    t0=$(now_us)
    xdotool $press
    local n=0
    until [ "$(grep -c '^char' "$E2E_LOG")" -gt "$lines" ] || [ $n -ge 200 ]; do n=$((n + 1)); sleep 0.005; done
    samples+=($(( $(grep '^char' "$E2E_LOG" | tail -n1 | awk '{print $3}') - t0 )))
    xdotool $release
  done
  printf '%s\n' "${samples[@]}" | sort -n | awk '{v[NR]=$1} END{print v[int((NR+1)/2)]}'
}

e2e_start_desktop || exit 1
e2e_start_target || exit 1
# Wine's own start-up work in a fresh desktop slows the first strokes for
# seconds: a discarded warm-up round keeps it out of the figures.
measure "" "keydown a" "keyup a" >/dev/null
a=$(measure "" "keydown a" "keyup a")
e2e_start_marnell || exit 1
e2e_focus_target || exit 1
measure "" "keydown a" "keyup a" >/dev/null  # the same for Marnell's start-up and splash
b=$(measure "" "keydown a" "keyup a")
c=$(measure "keydown Scroll_Lock" "keydown a" "keyup a keyup Scroll_Lock")
echo "strokes=$STROKES median_us: a=$a b=$b c=$c"
awk -v a="$a" -v b="$b" -v c="$c" 'BEGIN{printf "b/a=%.2f c/a=%.2f\n", b/a, c/a}'
