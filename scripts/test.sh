#!/usr/bin/env bash
# Builds everything and runs every test:
#   build/native   portable core, core tests (GoogleTest), benchmarks (built, not run)
#   build/python-venv  the Python package installed from the native build, its tests (pytest)
#   build/web      the web page (WebAssembly), tested in headless Chromium (tests/web/run.sh)
#   differential   one request through the converter, the library, Python and the page's module
#   build/windows  calculator, core tests and window tests, run under Wine on a virtual display
#   build/sanitize core tests again with AddressSanitizer and UBSan (g++)
#   build/tsan     the library's tests with ThreadSanitizer (g++)
#   build/fuzz     libFuzzer targets, 12 s each (scripts/fuzz.sh --ci)
#   dist/          the setup and the portable zip, the setup tested under Wine
# and first the layout of the changed C and C++ files (scripts/check-format.sh).
# The last line is "tests: N passed, M failed" over all of them; the logs are kept in
# build/test-logs. Exits non-zero when a build or a test fails.
set -euo pipefail

# shellcheck source=scripts/lib/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
root="$ruruzir_root"
cd "$root"

native_dir="$root/build/native"
windows_dir="$root/build/windows"
sanitize_dir="$root/build/sanitize"
log_dir="$root/build/test-logs"
use_wine_prefix "$windows_dir"

seconds() { date +%s; }
phase_start=$(seconds)
phase() {
  local now
  now=$(seconds)
  echo "== $1 ($((now - phase_start)) s)"
  phase_start=$now
}

# Every test run's output is shown and kept in build/test-logs/NAME.log, which the closing
# line counts; a run that fails makes the whole run fail.
failures=0
counted_logs=()
run_tests() {
  local log="$log_dir/$1.log"
  shift
  counted_logs+=("$log")
  if ! "$@" 2>&1 | tee "$log"; then
    failures=$((failures + 1))
  fi
}

# The closing line, the last line of the run: the sum over the counted logs of CTest's
# "N tests failed out of M" or of a script's closing "NAME: N passed, M failed" (packaging
# checks, fuzz targets). A log with neither counts as one failure.
summary() {
  local passed=0 failed=0 log line
  for log in "${counted_logs[@]}"; do
    line="$(grep -E '[0-9]+ tests? failed out of [0-9]+' "$log" 2>/dev/null | tail -n 1 || true)"
    if [[ $line =~ ([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+) ]]; then
      passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
      failed=$((failed + BASH_REMATCH[1]))
      continue
    fi
    line="$(grep -E '^[a-z]+: [0-9]+ passed, [0-9]+ failed$' "$log" 2>/dev/null | tail -n 1 || true)"
    if [[ $line =~ ^[a-z]+:\ ([0-9]+)\ passed,\ ([0-9]+)\ failed$ ]]; then
      passed=$((passed + BASH_REMATCH[1]))
      failed=$((failed + BASH_REMATCH[2]))
    else
      failed=$((failed + 1))
    fi
  done
  echo "tests: $passed passed, $failed failed"
}

trap stop_wine_session EXIT

bash scripts/setup.sh
phase "setup"

mkdir -p "$log_dir"
# The changed C and C++ files as clang-format writes them (every file in a fresh clone).
run_tests format bash scripts/check-format.sh
phase "format"

configure_build native "$native_dir" "$log_dir/native-configure.log"
cmake --build "$native_dir" -j2
phase "native build"

configure_build windows "$windows_dir" "$log_dir/windows-configure.log"
cmake --build "$windows_dir" -j2
phase "windows build"

# Every Windows program must run on a bare Windows: it may import only the system DLLs on
# the list in packaging/check-imports.sh (no MinGW runtime DLLs).
windows_programs=("$windows_dir"/*.exe)
if [ -e "${windows_programs[0]}" ] && ! bash packaging/check-imports.sh "${windows_programs[@]}"; then
  exit 1
fi

run_tests native-ctest ctest --test-dir "$native_dir" --output-on-failure
phase "native tests"

# --- Web page ---------------------------------------------------------------------------------
# The page built with Debian's emcc (scripts/web.sh) and tested in headless Chromium against
# the shared case table, which the native ruruzir-convert built above must still print.
run_tests web bash tests/web/run.sh
phase "web page"

# The Python package (python/) installed as a user installs it, offline, from the library of
# the native build into a virtual environment that sees Debian's numpy, pandas, pytest and
# Dask; then its tests (tests/python), run from outside the source tree so that they import
# the installed package. Ends with "python: N passed, M failed".
python_tests() {
  local venv="$root/build/python-venv" log="$log_dir/python-pytest.log" passed failed
  rm -rf "$venv"
  /usr/bin/python3 -m venv --system-site-packages "$venv"
  "$venv/bin/pip" install --quiet --no-index --no-build-isolation "$root/python"
  local status=0
  (cd "$root/build" && "$venv/bin/python" -m pytest -q -p no:cacheprovider \
    -W ignore::DeprecationWarning "$root/tests/python") | tee "$log" || status=$?
  passed="$( (grep -Eo '[0-9]+ passed' "$log" || true) | tail -n 1 | cut -d' ' -f1)"
  failed="$( (grep -Eo '[0-9]+ (failed|errors?)' "$log" || true) | awk '{ n += $1 } END { print n + 0 }')"
  # A run that failed without a count (no tests found, a crash) counts as one failure.
  if [ "$status" -ne 0 ] && [ "$failed" -eq 0 ]; then failed=1; fi
  echo "python: ${passed:-0} passed, $failed failed"
  return "$status"
}
run_tests python python_tests
phase "python package"

# One request, every front end: a table of edges and a seeded random draw through the converter,
# the library, the Python package and the page's WebAssembly module, which must all give the same
# text and the same kind of answer. Ends with "differential: N passed, M failed".
run_tests differential env -C "$root/build" "$root/build/python-venv/bin/python" \
  "$root/tests/differential/differential.py" "$native_dir/ruruzir-convert" \
  "$native_dir/libruruzir.so" "${RURUZIR_WEB_BUILD_DIR:-$root/build/web}/ruruzir.js"
phase "differential"

# --- Sanitizers and fuzzing (native) -------------------------------------------------------
# The core tests once more, built with AddressSanitizer and UndefinedBehaviorSanitizer (g++,
# build/sanitize); the first finding fails its test.
configure_build sanitize "$sanitize_dir" "$log_dir/sanitize-configure.log"
cmake --build "$sanitize_dir" -j2 --target core_tests
phase "sanitizer build"
run_tests sanitize-ctest env UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ASAN_OPTIONS=detect_leaks=1 ctest --test-dir "$sanitize_dir" -j2 --output-on-failure
phase "sanitizer tests"

# The library's tests (four threads converting at once) built with ThreadSanitizer (g++,
# build/tsan); a data race fails the test.
tsan_dir="$root/build/tsan"
configure_build tsan "$tsan_dir" "$log_dir/tsan-configure.log"
cmake --build "$tsan_dir" -j2 --target core_tests
run_tests tsan-ctest env TSAN_OPTIONS=halt_on_error=1 \
  ctest --test-dir "$tsan_dir" --output-on-failure
phase "thread sanitizer"

# Every libFuzzer target for 12 s with a fixed seed, on a copy of the seed corpus (clang,
# build/fuzz); longer runs: bash scripts/fuzz.sh [seconds].
run_tests fuzz bash scripts/fuzz.sh --ci 12
phase "fuzz"
# -------------------------------------------------------------------------------------------

# One virtual display for every Windows test; a stale Wine server of this prefix, which
# may belong to another display, goes first.
start_virtual_display "$log_dir/xvfb.log"
# Make the Wine prefix (once) and start Wine's server before the timed tests.
RURUZIR_BUILD_DIR="$windows_dir" "$root/cmake/wine-run.sh" cmd /c exit 0 >/dev/null
phase "wine start on display $DISPLAY"

run_tests windows-ctest ctest --test-dir "$windows_dir" --output-on-failure
phase "windows tests"

# Packaging: the setup and the portable zip (scripts/dist.sh, on the build above), then the
# setup installed, started and uninstalled under Wine in a throwaway prefix of its own.
package_and_test() {
  if ! bash scripts/dist.sh >"$log_dir/dist.log" 2>&1; then
    cat "$log_dir/dist.log"
    echo "packaging: 0 passed, 1 failed"
    return 1
  fi
  bash packaging/test-installer.sh
}
run_tests packaging package_and_test
phase "packaging"

summary
[ "$failures" -eq 0 ]
