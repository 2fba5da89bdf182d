#!/usr/bin/env bash
# Generates a TOXSWA 5.5.3 example (FOCUS D1 ditch and R1 stream, substance CMPA), writes
# its settings file and runs the engine on it. Usage: run_example.sh BUILD_DIR
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build}" && pwd)"
engine="$build/engine/KIVO"
if [ ! -x "$engine" ]; then
  echo "The engine $engine is not built yet." >&2
  exit 1
fi

run="$build/example-run"
rm -rf "$run"
mkdir -p "$run/results"
echo "Generating the TOXSWA 5.5.3 example files in $run/input ..."
python3 "$here/generate_toxswa_example.py" "$run/input" --formats out553

settings="$run/example.kvo"
{
  printf '#                               KIVO SETTINGS FILE\r\n'
  printf '# Example run: FOCUS D1 ditch (segment 10) and R1 stream (segment 20), substance CMPA\r\n'
  printf '\r\n'
  printf '  DATA_SOURCE: toxswa_out_data_553\r\n'
  printf '  EVALUATION_PERIOD: complete\r\n'
  printf '  LOQ: 1.000E-10\r\n'
  printf '  THRESHOLD_CONCENTRATION_LEVEL: 1.000E-01\r\n'
  printf '  THRESHOLD_CONCENTRATION_LEVEL: 1.000E+00\r\n'
  printf '  THRESHOLD_CONCENTRATION_LEVEL: 5.000E+00\r\n'
  printf '  USER_DEFINED_PERCENTILE: 95\r\n'
  printf '  USER_DEFINED_WINDOW_SIZE: 56\r\n'
  printf '  INPUT_FILE: %s, segment=10\r\n' "$run/input/toxswa_553/D1_ditch.out"
  printf '  INPUT_FILE: %s, segment=20\r\n' "$run/input/toxswa_553/R1_stream.out"
  printf '  OUTPUT_DIRECTORY: %s\r\n' "$run/results"
  printf '  SUBSTANCE_SELECTION: CMPA\r\n'
  printf '  HOUR_SELECTION: FULL\r\n'
  printf '  UNIT_ID: 1\r\n'
  printf '  UNIT_NAME: \265g/L\r\n'
  printf '  UNIT_FACTOR: 1000\r\n'
} >"$settings"

echo "Running $engine $settings"
status=0
(cd "$run" && "$engine" "$settings" </dev/null) || status=$?
echo
echo "Settings file: $settings"
echo "Results:       $run/results"
exit "$status"
