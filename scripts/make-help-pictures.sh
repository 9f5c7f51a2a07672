#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the pictures of the help pages, the About page, the help window and the
# desktop icon with the program's own cube painter, and cuts the toolbar button
# pictures of the help pages out of the main toolbar strip.
#
#   scripts/make-help-pictures.sh [STRIP]
#
# STRIP is the main window's 250 x 24 toolbar strip (drawn by scripts/make-pictures.py,
# not its @2x twin);
# by default the first src/resources/**/*toolbar*.png or .bmp. The screen pictures
# mainwin.png and mainwin2.png come from scripts/capture-screens.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${TARVEX_BUILD_DIR:-$root/build}"
help="$root/src/resources/help"
icons="$root/src/resources/icons"

strip="${1:-}"

"$root/scripts/deps.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja
fi
cmake --build "$build" --target tarvex_helppictures
tool="$build/tests/tools/tarvex_helppictures"

"$tool" pictures "$help"
"$tool" icons "$icons"
mv "$icons/helpicon.png" "$help/helpicon.png"

if [ -z "$strip" ]; then
    strip=$(find "$root/src/resources" \( -iname '*toolbar*.png' -o -iname '*toolbar*.bmp' \) ! -name '*@2x.*' | sort | head -n 1)
fi
if [ -z "$strip" ]; then
    echo "No toolbar strip found: run scripts/make-pictures.py first." >&2
    exit 1
fi
"$tool" buttons "$strip" "$help"

# The pictures of the Examples page, drawn from the figure files in examples/.
cmake --build "$build" --target tarvex_examplefigures
"$build/tests/tools/tarvex_examplefigures" pictures "$root/examples" "$help"

