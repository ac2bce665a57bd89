# shellcheck shell=bash
# What the project's scripts share: sourced, not run.
#   ruruzir_root                      the repository's top folder
#   ruruzir_version, ..._full         the version from project() in CMakeLists.txt
#   configure_build KIND DIR [LOG [OPTION...]]  cmake for a native/windows/sanitize/fuzz build
#   use_wine_prefix DIR               the Wine prefix DIR/wine, made by cmake/wine-run.sh
#   wait_wine_server, end_wine_server waits for the prefix's Wine server to end, ends it
#   start_virtual_display [LOG]       Xvfb on a free display, exported as DISPLAY
#   stop_wine_session                 for a trap on EXIT: Wine server, wine_pid, Xvfb
#   wait_until TENTHS COMMAND...      polls a condition
#   window_visible TITLE              a visible window with exactly this caption
#   notice_window, notice_visible     the calculator's start-up notice
#   dismiss_notice TITLE              OK on the notice until the window TITLE shows

ruruzir_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# --- Version ----------------------------------------------------------------------------
# The project's one version number is the VERSION of project() in CMakeLists.txt
# (major.minor.patch.tweak); the program, its setup and its packages show major.minor.

# Prints the full version, e.g. 3.4.0.0; fails when CMakeLists.txt has none.
ruruzir_version_full() {
  local version
  version="$(sed -n 's/^project([^ ]* VERSION \([0-9][0-9.]*\)[ )].*/\1/p' \
    "$ruruzir_root/CMakeLists.txt")"
  if [ -z "$version" ]; then
    echo "no project(... VERSION ...) in $ruruzir_root/CMakeLists.txt" >&2
    return 1
  fi
  echo "$version"
}

# Prints major.minor, e.g. 3.4, as CMakeLists.txt's RURUZIR_VERSION_SHORT.
ruruzir_version() {
  local full
  full="$(ruruzir_version_full)" || return 1
  echo "$full" | cut -d. -f1-2
}

# --- Builds -----------------------------------------------------------------------------

# Configures the build folder DIR of one kind:
#   native    the portable core, its tests and the benchmarks (g++)
#   windows   the Windows programs and tests (MinGW-w64, cmake/mingw-w64.cmake)
#   sanitize  the core tests with AddressSanitizer and UBSan (g++)
#   fuzz      the libFuzzer targets (clang-14)
# CMake's output goes to LOG (default DIR/configure.log) and is shown when it fails; further
# arguments are passed on to cmake.
configure_build() {
  local kind="$1" dir="$2"
  local log="${3:-$2/configure.log}"
  shift $(($# < 3 ? $# : 3))
  local options=()
  case "$kind" in
    native) ;;
    windows) options=(-DCMAKE_TOOLCHAIN_FILE="$ruruzir_root/cmake/mingw-w64.cmake") ;;
    sanitize) options=(-DRURUZIR_SANITIZE=ON) ;;
    tsan) options=(-DRURUZIR_TSAN=ON) ;;
    fuzz) options=(-DRURUZIR_FUZZ=ON -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14) ;;
    *)
      echo "configure_build: unknown build kind '$kind'" >&2
      return 2
      ;;
  esac
  mkdir -p "$dir" "$(dirname "$log")"
  if ! cmake -S "$ruruzir_root" -B "$dir" "${options[@]}" "$@" >"$log" 2>&1; then
    cat "$log" >&2
    echo "configure_build: configuring $dir failed (log: $log)" >&2
    return 1
  fi
}

# The longer differential runs: builds core_tests in Release (build/release) and runs the tests
# `filter` selects with the environment variable `variable` set to `count`, a whole number
# (checked; `usage` is printed when it is not). The tests are shared out among one process per
# processor (gtest's shards), each line marked with its shard; fails when any shard fails.
#   run_release_differential VARIABLE COUNT FILTER USAGE
run_release_differential() {
  local variable="$1" count="$2" filter="$3" usage="$4"
  case "$count" in
    '' | *[!0-9]*)
      echo "$usage" >&2
      exit 2
      ;;
  esac
  local release_dir="$ruruzir_root/build/release"
  configure_build native "$release_dir" "$release_dir/configure.log" -DCMAKE_BUILD_TYPE=Release
  cmake --build "$release_dir" -j2 --target core_tests
  local shards index failed=0
  local -a pids=()
  shards=$(nproc)
  for ((index = 0; index < shards; index++)); do
    (
      set -o pipefail
      env "$variable=$count" GTEST_TOTAL_SHARDS="$shards" GTEST_SHARD_INDEX="$index" \
        "$release_dir/core_tests" --gtest_filter="$filter" 2>&1 | sed -u "s/^/[shard $index] /"
    ) &
    pids+=("$!")
  done
  for index in "${!pids[@]}"; do
    if ! wait "${pids[$index]}"; then
      echo "shard $index failed" >&2
      failed=1
    fi
  done
  return "$failed"
}

# --- Wine session -----------------------------------------------------------------------

xvfb_pid=""
wine_pid=""

# Uses the prefix DIR/wine, the one cmake/wine-run.sh makes for the folder DIR (as
# RURUZIR_BUILD_DIR), also for programs started here with wine itself: Wine's own settings
# as in wine-run.sh, and no Start-menu entries copied to the Linux desktop.

use_wine_prefix() {
  export WINEPREFIX="$1/wine"
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export WINEDEBUG="${RURUZIR_WINEDEBUG:--all,err+module}"
}

# Waits until the Wine server of WINEPREFIX, when the prefix exists, has ended by itself
# (a few seconds after its last program).
wait_wine_server() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -w >/dev/null 2>&1 || true
  fi
}

# Ends the Wine server of WINEPREFIX, when the prefix exists, and waits until it has gone.
end_wine_server() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  wait_wine_server
}

# Starts Xvfb on a free display and exports DISPLAY; Xvfb's output goes to LOG (default:
# none). Fails, showing the log, when it does not come up. A Wine server of this prefix left
# from an earlier run may be tied to another display: it is ended first.
# shellcheck disable=SC2120  # the log is optional
start_virtual_display() {
  local log="${1:-/dev/null}"
  end_wine_server
  local display_file
  display_file="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >"$log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$display_file" ]; then
    rm -f "$display_file"
    echo "Xvfb did not start" >&2
    [ "$log" = /dev/null ] || cat "$log" >&2
    return 1
  fi
  DISPLAY=":$(head -n 1 "$display_file")"
  export DISPLAY
  rm -f "$display_file"
}

# Ends the prefix's Wine server, then the program started in the background (wine_pid) and
# the virtual display (xvfb_pid). For a trap on EXIT.
# shellcheck disable=SC2317  # called by the trap
stop_wine_session() {
  end_wine_server
  if [ -n "$wine_pid" ]; then
    wait "$wine_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}

# --- Windows on the display -------------------------------------------------------------

# Waits up to $1 tenths of a second for the command $2... to succeed.
wait_until() {
  local tries="$1"
  shift
  for _ in $(seq "$tries"); do
    if "$@"; then
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# A visible window with exactly the caption $1.
window_visible() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

# Prints the start-up notice: the calculator's one visible window without a caption text.
notice_window() {
  local id
  for id in $(xdotool search --onlyvisible --class ruruzir-dewpoint 2>/dev/null); do
    if [ -z "$(xdotool getwindowname "$id" 2>/dev/null)" ]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}
notice_visible() { notice_window >/dev/null; }

# Presses OK (Enter, the default button) on the start-up notice until the main window,
# captioned $1, shows; fails when it does not after five tries. Without a window manager the
# keyboard goes to the window under the pointer: the pointer goes onto the notice first.
dismiss_notice() {
  local notice
  for _ in 1 2 3 4 5; do
    if notice="$(notice_window)"; then
      xdotool mousemove --window "$notice" 20 20 2>/dev/null || true
    fi
    xdotool key Return 2>/dev/null || true
    if wait_until 20 window_visible "$1"; then
      return 0
    fi
  done
  window_visible "$1"
}
