#!/usr/bin/env bash
# Runs every benchmark script (bench/bench_*.sh) against a Release build directory.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build-release}" && pwd)"
for script in "$here"/bench_*.sh; do
  [ -e "$script" ] || continue
  echo "== $(basename "$script" .sh)"
  bash "$script" "$build"
done
