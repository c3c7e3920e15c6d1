#!/usr/bin/env bash
# Checks the packages as a user would use them. Needs the .deb and the tar.gz
# in build/package/ (cmake --workflow --preset package) and the zip in
# build/windows/ (cmake --workflow --preset windows), plus dpkg-deb, lintian,
# man, groff, unzip, wine and mingw-w64's g++. Fails on the first problem.
set -euo pipefail
cd "$(dirname "$0")/../.."

version=$(sed -n 's/^project(zorvandrel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=build/package/zorvandrel_${version}_amd64.deb
tgz=build/package/zorvandrel-${version}-Linux.tar.gz
zip=build/windows/zorvandrel-${version}-win64.zip
dialogue='ap\n1\n3\n1\n1\n1\n\n'
log_line=$'sgenerirovana programma mvk_id_14 v file ap.txt\r'

fail() {
  echo "package check failed: $*" >&2
  exit 1
}
step() { echo "== $*"; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/zv-packages-XXXXXX")
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k > /dev/null 2>&1
  rm -rf "$tmp"
}
trap cleanup EXIT

for f in "$deb" "$tgz" "$zip"; do [ -f "$f" ] || fail "$f is missing"; done

# One complete dialogue in a folder holding an empty logfile.txt: exit 0,
# ap.txt written there, exactly one line in the log. Under Wine a start that
# failed at once (exit 1, no output; Wine does that now and then) is retried.
printf "$dialogue" > "$tmp/dialogue"
check_run() {  # folder, command words...
  local dir=$1 rc=0
  shift
  for attempt in 1 2; do
    rc=0
    (cd "$dir" && "$@" < "$tmp/dialogue" > .out) || rc=$?
    [ "$rc" = 1 ] && [ ! -s "$dir/.out" ] && [ "$1" = wine ] && [ "$attempt" = 1 ] && continue
    break
  done
  [ "$rc" = 0 ] || fail "$* exited with $rc in $dir"
  grep -q $'^programma sgenerirovana v file ap.txt v papke programmy\r$' "$dir/.out" || fail "no confirmation line"
  head -n 1 "$dir/ap.txt" | grep -q '^program mvk_id_14;' || fail "ap.txt not written by $*"
  [ "$(cat "$dir/logfile.txt")" = "$log_line" ] || fail "logfile.txt does not hold exactly one line"
  rm "$dir/.out"
}

step "manual page: groff -man -ww -z"
warnings=$(groff -man -ww -z doc/zorvandrel.1 2>&1)
[ -z "$warnings" ] || fail "groff warnings: $warnings"

step "dpkg-deb -f $deb"
dpkg-deb -f "$deb"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zorvandrel ] || fail "Package"
[ "$(field Version)" = "$version" ] || fail "Version"
[ "$(field Architecture)" = amd64 ] || fail "Architecture"
for name in Section Maintainer Description; do [ -n "$(field "$name")" ] || fail "no $name"; done
for name in Depends Pre-Depends; do [ -z "$(field "$name")" ] || fail "$name must be empty: static binary"; done

step "dpkg-deb -c $deb"
contents=$(dpkg-deb -c "$deb")
echo "$contents"
for path in usr/bin/zorvandrel usr/share/man/man1/zorvandrel.1.gz usr/share/doc/zorvandrel/README.md \
    usr/share/doc/zorvandrel/FAQ.txt usr/share/doc/zorvandrel/copyright; do
  grep -q " \./$path\$" <<< "$contents" || fail "$path is not in the package"
done

step "the unpacked .deb: LF text files, --version and one dialogue"
dpkg-deb -x "$deb" "$tmp/deb"
for text in README.md FAQ.txt copyright; do
  ! grep -q $'\r' "$tmp/deb/usr/share/doc/zorvandrel/$text" || fail "$text in the .deb has CR LF line ends"
done
[ "$("$tmp/deb/usr/bin/zorvandrel" --version)" = "zorvandrel $version" ] || fail "--version"
mkdir "$tmp/run" && : > "$tmp/run/logfile.txt"
check_run "$tmp/run" "$tmp/deb/usr/bin/zorvandrel"

step "man -l the installed manual page"
page=$(MANWIDTH=80 man -l "$tmp/deb/usr/share/man/man1/zorvandrel.1.gz" 2> "$tmp/man.err")
[ -s "$tmp/man.err" ] && fail "man -l: $(cat "$tmp/man.err")"
for heading in NAME SYNOPSIS DESCRIPTION FILES "EXIT STATUS" EXAMPLES NOTES "SEE ALSO"; do
  grep -q "^$heading\$" <<< "$page" || fail "manual page without $heading"
done

step "lintian $deb"
lintian --fail-on error --info "$deb" || fail "lintian reports errors"

step "tar tzf $tgz"
tar tzf "$tgz" | tee "$tmp/tgz.list"
for path in bin/zorvandrel share/man/man1/zorvandrel.1.gz share/doc/zorvandrel/FAQ.txt; do
  grep -q "^zorvandrel-$version-Linux/$path\$" "$tmp/tgz.list" || fail "$path is not in the tar.gz"
done
# README and FAQ ship for users; CONTRIBUTING.md stays in the sources (the zip's list is exact below).
grep -qi contributing <<< "$contents"$'\n'"$(cat "$tmp/tgz.list")" && fail "CONTRIBUTING.md is in a package"

step "unzip -l $zip"
unzip -l "$zip"
folder=zorvandrel-$version-win64
[ "$(unzip -Z1 "$zip" | sort | tr '\n' ' ')" = \
  "$folder/FAQ.txt $folder/README.txt $folder/logfile.txt $folder/zorvandrel.exe " ] || fail "zip contents"
unzip -q "$zip" -d "$tmp/zip"
[ -s "$tmp/zip/$folder/logfile.txt" ] && fail "the shipped logfile.txt is not empty"
for text in FAQ.txt README.txt; do
  # every line ends with CR LF: no LF without a CR before it
  [ "$(tr -d -c '\n' < "$tmp/zip/$folder/$text" | wc -c)" = "$(grep -c $'\r$' "$tmp/zip/$folder/$text")" ] ||
    fail "$text has lines without CR LF"
done

step "the unzipped folder: one dialogue with wine zorvandrel.exe"
export WINEPREFIX="$tmp/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i > /dev/null 2>&1 || fail "wineboot failed"
wineserver -p || true  # a persistent server; already running after wineboot
check_run "$tmp/zip/$folder" wine zorvandrel.exe

step "zorvandrel.exe's version information and icon, read as Explorer reads them"
x86_64-w64-mingw32-g++ -std=c++20 -O1 -static -I src tests/support/win32_probe.cpp src/console/win32_platform.cpp \
  -lversion -o "$tmp/probe.exe" || fail "tests/support/win32_probe.cpp does not build"
description=$(sed -n 's/.* DESCRIPTION "\([^"]*\)".*/\1/p' CMakeLists.txt)
expected="version $(echo "$version.0.0.0" | cut -d. -f1-4)
ProductName Zorvandrel
ProductVersion $version
FileVersion $version
FileDescription Zorvandrel: $description
icon 16 32 48 256"
for attempt in 1 2; do  # a failed Wine start is retried, as above
  info=$(cd "$tmp/zip/$folder" && wine "$tmp/probe.exe" version zorvandrel.exe | tr -d '\r') || true
  [ "$info" = "$expected" ] && break
done
echo "$info"
[ "$info" = "$expected" ] || fail "version information or icon: expected
$expected"

echo "package checks passed"
