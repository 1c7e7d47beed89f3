#!/usr/bin/env bash
# Starts the programmer. Until the desktop program exists this prints the listing of the
# start-up configuration through the command-line tool.
set -euo pipefail
bin="${1:-build/bin}"
if [ -x "$bin/kq904" ]; then
  exec "$bin/kq904" --simulate
fi
exec "$bin/kq904-cli" listing
