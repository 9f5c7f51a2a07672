#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the figure-loader fuzzer with clang (libFuzzer + AddressSanitizer + UBSan)
# in build-fuzz/ and runs it, by default for 60 seconds. A crash, leak, timeout or
# sanitizer report makes the script fail.
#   scripts/run-fuzz.sh [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
"$root/scripts/deps.sh"
dir="$root/build-fuzz"
if [ ! -f "$dir/CMakeCache.txt" ]; then
    (cd "$root" && cmake --preset fuzz -B "$dir")
fi
cmake --build "$dir" --parallel "$(nproc)" --target fuzz_figurexml
# New inputs go to a scratch corpus; the seeds in tests/data stay as committed.
work="$root/tests/data/fuzz-corpus-work"
mkdir -p "$work" "$dir/fuzz-artifacts"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp"
"$dir/tests/files/fuzz_figurexml" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$dir/fuzz-artifacts/" \
    "$work" "$root/tests/data/fuzz-corpus"
echo "fuzz_figurexml: no crash, leak or sanitizer report in ${seconds} s"
