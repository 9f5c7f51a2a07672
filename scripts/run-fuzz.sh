#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzzers with clang (libFuzzer + AddressSanitizer + UBSan) in build-fuzz/
# and runs them one after another, sharing the time given, by default 60 seconds: the
# figure loader, the clipboard fragment reader and the settings file reader (options
# and recent files). A crash, leak, timeout or sanitizer report makes the script fail.
#   scripts/run-fuzz.sh [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
"$root/scripts/deps.sh"
dir="$root/build-fuzz"
if [ ! -f "$dir/CMakeCache.txt" ]; then
    (cd "$root" && cmake --preset fuzz -B "$dir")
fi
# target, its folder under tests/, its committed seeds, the longest input
targets=(
    "fuzz_figurexml files fuzz-corpus 65536"
    "fuzz_fragment files fuzz-corpus-fragment 65536"
    "fuzz_settings document fuzz-corpus-settings 16384"
)
cmake --build "$dir" --parallel "$(nproc)" --target fuzz_figurexml fuzz_fragment fuzz_settings
share=$((seconds / ${#targets[@]}))
[ "$share" -ge 1 ] || share=1
mkdir -p "$dir/fuzz-artifacts"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp"
for entry in "${targets[@]}"; do
    read -r target folder seeds maxlen <<<"$entry"
    # New inputs go to a scratch corpus; the seeds in tests/data stay as committed.
    work="$root/tests/data/$seeds-work"
    mkdir -p "$work"
    "$dir/tests/$folder/$target" \
        -max_total_time="$share" -timeout=10 -rss_limit_mb=2048 -max_len="$maxlen" \
        -print_final_stats=1 -artifact_prefix="$dir/fuzz-artifacts/$target-" \
        "$work" "$root/tests/data/$seeds"
    echo "$target: no crash, leak or sanitizer report in ${share} s"
done
