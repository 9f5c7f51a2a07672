#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pictures of the cube selection bar on its own, at 100 % scale: both tabs, with a
# picked and a hovered cell. Usage: tools/bar-screenshots.sh [OUTPUT_DIR] [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-/tmp/tarvex-bar}
build=${2:-$root/build}
cmake --build "$build" --target tst_cubeselectionbar
TARVEX_SCREENSHOT_DIR=$out QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=1 \
    "$build/tests/tst_cubeselectionbar" screenshots
ls -1 "$out"/bar-*.png
