#!/usr/bin/env bash
# Installs what is missing, builds Plinx and runs every test: the normal build under
# Xvfb (tests labelled `display` need it), the thread tests under ThreadSanitizer, and
# the AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
jobs="$(nproc)"
xvfb=(xvfb-run -a -s "-screen 0 1280x1024x24")

echo "=== normal build ==="
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
(cd build && "${xvfb[@]}" ctest --output-on-failure -j"$jobs")

echo "=== thread sanitizer (thread tests) ==="
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DPLINX_TSAN=ON -DPLINX_BENCH=OFF
cmake --build build-tsan -j"$jobs" --target eng_tests plat_dsound_tests plat_modmusic_tests online_tests
(cd build-tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -R 'EngThread|EngMutex|Threads\.|Threads_')

echo "=== sanitizer build (address, undefined) ==="
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DPLINX_SANITIZE=ON -DPLINX_BENCH=OFF
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
   ctest --output-on-failure -j"$jobs" -LE display)
