#!/usr/bin/env bash
# make-screenshot.sh [BUILD_DIR]
# Renders docs/screenshot.png: the main window on a fresh demo directory (the
# real emulator's listing, preview on, pong's snapshot), without a display.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$(cd "${1:-$root/build}" && pwd)

cmake --build "$build_dir" --target lorvane lorvane_screenshot
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/scripts/prepare-demo.sh" "$build_dir" "$work/demo"

mkdir -p "$root/docs"
HOME="$work" QT_QPA_PLATFORM=offscreen \
  "$build_dir/bin/lorvane_screenshot" "$work/demo" "$root/docs/screenshot.png" pong
