#!/usr/bin/env bash
# Builds what a player needs into dist/: iii_kelvora.asi, iii_kelvora.ini and gps.asi.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure_packages.sh
ensure_packages "${BUILD_PACKAGES[@]}"

cmake -S . -B build/release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DCMAKE_BUILD_TYPE=Release -DKELVORA_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)"
echo "Built: $(cd dist && ls)"
