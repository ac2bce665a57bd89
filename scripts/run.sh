#!/usr/bin/env bash
# Builds the calculator for Windows and starts it under Wine (prefix build/windows/wine).
# With a usable X display it simply runs there until closed.  Without one it runs on a
# virtual display inside a Wine desktop (so that captions are drawn), presses OK on the
# start-up notice, saves a screenshot to build/screenshot.png and closes the program.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

windows_dir="$root/build/windows"
exe="$windows_dir/ruruzir-dewpoint.exe"
screenshot="$root/build/screenshot.png"
title="Ruruzir Dewpoint Calculator"
export RURUZIR_BUILD_DIR="$windows_dir"
export WINEPREFIX="$windows_dir/wine"

bash scripts/setup.sh
cmake -S . -B "$windows_dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$windows_dir" --target ruruzir-dewpoint -j2

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$root/cmake/wine-run.sh" "$exe"
fi

# Headless: a virtual display of our own.
# shellcheck source=scripts/lib/wine-desktop.sh
. "$root/scripts/lib/wine-desktop.sh"
trap stop_wine_session EXIT
if ! start_virtual_display; then
  echo "run: Xvfb did not start" >&2
  exit 1
fi

# Wine's desktop starts the program by its Windows path (drive Z: is the Unix root).
windows_path="Z:${exe//\//\\}"
"$root/cmake/wine-run.sh" explorer "/desktop=ruruzir,1024x768" "$windows_path" &
wine_pid=$!

# Waits up to $1 tenths of a second for a visible window matching xdotool search options $2...
# (The wine process started above may end early: Wine's desktop runs on by itself.)
wait_for_window() {
  local tries="$1"
  shift
  for _ in $(seq "$tries"); do
    if xdotool search --onlyvisible "$@" >/dev/null 2>&1; then
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# The first window is the start-up notice; OK (the default button) shows the main window.
if ! wait_for_window 600 --class ruruzir-dewpoint; then
  echo "run: the calculator showed no window" >&2
  exit 1
fi
for _ in 1 2 3 4 5; do
  if wait_for_window 20 --name "^$title\$"; then
    break
  fi
  xdotool key Return
done
if ! wait_for_window 30 --name "^$title\$"; then
  echo "run: the main window did not appear; the screenshot shows what is there" >&2
fi
sleep 1

import -window root "$screenshot"
echo "$screenshot"
exit 0
