#!/usr/bin/env bash
# Builds Marnell2.exe for Windows and starts it under Wine in a virtual desktop
# whose taskbar shows the tray icon, with the shipped layout as default.vmap.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MARNELL_BUILD_ROOT:-$root/build}"

bash "$root/scripts/setup.sh"
source "$root/scripts/lib/display.sh"
preset=$(windows_preset)
if [ "$preset" = windows64 ]; then
  echo "This machine runs no 32-bit programs (IA-32 emulation is off): starting the 64-bit build of Marnell."
fi
cmake --preset "$preset" -B "$build/$preset" -S "$root"
cmake --build "$build/$preset" --target Marnell2 -j2

run_dir="$build/run"
mkdir -p "$run_dir"
cp "$build/$preset/app/Marnell2.exe" "$run_dir/"
if [ ! -f "$root/default.vmap" ]; then
  echo "default.vmap is missing from $root: the program would refuse to start." >&2
  exit 1
fi
cp "$root/default.vmap" "$run_dir/default.vmap"

if [ -z "${DISPLAY:-}" ]; then
  start_private_display
  trap 'stop_wine; stop_private_display' EXIT
  echo "No DISPLAY: running on a private Xvfb display $DISPLAY."
  echo "Take a screenshot with: DISPLAY=$DISPLAY import -window root /tmp/marnell.png"
  echo "Press Ctrl+C to stop."
fi
use_wine_prefix "$build/run-wineprefix-$preset"
cd "$run_dir"
wine explorer /desktop=Marnell,1024x768 Marnell2.exe
