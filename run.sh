#!/usr/bin/env bash
# Installs what is missing, builds Plinx and starts the game.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLINX_BENCH=OFF
cmake --build build -j"$(nproc)" --target Plinx_DX9 Plinx_Launcher
exec ./build/Plinx_DX9 "$@"
