#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the example figures of examples/ with the placing rule and draws their
# pictures for the Examples help page (src/resources/help/ex_*.png).
#
#   scripts/make-examples.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${TARVEX_BUILD_DIR:-$root/build}"

"$root/scripts/deps.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja
fi
cmake --build "$build" --target tarvex_examplefigures
tool="$build/tests/tools/tarvex_examplefigures"
"$tool" figures "$root/examples"
"$tool" pictures "$root/examples" "$root/src/resources/help"
