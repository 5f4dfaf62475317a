#!/bin/sh
# Builds the Debian package and has Debian's own checker look at it: no error and no warning may be
# left but the maintainer's address (at localhost: the game has no public address yet), which the
# package's changelog repeats. Prints the checker's report.
# Usage: LintianTest.sh <build folder>
set -u
build=$1
if ! command -v lintian >/dev/null 2>&1; then
    echo "[  SKIPPED ] no lintian"
    exit 0
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack --config CPackConfig.cmake -G DEB -B "$out" >"$out/cpack.txt" 2>&1) || {
    cat "$out/cpack.txt"
    exit 1
}
lintian "$out"/vimbo2_*.deb >"$out/lintian.txt" 2>&1
grep -v "^running with root privileges" "$out/lintian.txt"
left=$(grep -v "^running with root privileges" "$out/lintian.txt" |
    grep -v -E "^E: vimbo2: (bogus-mail-host Maintainer|bogus-mail-host-in-debian-changelog) vimbo2@localhost")
[ -z "$left" ]
