#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Random input for the real editor under AddressSanitizer and UBSan: builds the editor
# in build-asan/ (configured as run-tests.sh --sanitize does) and runs the seeded
# random-input driver tests/app/monkey.py in a virtual X server, by default for three
# minutes. A sanitizer report, crash, hang or exit of the editor, or a figure that does
# not read back as it was saved, makes the script fail; the driver prints the seed
# first and, on a failure, the command that replays the run.
#   scripts/run-monkey.sh [--minutes M] [--seed N] [--events K] [--work DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
dir="$root/build-asan"
if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$dir" -G Ninja -DTARVEX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
fi
cmake --build "$dir" --parallel "$(nproc)" --target tarvex tarvex_e2e_layout
exec python3 "$root/tests/app/monkey.py" "$dir/src/tarvex" "$dir/tests/app/tarvex_e2e_layout" "$@"
