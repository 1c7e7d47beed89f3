#!/usr/bin/env bash
# Renders the program's windows offscreen to PNG files: the main window with a sample
# configuration, the first print preview page and the forms (see src/app/screenshots.cpp).
# Runs on a scratch data directory and profile, so no settings or table files are touched.
#   scripts/screenshots.sh [BIN_DIR] [OUT_DIR]
set -euo pipefail
bin="${1:-build/bin}"
out="${2:-build/screenshots}"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/data" "$scratch/config" "$scratch/runtime"
chmod 700 "$scratch/runtime"
# Every optional function on, so the forms show all their controls.
printf 'factory ani_version channel_name version_show_enable\n' >"$scratch/data/kq904.ini"
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" \
  "$bin/kq904" --data-dir "$scratch/data" --screenshots "$out"
