#!/usr/bin/env bash
# Runs every fuzz target found in BUILD/bin (named fuzz_*) for SECONDS each.
# Any crash, leak, sanitizer report or hang fails the run.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-30}
corpus_root=$(mktemp -d)
trap 'rm -rf "$corpus_root"' EXIT
status=0
for target in "$build"/bin/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  mkdir -p "$corpus_root/$name"
  seeds="$PWD/fuzz/seeds/${name#fuzz_}"
  echo "== $name (${seconds}s)"
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
       -print_final_stats=0 "$corpus_root/$name" $( [ -d "$seeds" ] && echo "$seeds" ) \
       >"$corpus_root/$name.log" 2>&1; then
    tail -n 60 "$corpus_root/$name.log"
    status=1
  else
    grep -E 'Done [0-9]+ runs' "$corpus_root/$name.log" || true
  fi
done
exit $status
