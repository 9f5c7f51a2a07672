#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Captures the two screen pictures of the help pages from the running editor:
#   src/resources/help/mainwin.png   the main window with an impossible triangle
#   src/resources/help/mainwin2.png  the same after opening the "Constructor" tab,
#                                    switching select-and-move on and selecting all
# Both are 460 x 270 (wide enough for the whole toolbar). The editor runs under a private virtual X server with a fresh
# settings store and data folder (no recovery copy of the user's asks to be restored),
# so nothing of the user's desktop, settings or work is involved.
#
#   scripts/capture-screens.sh [OUTDIR]
#
# The clicks go to fixed points of the window; if the window's layout changes, set
#   TARVEX_TAB_POINT     "x y" of the "Constructor" tab           (default "95 12")
#   TARVEX_SELECT_POINT  "x y" of the select-and-move button       (default "170 17")
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${TARVEX_BUILD_DIR:-$root/build}"
out="${1:-$root/src/resources/help}"
tab_point=(${TARVEX_TAB_POINT:-95 12})
select_point=(${TARVEX_SELECT_POINT:-170 17})
# The window is captured at twice the picture size and scaled down.
width=920
height=540

"$root/scripts/deps.sh"
for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "$tool is needed (xvfb, xdotool, imagemagick)" >&2; exit 1; }
done
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja
fi
cmake --build "$build" --target tarvex tarvex_helppictures

tmp=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$tmp"
}
trap cleanup EXIT

"$build/tests/tools/tarvex_helppictures" figure "$tmp/triangle.xml"

# A virtual X server on a free display number.
exec 3>"$tmp/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 50); do
    [ -s "$tmp/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(head -n 1 "$tmp/display")"

XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1 \
    "$build/src/tarvex" "$tmp/triangle.xml" >/dev/null 2>&1 &
pids+=($!)

window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tarvex$' | head -n 1)
if [ -z "$window" ]; then
    echo "The Tarvex main window did not appear." >&2
    exit 1
fi
xdotool windowmove "$window" 0 0 windowsize "$window" "$width" "$height"
sleep 1

capture() {
    import -display "$DISPLAY" -window "$window" -resize 460x270\! "png24:$1"
    echo "wrote $1"
}

capture "$out/mainwin.png"

xdotool mousemove --window "$window" "${tab_point[@]}" click 1
sleep 0.3
xdotool mousemove --window "$window" "${select_point[@]}" click 1
sleep 0.3
xdotool key --window "$window" ctrl+a
# Move the pointer away so no tooltip covers the picture.
xdotool mousemove --window "$window" $((width - 10)) $((height - 10))
sleep 1
capture "$out/mainwin2.png"
