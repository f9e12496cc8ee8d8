#!/bin/bash
# A stock Windows machine has no GoogleTest: the Windows build must configure
# without it, with the tests left out. Here the cross build stands in for it,
# pointed at GoogleTest sources that do not exist.
#   configure-without-gtest.sh SOURCE_DIR
set -eu
source_dir=$1
scratch=$(mktemp -d); trap 'rm -rf "$scratch"' EXIT
if ! cmake -S "$source_dir" -B "$scratch" \
     -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-i686-posix.cmake" \
     -DMARNELL_GTEST_SOURCE="$scratch/no-googletest" >"$scratch/configure.log" 2>&1; then
  cat "$scratch/configure.log"
  echo "FAIL: the Windows build does not configure without GoogleTest"
  exit 1
fi
if ! grep -qx 'MARNELL_TESTS:BOOL=OFF' "$scratch/CMakeCache.txt"; then
  echo "FAIL: tests were not left out: $(grep '^MARNELL_TESTS' "$scratch/CMakeCache.txt")"
  exit 1
fi
echo "ok: the Windows build configures without GoogleTest, tests left out"
