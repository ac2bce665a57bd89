#!/usr/bin/env bash
# Builds everything and runs every test:
#   build/native   portable core, core tests (GoogleTest), benchmarks (built, not run)
#   build/windows  calculator, core tests and window tests, run under Wine on a virtual display
#   build/sanitize core tests again with AddressSanitizer and UBSan (g++)
#   build/tsan     the library's tests with ThreadSanitizer (g++)
#   build/fuzz     libFuzzer targets, 12 s each (scripts/fuzz.sh --ci)
# Exits non-zero when a build or a test fails.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

native_dir="$root/build/native"
windows_dir="$root/build/windows"
export WINEPREFIX="$windows_dir/wine"
log_dir="$root/build/test-logs"

seconds() { date +%s; }
phase_start=$(seconds)
phase() {
  local now
  now=$(seconds)
  echo "== $1 ($((now - phase_start)) s)"
  phase_start=$now
}

xvfb_pid=""
cleanup() {
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

bash scripts/setup.sh
phase "setup"

mkdir -p "$log_dir"
cmake -S . -B "$native_dir" >"$log_dir/native-configure.log" || {
  cat "$log_dir/native-configure.log"
  exit 1
}
cmake --build "$native_dir" -j2
phase "native build"

cmake -S . -B "$windows_dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  >"$log_dir/windows-configure.log" || {
  cat "$log_dir/windows-configure.log"
  exit 1
}
cmake --build "$windows_dir" -j2
phase "windows build"

# Every Windows program must run on a bare Windows: it may import only the system DLLs on
# the list in packaging/check-imports.sh (no MinGW runtime DLLs).
windows_programs=("$windows_dir"/*.exe)
if [ -e "${windows_programs[0]}" ] && ! bash packaging/check-imports.sh "${windows_programs[@]}"; then
  exit 1
fi

failures=0
if ! ctest --test-dir "$native_dir" --output-on-failure 2>&1 | tee "$log_dir/native-ctest.log"; then
  failures=$((failures + 1))
fi
phase "native tests"

# --- Sanitizers and fuzzing (native) -------------------------------------------------------
# The core tests once more, built with AddressSanitizer and UndefinedBehaviorSanitizer (g++,
# build/sanitize); the first finding fails its test.
sanitize_dir="$root/build/sanitize"
cmake -S . -B "$sanitize_dir" -DRURUZIR_SANITIZE=ON >"$log_dir/sanitize-configure.log" || {
  cat "$log_dir/sanitize-configure.log"
  exit 1
}
cmake --build "$sanitize_dir" -j2 --target core_tests
phase "sanitizer build"
if ! UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ASAN_OPTIONS=detect_leaks=1 \
  ctest --test-dir "$sanitize_dir" -j2 --output-on-failure 2>&1 | tee "$log_dir/sanitize-ctest.log"; then
  failures=$((failures + 1))
fi
phase "sanitizer tests"

# The library's tests (four threads converting at once) built with ThreadSanitizer (g++,
# build/tsan); a data race fails the test.
tsan_dir="$root/build/tsan"
if ! { cmake -S . -B "$tsan_dir" -DRURUZIR_TSAN=ON >"$log_dir/tsan-configure.log" &&
  cmake --build "$tsan_dir" -j2 --target core_tests &&
  TSAN_OPTIONS=halt_on_error=1 ctest --test-dir "$tsan_dir" --output-on-failure 2>&1 |
  tee "$log_dir/tsan-ctest.log"; }; then
  failures=$((failures + 1))
fi
phase "thread sanitizer"

# Every libFuzzer target for 12 s with a fixed seed, on a copy of the seed corpus (clang,
# build/fuzz); longer runs: bash scripts/fuzz.sh [seconds].
if ! bash scripts/fuzz.sh --ci 12 2>&1 | tee "$log_dir/fuzz.log"; then
  failures=$((failures + 1))
fi
phase "fuzz"
# -------------------------------------------------------------------------------------------

# One virtual display for every Windows test; a stale Wine server of this prefix, which
# may belong to another display, goes first.
if [ -d "$WINEPREFIX" ]; then
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
fi
display_file="$log_dir/xvfb-display"
: >"$display_file"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" \
  >"$log_dir/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$display_file" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
if [ ! -s "$display_file" ]; then
  echo "Xvfb did not start:" >&2
  cat "$log_dir/xvfb.log" >&2
  exit 1
fi
DISPLAY=":$(head -n 1 "$display_file")"
export DISPLAY

# Make the Wine prefix (once) and start Wine's server before the timed tests.
RURUZIR_BUILD_DIR="$windows_dir" "$root/cmake/wine-run.sh" cmd /c exit 0 >/dev/null
phase "wine start on display $DISPLAY"

if ! ctest --test-dir "$windows_dir" --output-on-failure 2>&1 | tee "$log_dir/windows-ctest.log"; then
  failures=$((failures + 1))
fi
phase "windows tests"

# Packaging: the setup and the portable zip (scripts/dist.sh, on the build above), then the
# setup installed, started and uninstalled under Wine in a throwaway prefix of its own.
if ! bash scripts/dist.sh >"$log_dir/dist.log" 2>&1; then
  cat "$log_dir/dist.log" >&2
  echo "packaging: 0 passed, 1 failed" >"$log_dir/packaging.log"
  failures=$((failures + 1))
elif ! bash packaging/test-installer.sh 2>&1 | tee "$log_dir/packaging.log"; then
  failures=$((failures + 1))
fi
phase "packaging"

# One closing line for both runs.
passed=0
failed=0
for log in "$log_dir/native-ctest.log" "$log_dir/windows-ctest.log"; do
  line="$(grep -E '[0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)"
  if [ -n "$line" ]; then
    n_failed="$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")"
    n_total="$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")"
    passed=$((passed + n_total - n_failed))
    failed=$((failed + n_failed))
  fi
done
# The packaging checks count as well.
line="$(grep -E '^packaging: [0-9]+ passed, [0-9]+ failed$' "$log_dir/packaging.log" 2>/dev/null |
  tail -n 1 || true)"
if [ -n "$line" ]; then
  passed=$((passed + $(sed -E 's/^packaging: ([0-9]+) passed.*/\1/' <<<"$line")))
  failed=$((failed + $(sed -E 's/.* ([0-9]+) failed$/\1/' <<<"$line")))
fi
# The sanitizer run counts its tests, the fuzz run its targets (one failure when it did not
# get as far as running them).
line="$(grep -E '[0-9]+ tests? failed out of [0-9]+' "$log_dir/sanitize-ctest.log" | tail -n 1 || true)"
if [ -n "$line" ]; then
  n_failed="$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")"
  n_total="$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")"
  passed=$((passed + n_total - n_failed))
  failed=$((failed + n_failed))
fi
# The ThreadSanitizer run counts its tests too.
line="$(grep -E '[0-9]+ tests? failed out of [0-9]+' "$log_dir/tsan-ctest.log" 2>/dev/null | tail -n 1 || true)"
if [ -n "$line" ]; then
  n_failed="$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")"
  n_total="$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")"
  passed=$((passed + n_total - n_failed))
  failed=$((failed + n_failed))
fi
line="$(grep -E '^fuzz: [0-9]+ passed, [0-9]+ failed$' "$log_dir/fuzz.log" | tail -n 1 || true)"
if [ -n "$line" ]; then
  passed=$((passed + $(sed -E 's/^fuzz: ([0-9]+) passed.*/\1/' <<<"$line")))
  failed=$((failed + $(sed -E 's/.* ([0-9]+) failed$/\1/' <<<"$line")))
else
  failed=$((failed + 1))
fi
echo "tests: $passed passed, $failed failed"
if [ "$failures" -ne 0 ]; then
  exit 1
fi
