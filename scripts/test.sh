#!/usr/bin/env bash
# Builds everything in build/ and runs every test; then builds the fuzz targets
# with clang (ASan + UBSan) in build-fuzz/ and runs each for FUZZ_SECONDS.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build test fuzz
jobs=$(nproc)

cmake -S . -B build -G Ninja -DTESSALY_TESTS=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

if [ "${FUZZ_SECONDS:-30}" -gt 0 ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DTESSALY_FUZZ=ON -DTESSALY_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build-fuzz -j "$jobs"
  scripts/fuzz.sh build-fuzz "${FUZZ_SECONDS:-30}"
fi
echo "All tests passed."
