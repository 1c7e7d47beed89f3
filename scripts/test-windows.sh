#!/usr/bin/env bash
# make test-windows: the Qt-free core (the model, the link's state machine and receive parser,
# the listing on the character grid, the form logic, the simulated radio) and its tests,
# cross-built for Windows with MinGW-w64 in build-windows/ and run under Wine in a throw-away
# prefix. Qt for MinGW is not packaged in Debian, so the Qt layers are proven on Linux only.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --windows

cmake --preset windows-core > /dev/null
cmake --build --preset windows-core

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/kq904-wine.XXXXXX")
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Nothing of Wine outlives the run: its server holds the prefix for a while after the last
# program ends.
finish() {
  "$wineserver" -k 2> /dev/null || true
  rm -rf "$WINEPREFIX"
}
trap finish EXIT

# The first start makes the prefix (several seconds); once, before the tests start in parallel.
"$wine" wineboot --init > /dev/null 2>&1 || true
"$wineserver" -w

ctest --preset windows-core
"$wineserver" -w
