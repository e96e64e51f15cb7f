#!/usr/bin/env bash
# Builds everything and runs every test: the native ones (settings reader, its fuzzer,
# the DLL files' shape) and the ones that run under Wine inside the simulated host.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure_packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

root=$(pwd)
jobs=$(nproc)

cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/native -j "$jobs"

cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DCMAKE_BUILD_TYPE=Release -DNATIVE_BUILD_DIR="$root/build/native" >/dev/null
cmake --build build/win -j "$jobs"

# One Wine prefix inside the build tree, created before the tests run, and one server
# kept alive for all of them.
export WINEPREFIX="$root/build/win/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >"$root/build/win/wineboot.log" 2>&1 || true
    wineserver -w
fi
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wineserver -p >/dev/null 2>&1 || true  # already running is fine

ctest --test-dir build/win --output-on-failure -j 1 </dev/null
