#!/usr/bin/env bash
# Times a whole engine run on a generated 20-year hourly series (175,320 rows, five
# thresholds, ready concentration file) and splits one series analysis into its parts.
# Usage: bench_analysis.sh BUILD_DIR   (a Release build with KIVO and all_benchmarks built)
set -euo pipefail
build="$(cd "${1:?usage: bench_analysis.sh BUILD_DIR}" && pwd)"
runs=5
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$build/bench/generate_series" "$work"

# Wall time and peak resident memory of each run, measured on the child itself.
python3 - "$build/engine/KIVO" "$work" "$runs" <<'PYTHON'
import os
import statistics
import subprocess
import sys
import time

kivo, work, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
series = os.path.join(work, "series.con")


def run(command):
    with open(os.path.join(work, "console.txt"), "wb") as console:
        start = time.perf_counter()
        child = subprocess.Popen(command, cwd=work, stdin=subprocess.DEVNULL, stdout=console)
        _, status, usage = os.wait4(child.pid, 0)
        seconds = time.perf_counter() - start
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        sys.stdout.write(open(os.path.join(work, "console.txt"), encoding="latin-1").read())
        sys.exit(f"{command[0]} ended with exit code {child.returncode}")
    return seconds, usage.ru_maxrss / 1024.0


print(f"series             {os.path.getsize(series) / 2**20:.1f} MiB")
floor = [run(["cat", series])[0] for _ in range(runs)]
print(f"cat floor          {statistics.median(floor):8.3f} s (median of {runs})")
timings = [run([kivo, "settings.kvo"]) for _ in range(runs)]
seconds = [t for t, _ in timings]
print(f"KIVO run           {statistics.median(seconds):8.3f} s (median of {runs}: "
      + " ".join(f"{t:.3f}" for t in seconds) + ")")
print(f"KIVO peak memory   {max(m for _, m in timings):8.1f} MiB")
PYTHON

echo "-- one series, step by step (window_bench)"
"$build/bench/window_bench" "$work/series.con" "$work/reference summary.txt"
if cmp -s "$work/results/series_moving window summary.txt" "$work/reference summary.txt"; then
  echo "engine's moving window summary equals the one from the simple form: yes"
else
  echo "engine's moving window summary equals the one from the simple form: NO"
  exit 1
fi
