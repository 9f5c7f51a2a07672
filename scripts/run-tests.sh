#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds everything and runs every test.
#   scripts/run-tests.sh              normal build in build/
#   scripts/run-tests.sh --sanitize   AddressSanitizer + UBSan build in build-asan/
# (the presets "default" and "sanitize" of CMakePresets.json). `ctest -LE package` in a
# build folder leaves out the slower checks of the installation and the package.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
dir="$root/build"
export TARVEX_PRESET=default
if [ "${1:-}" = "--sanitize" ]; then
    dir="$root/build-asan"
    export TARVEX_PRESET=sanitize
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp"
fi
"$root/scripts/build.sh" "$dir"
cd "$dir"
ctest --output-on-failure --parallel "$(nproc)"
