#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures (once) and builds Tarvex in the given build folder, from a preset of
# CMakePresets.json (TARVEX_PRESET: default, sanitize or fuzz; "default" unless set).
# TARVEX_WERROR=ON or OFF turns warnings as errors on or off, also in a configured folder.
# TARVEX_TARGETS names the targets to build (all when unset).
# Usage: scripts/build.sh BUILD_DIR [extra cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$(mkdir -p "$1" && cd "$1" && pwd); shift
preset=${TARVEX_PRESET:-default}
werror=()
[ -n "${TARVEX_WERROR:-}" ] && werror=(-DTARVEX_WERROR="$TARVEX_WERROR")
if [ ! -f "$dir/CMakeCache.txt" ]; then
    (cd "$root" && cmake --preset "$preset" -B "$dir" "${werror[@]}" "$@")
elif [ ${#werror[@]} -gt 0 ]; then
    cmake -S "$root" -B "$dir" "${werror[@]}" >/dev/null
fi
targets=()
for t in ${TARVEX_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$dir" --parallel "$(nproc)" "${targets[@]}"
