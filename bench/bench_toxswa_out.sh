#!/usr/bin/env bash
# Times a whole engine run on a 20-year hourly TOXSWA 5.5.3 .out file (segment 10,
# substance EXSW2, thresholds 0.001 0.01 0.02 mg/L) against the pandas peer and `cat`,
# alternating the three in each of five rounds; prints medians, ratios and KIVO's peak memory.
# Usage: bench_toxswa_out.sh BUILD_DIR   (a Release build with KIVO built)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:?usage: bench_toxswa_out.sh BUILD_DIR}" && pwd)"
peers="$(cd "$here/../../shared/peers" && pwd)"
rounds=5
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

echo "Writing the 20-year TOXSWA 5.5.3 file ..."
/usr/bin/python3 "$peers/gen_long_out.py" "$work/long.out"

/usr/bin/python3 - "$build/engine/KIVO" "$peers/pandas_peer.py" "$work" "$rounds" <<'PYTHON'
import os
import statistics
import subprocess
import sys
import time

kivo, peer, work, rounds = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
data = os.path.join(work, "long.out")
thresholds = ["0.001", "0.01", "0.02"]


def settings_file(output_dir):
    path = os.path.join(work, "bench.kvo")
    lines = ["  DATA_SOURCE: toxswa_out_data_553", "  EVALUATION_PERIOD: complete",
             "  LOQ: 1.000E-10"]
    lines += [f"  THRESHOLD_CONCENTRATION_LEVEL: {t}" for t in thresholds]
    lines += ["  USER_DEFINED_PERCENTILE: 95", "  USER_DEFINED_WINDOW_SIZE: 56",
              f"  INPUT_FILE: {data}, segment=10", f"  OUTPUT_DIRECTORY: {output_dir}",
              "  SUBSTANCE_SELECTION: EXSW2", "  HOUR_SELECTION: FULL", "  UNIT_ID: 0",
              "  UNIT_NAME: mg/L", "  UNIT_FACTOR: 1"]
    with open(path, "w", newline="") as f:
        f.write("".join(line + "\r\n" for line in lines))
    return path


def run(command, keep_output=True):
    """Wall time and peak resident memory (MiB) of one child, stdin closed."""
    console_path = os.path.join(work, "console.txt")
    with open(console_path if keep_output else os.devnull, "wb") as console:
        start = time.perf_counter()
        child = subprocess.Popen(command, cwd=work, stdin=subprocess.DEVNULL, stdout=console,
                                 stderr=subprocess.STDOUT)
        _, status, usage = os.wait4(child.pid, 0)
        seconds = time.perf_counter() - start
    code = os.waitstatus_to_exitcode(status)
    if code != 0:
        sys.stdout.write(open(console_path, encoding="latin-1").read())
        sys.exit(f"{command[0]} ended with exit code {code}")
    return seconds, usage.ru_maxrss / 1024.0


print(f"input file        {os.path.getsize(data) / 2**20:.1f} MiB")
kivo_runs, peer_runs, cat_runs = [], [], []
for round_number in range(rounds):
    output_dir = os.path.join(work, f"kivo-{round_number}")
    os.mkdir(output_dir)
    kivo_runs.append(run([kivo, settings_file(output_dir)]))
    prefix = os.path.join(work, f"peer-{round_number}")
    peer_runs.append(run(["/usr/bin/python3", peer, data, "10", "EXSW2", *thresholds,
                          "--out", prefix]))
    cat_runs.append(run(["cat", data], keep_output=False))


def median(runs):
    return statistics.median(seconds for seconds, _ in runs)


def listing(runs):
    return " ".join(f"{seconds:.3f}" for seconds, _ in runs)


kivo_s, peer_s, cat_s = median(kivo_runs), median(peer_runs), median(cat_runs)
print(f"KIVO              {kivo_s:8.3f} s (median of {rounds}: {listing(kivo_runs)})")
print(f"pandas peer       {peer_s:8.3f} s (median of {rounds}: {listing(peer_runs)})")
print(f"cat               {cat_s:8.3f} s (median of {rounds}: {listing(cat_runs)})")
print(f"KIVO peak memory  {max(m for _, m in kivo_runs):8.1f} MiB   (target: under 100)")
print(f"peer / KIVO       {peer_s / kivo_s:8.1f} x     (target: at least 10)")
print(f"KIVO / cat        {kivo_s / cat_s:8.1f} x     (target: at most 20)")
PYTHON
