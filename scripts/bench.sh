#!/usr/bin/env bash
# Builds the benchmarks (Release) in build-bench/ and runs them. They print
# figures against peers measured in the same run; they never fail on speed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build bench
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSALY_BENCH=ON -DTESSALY_TESTS=OFF >/dev/null
cmake --build build-bench -j "$(nproc)"
# Each benchmark gets the command-line program's path, for those that run it.
for b in build-bench/bin/bench_*; do
  echo "== $(basename "$b")"
  "$b" "$PWD/build-bench/bin/tessaly-cli"
done
