#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that every C++ source file follows .clang-format; with --fix, formats them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tool=$(command -v clang-format-14 || command -v clang-format) || { echo "clang-format is not installed"; exit 1; }
mapfile -t files < <(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h')
if [ "${1:-}" = "--fix" ]; then
    "$tool" -i "${files[@]}"
else
    "$tool" --dry-run --Werror "${files[@]}"
    echo "format: ${#files[@]} files follow .clang-format"
fi
