#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's private prefix and exits with the
# program's exit code.  CTest calls it as the cross-compiling emulator:
#   wine-run.sh PROGRAM.exe [ARGS...]
# It also runs Wine's own programs (wine-run.sh explorer /desktop=...); then the build
# folder comes from RURUZIR_BUILD_DIR or the current folder.
#
# The prefix is <windows build folder>/wine; it is created once, under a lock, because
# parallel first starts of Wine fail.  RURUZIR_BUILD_DIR overrides the build folder.
# Without a DISPLAY the program runs on a throwaway virtual display (xvfb-run); the test
# script normally provides one display for the whole run instead.
set -uo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 PROGRAM [ARGS...]" >&2
  exit 2
fi

# The build folder is the nearest folder above the program holding CMakeCache.txt.
find_build_dir() {
  local dir="$1"
  while [ -n "$dir" ] && [ "$dir" != "/" ]; do
    if [ -f "$dir/CMakeCache.txt" ]; then
      printf '%s\n' "$dir"
      return 0
    fi
    dir="$(dirname "$dir")"
  done
  return 1
}

if [ -z "${RURUZIR_BUILD_DIR:-}" ]; then
  program_dir=""
  if [ -e "$1" ]; then
    program_dir="$(cd "$(dirname "$1")" && pwd)"
  fi
  RURUZIR_BUILD_DIR="$( { [ -n "$program_dir" ] && find_build_dir "$program_dir"; } ||
    find_build_dir "$PWD" || printf '%s\n' "$PWD")"
fi
RURUZIR_BUILD_DIR="$(cd "$RURUZIR_BUILD_DIR" && pwd)"
export RURUZIR_BUILD_DIR

export WINEPREFIX="$RURUZIR_BUILD_DIR/wine"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG="${RURUZIR_WINEDEBUG:--all,err+module}"

# Wine's own fonts, so that "MS Sans Serif" and Marlett resolve to themselves.
wine_font_dir() {
  local dir
  for dir in /usr/share/wine/fonts /usr/lib/wine/fonts /opt/wine/share/wine/fonts; do
    if [ -d "$dir" ]; then
      printf '%s\n' "$dir"
      return 0
    fi
  done
  return 1
}

ready_mark="$WINEPREFIX/.ruruzir-prefix-ready"
if [ ! -f "$ready_mark" ]; then
  mkdir -p "$RURUZIR_BUILD_DIR"
  exec 9>"$RURUZIR_BUILD_DIR/wine-prefix.lock"
  flock 9
  if [ ! -f "$ready_mark" ]; then
    # A prefix without the mark was left by an interrupted creation: start afresh.
    rm -rf "$WINEPREFIX"
    echo "wine-run: creating Wine prefix $WINEPREFIX" >&2
    start=$(date +%s)
    # Wine's background processes must not hold the caller's output open (CTest waits for it).
    if ! wine wineboot --init </dev/null >"$RURUZIR_BUILD_DIR/wine-prefix.log" 2>&1; then
      echo "wine-run: wineboot failed, see $RURUZIR_BUILD_DIR/wine-prefix.log" >&2
      exit 1
    fi
    wineserver -w </dev/null >/dev/null 2>&1
    if font_dir="$(wine_font_dir)"; then
      mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
      cp -f "$font_dir"/* "$WINEPREFIX/drive_c/windows/Fonts/"
    else
      echo "wine-run: Wine's fonts not found; dialogs will use substitute fonts" >&2
    fi
    touch "$ready_mark"
    echo "wine-run: prefix ready in $(($(date +%s) - start)) s" >&2
  fi
  flock -u 9
  exec 9>&-
fi

if [ -z "${DISPLAY:-}" ]; then
  if [ -z "${RURUZIR_WINE_INNER:-}" ] && command -v xvfb-run >/dev/null 2>&1; then
    # No display: run on a private virtual display, and let the Wine server end before it.
    RURUZIR_WINE_INNER=1 exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@"
  fi
fi

# Wine's background processes (wineserver, services, explorer, ...) started by this program
# would inherit its output and hold it open for seconds after it ends, and CTest waits for
# that.  So the program writes to a file and the file is followed until the program ends.
log="$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")"
wine "$@" </dev/null >"$log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null' TERM INT HUP
tail -n +1 -s 0.1 --pid="$pid" -f "$log"
wait "$pid"
status=$?
rm -f "$log"

if [ -n "${RURUZIR_WINE_INNER:-}" ]; then
  wineserver -w </dev/null >/dev/null 2>&1
fi
exit $status
