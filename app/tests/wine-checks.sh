# Shared pieces of the checks that start the real executable under Wine and
# watch it from outside. Sourced by startup-wine.sh and language-wine.sh.

source "$(dirname "${BASH_SOURCE[0]}")/../../tests/lib/checks.sh"

# These checks need the programs' own X windows: a Wine virtual desktop made
# the prefix's default (by an end-to-end test that did not get to clean up)
# would hide them. The end-to-end tests need that default: a program started
# into a named desktop with "explorer /desktop=NAME prog.exe" instead does not
# pass its exit code on.
explorer_key='HKCU\Software\Wine\Explorer'
saved_desktop=
suspend_default_desktop() {
  saved_desktop=$(wine reg query "$explorer_key" /v Desktop 2>/dev/null | tr -d '\r' | awk '$1=="Desktop"{print $3}')
  [ -n "$saved_desktop" ] && wine reg delete "$explorer_key" /v Desktop /f >/dev/null 2>&1
  return 0
}
restore_default_desktop() {
  [ -n "$saved_desktop" ] && wine reg add "$explorer_key" /v Desktop /d "$saved_desktop" /f >/dev/null 2>&1
  return 0
}

# resource_id NAME: the number the resource header gives a command identifier.
resource_id() {
  awk -v n="$1" '$1=="#define" && $2==n {print $3}' "$(dirname "${BASH_SOURCE[0]}")/../res/resource.h"
}
