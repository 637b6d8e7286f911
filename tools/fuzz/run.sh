#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# in build-fuzz/ and runs one or both for a while. Not part of the test suite or CI.
#   tools/fuzz/run.sh [seconds per target, default 600] [json|language|both, default both]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds="${1:-600}"
which="${2:-both}"
cmake -S tools/fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j4

run() {
  local target="$1" seeds="$2" dict="$3"
  local corpus="build-fuzz/corpus-$seeds"
  mkdir -p "$corpus" "build-fuzz/crashes-$seeds"
  cp -n tools/fuzz/seeds/"$seeds"/* "$corpus"/ 2>/dev/null || true
  ASAN_OPTIONS=detect_leaks=1 "build-fuzz/$target" "$corpus" -dict="tools/fuzz/$dict" \
    -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="build-fuzz/crashes-$seeds/" 2>&1 | tee "build-fuzz/$target.log" | grep -E "^#|DONE|ERROR|stat::" | tail -25
}

if [ "$which" = json ] || [ "$which" = both ]; then
  run fuzz_json_reader json json.dict
fi
if [ "$which" = language ] || [ "$which" = both ]; then
  run fuzz_language_file language language.dict
fi
