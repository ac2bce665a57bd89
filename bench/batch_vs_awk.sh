#!/usr/bin/env bash
# Times ruruzir-convert's batch mode against awk doing one multiplication per row on the same
# million-row CSV file (frost points and pressures in mbar), and prints the ratios; then the
# same readings in a historian export whose value and pressure columns are chosen by name, a
# logger file with a per-row ambient temperature, and a long export (one row per tag and time:
# three tags, each with its unit, and a pressure tag joined by the timestamp), with the time per
# converted row against the wide export's and the peak memory of both.
#   bash bench/batch_vs_awk.sh [build folder]     (default build/native, built first)
# With BASELINE_CONVERTER=path (an earlier build of the program), its frost point -> ppmV time on
# the plain file is measured in the same run, for the ratio between the two.
set -euo pipefail

# shellcheck source=scripts/lib/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib/common.sh"
build_dir="${1:-}"
if [ -z "$build_dir" ]; then
  build_dir="$ruruzir_root/build/native"
  configure_build native "$build_dir"
  cmake --build "$build_dir" -j2 --target ruruzir-convert >/dev/null
fi
converter="$build_dir/ruruzir-convert"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
rows="$work/rows.csv"

awk 'BEGIN { for (i = 0; i < 1000000; i++)
               printf "%.1f,%.1f\n", -100 + 140 * (i % 1400) / 1400.0, 900 + (i % 300) }' >"$rows"
historian="$work/historian.csv"
awk 'BEGIN { print "Timestamp,TagName,Value,Units,Quality,Line_mbar"
             for (i = 0; i < 1000000; i++)
               printf "2026-01-01 %02d:%02d:%02d,FT-101,%.1f,degC,Good,%.1f\n", (i / 3600) % 24,
                      (i / 60) % 60, i % 60, -100 + 140 * (i % 1400) / 1400.0, 900 + (i % 300) }' \
  >"$historian"
logger="$work/logger.csv"
awk 'BEGIN { print "time,temp,dp"
             for (i = 0; i < 1000000; i++)
               printf "%d,%.1f,%.1f\n", i, 15 + (i % 100) / 10.0, -30 + (i % 300) / 10.0 }' >"$logger"

long="$work/long.csv"
awk 'BEGIN { print "Timestamp,TagName,Value,Units,Quality"
             for (i = 0; i < 250000; i++) {
               t = sprintf("2026-01-01 %02d:%02d:%02d", (i / 3600) % 24, (i / 60) % 60, i % 60)
               printf "%s,AI-101,%.1f,degC frost,Good\n", t, -100 + 140 * (i % 1400) / 1400.0
               printf "%s,PT-100,%.1f,mbar,Good\n", t, 900 + (i % 300)
               printf "%s,AI-102,%.1f,ppm(v),Good\n", t, 1 + (i % 500)
               printf "%s,AI-103,%.1f,degF dp,Good\n", t, -40 + (i % 100) / 2.0 } }' >"$long"

# Peak memory of one run, in MB.
peak_mb() {
  /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1 | awk '{ printf "%.1f", $1 / 1024 }'
}

# One run, in microseconds.
best1() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}

# The best of three runs, in seconds.
best() {
  local best_time=""
  for _ in 1 2 3; do
    local start end elapsed
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    elapsed=$(((end - start) / 1000))
    if [ -z "$best_time" ] || [ "$elapsed" -lt "$best_time" ]; then best_time=$elapsed; fi
  done
  awk -v us="$best_time" 'BEGIN { printf "%.3f", us / 1e6 }'
}

# shellcheck disable=SC2016  # the program is awk's
awk_time=$(best awk -F, '{printf "%s,%s,%.1f\n",$1,$2,$1*1.5+$2}' "$rows")
ppmv_time=$(best "$converter" --to ppmv --batch "$rows")
frost_time=$(best "$converter" --batch "$rows")
named_time=$(best "$converter" --to ppmv --column Value --pressure-column Line_mbar --batch "$historian")
ambient_time=$(best "$converter" --to rh --column dp --ambient-column temp --batch "$logger")
long_args=(--to ppmv --column Value --from-column Units --pressure-where TagName=PT-100
  --key Timestamp --batch "$long")
long_time=$(best "$converter" "${long_args[@]}")
named_mb=$(peak_mb "$converter" --to ppmv --column Value --pressure-column Line_mbar --batch "$historian")
long_mb=$(peak_mb "$converter" "${long_args[@]}")

if [ -n "${BASELINE_CONVERTER:-}" ]; then
  # Turn about, five times each, so that both meet the same load on a shared machine.
  baseline_time="" this_time=""
  for _ in 1 2 3 4 5; do
    b=$(best1 "$BASELINE_CONVERTER" --to ppmv --batch "$rows")
    t=$(best1 "$converter" --to ppmv --batch "$rows")
    if [ -z "$baseline_time" ] || [ "$b" -lt "$baseline_time" ]; then baseline_time=$b; fi
    if [ -z "$this_time" ] || [ "$t" -lt "$this_time" ]; then this_time=$t; fi
  done
  awk -v b="$baseline_time" -v p="$this_time" 'BEGIN {
    printf "frost point -> ppmV, baseline build %6.3f s, this build %6.3f s: %.2f x baseline\n",
           b / 1e6, p / 1e6, p / b }'
fi
awk -v a="$awk_time" -v p="$ppmv_time" -v f="$frost_time" -v n="$named_time" -v r="$ambient_time" 'BEGIN {
  printf "awk, one multiplication per row:  %6.3f s\n", a
  printf "frost point -> ppmV:               %6.3f s  %.2f x awk  %4.2f million rows/s\n", p, p / a, 1 / p
  printf "frost point -> frost point:        %6.3f s  %.2f x awk  %4.2f million rows/s\n", f, f / a, 1 / f
  printf "named columns of 6, -> ppmV:       %6.3f s  %.2f x ppmV %4.2f million rows/s\n", n, n / p, 1 / n
  printf "per-row ambient, dew point -> %%RH:  %6.3f s  %.2f x ppmV %4.2f million rows/s\n", r, r / p, 1 / r
}'
# 750000 rows converted of the long export's million, against the wide export's million.
awk -v n="$named_time" -v l="$long_time" -v nm="$named_mb" -v lm="$long_mb" 'BEGIN {
  printf "long export, 3 tags + joined pressure: %6.3f s  %.2f x the wide export per converted row\n", l, (l / 750000) / (n / 1000000)
  printf "peak memory: wide export %.1f MB, long export %.1f MB\n", nm, lm
}'
