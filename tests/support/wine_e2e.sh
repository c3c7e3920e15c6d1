#!/bin/sh
# Runs the end-to-end suite against zorvandrel.exe under Wine, in a Wine
# prefix of its own that lives as long as this run.
#   wine_e2e.sh E2E_BINARY ZORVANDREL_EXE [gtest arguments...]
# Exit 77 (skipped) when Wine or the .exe is missing, unless ZV_WINE_REQUIRED
# is set, in which case that is a failure. The suite never tests yesterday's
# program: an .exe in its own build folder is brought up to date first (the
# build tool knows what it is made from); an .exe without one that is older
# than any file the Windows build uses is a failure.
e2e=$1
exe=$2
shift 2
# Wine and the suite never read the terminal the tests were started from.
exec < /dev/null

skip() {
  echo "skipped: $*"
  [ -n "${ZV_WINE_REQUIRED:-}" ] && exit 1
  exit 77
}
command -v wine > /dev/null 2>&1 || skip "wine is not installed (Debian: wine wine64)"
[ -f "$exe" ] || skip "$exe does not exist (cmake --workflow --preset windows builds it)"
build=$(dirname "$exe")
if [ -f "$build/build.ninja" ]; then
  cmake --build "$build" > "$build/.wine_e2e_build.log" 2>&1 ||
    { cat "$build/.wine_e2e_build.log"; echo "bringing $exe up to date failed"; exit 1; }
else
  sources=$(cd "$(dirname "$0")/../.." && pwd)
  newer=$(find "$sources/src" "$sources/cmake" "$sources/CMakeLists.txt" -type f \
    ! -name 'posix_*' ! -name 'web_*' -newer "$exe" -print -quit)
  if [ -n "$newer" ]; then
    echo "$exe is older than $newer: rebuild it first (cmake --build --preset windows)"
    exit 1
  fi
fi

root=$(mktemp -d "${TMPDIR:-/tmp}/zv-wine-XXXXXX") || exit 1
export WINEPREFIX="$root/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k > /dev/null 2>&1
  rm -rf "$root"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# The prefix is made once; a persistent server keeps each start quick.
wineboot -i > /dev/null 2>&1 || { echo "wineboot failed"; exit 1; }
wineserver -p

ZV_WINE_EXE="$exe" "$e2e" "$@"
