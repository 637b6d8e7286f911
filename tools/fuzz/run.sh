#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# in build-fuzz/, makes their seeds and runs them one after another, each for a while, at a
# low priority on one core. Not part of the tests (they only run each target's seeds once).
#   tools/fuzz/run.sh [seconds per target, default 600] [target ..., default all]
# Targets: json_reader language_file picture image_file wave_file resolution puzzle
#          test_record saved_game player_file scores_reply updater_reply send_puzzle_reply
#          submit_reply ingame_place
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds="${1:-600}"
shift || true
all="json_reader language_file picture image_file wave_file resolution puzzle test_record saved_game player_file scores_reply updater_reply send_puzzle_reply submit_reply ingame_place"
targets="${*:-$all}"
build=build-fuzz

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DPLINX_FUZZ=ON -DPLINX_BENCH=OFF >/dev/null
cmake --build "$build" -j4 --target fuzz_seeds $(for t in $targets; do echo "fuzz_$t"; done)
"$build/fuzz_seeds" "$build/fuzz-seeds" "$build/Data" tools/fuzz/seeds

for target in $targets; do
  corpus="$build/corpus/$target"
  crashes="$build/crashes/$target"
  mkdir -p "$corpus" "$crashes"
  options=()
  [ -f "tools/fuzz/$target.dict" ] && options+=(-dict="tools/fuzz/$target.dict")
  # The data set's pictures are large: mutating small ones runs many times faster.
  [ "$target" = image_file ] && options+=(-max_len=65536)
  # Room for 93 rows of the place finder's lists.
  [ "$target" = ingame_place ] && options+=(-max_len=8192)
  echo "=== $target ($seconds s)"
  # The corpus grows in $corpus; the seeds are read beside it and never changed.
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 nice -n 10 "$build/fuzz_$target" \
    "$corpus" "$build/fuzz-seeds/$target" "${options[@]}" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$crashes/" \
    >"$build/$target.log" 2>&1 || echo "!!! $target stopped with a finding: see $build/$target.log and $crashes/"
  grep -E "^#[0-9]+ *DONE|stat::number_of_executed_units|stat::peak_rss_mb|ERROR|cov:" "$build/$target.log" | tail -4
done
