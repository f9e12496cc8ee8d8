#!/usr/bin/env bash
# Builds and runs every test: the native build under ASan + UBSan, the benchmarks
# (built in Release and run once, briefly), the fuzz target (bounded run) and the
# Windows build with its tests under Wine.
#   scripts/test.sh                  all stages
#   scripts/test.sh native windows   only those stages
# MARNELL_BUILD_ROOT (default build/) holds the build trees.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
build="${MARNELL_BUILD_ROOT:-$root/build}"
jobs="$(nproc)"
stages=("$@")
[ ${#stages[@]} -eq 0 ] && stages=(native bench fuzz windows)

bash scripts/setup.sh
source scripts/lib/display.sh

configure_and_build() {  # preset [target...]
  local preset="$1"
  shift
  cmake --preset "$preset" -B "$build/$preset" >/dev/null
  cmake --build "$build/$preset" -j "$jobs" ${1:+--target "$@"}
}

stage_native() {
  configure_and_build native
  ctest --test-dir "$build/native" -j "$jobs" --output-on-failure
}

stage_bench() {
  configure_and_build bench
  local bench
  for bench in "$build"/bench/bench/*_bench; do
    "$bench" --benchmark_min_time=0.01
  done
}

stage_fuzz() {
  # Only the fuzz target: in this build the engine carries the fuzzer's instrumentation.
  configure_and_build fuzz layout_fuzzer
  local scratch
  scratch="$(mktemp -d)"
  "$build/fuzz/fuzz/layout_fuzzer" -max_total_time="${MARNELL_FUZZ_SECONDS:-60}" \
    -rss_limit_mb=1024 -max_len=65536 -print_final_stats=1 "$scratch" "$root/fuzz/corpus"
  rm -rf "$scratch"
}

stage_windows() {
  local preset
  preset=$(windows_preset)
  if [ "$preset" = windows64 ]; then
    echo "windows: this machine runs no 32-bit programs (IA-32 emulation is off), so 32-bit Wine cannot start;"
    echo "windows: the 32-bit program is built, and the tests run on the 64-bit build of the same sources."
    configure_and_build windows Marnell2 marnell-layout
  fi
  configure_and_build "$preset"
  start_private_display
  use_wine_prefix "$build/$preset/wineprefix" unmanaged
  local status=0
  # Tests that type keys or take the focus run alone (RUN_SERIAL); the rest in pairs.
  ctest --test-dir "$build/$preset" -j 2 --output-on-failure --timeout 300 || status=$?
  stop_wine
  stop_private_display
  return $status
}

trap 'stop_wine; stop_private_display' EXIT
for stage in "${stages[@]}"; do
  echo "=== $stage"
  "stage_$stage"
done
