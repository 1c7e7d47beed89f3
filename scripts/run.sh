#!/usr/bin/env bash
# Starts the programmer with the built-in simulated radio attached, so Programming, Reading and
# "V" work without hardware. Its table files and kq904.ini live in build/run-data rather than
# in the source tree; on the first run that directory is created with a sample configuration
# (24 channels, every optional function on). Without the desktop program it prints the
# start-up listing through the command-line tool.
set -euo pipefail
bin="${1:-build/bin}"
data="$bin/../run-data"
if [ -x "$bin/kq904" ]; then
  if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
    echo "No display: run 'xvfb-run -a make run', or set QT_QPA_PLATFORM=offscreen." >&2
    exit 1
  fi
  exec "$bin/kq904" --simulate --sample --data-dir "$data"
fi
mkdir -p "$data"
exec "$bin/kq904-cli" listing --data-dir "$data"
