#!/usr/bin/env bash
# Builds tessaly-cli in build/ and runs it with the given arguments (--help by default).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh build
cmake -S . -B build -G Ninja -DTESSALY_TESTS=OFF >/dev/null
cmake --build build --target tessaly-cli tessaly
[ $# -eq 0 ] && set -- --help
exec build/bin/tessaly-cli "$@"
