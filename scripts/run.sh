#!/usr/bin/env bash
# Builds the calculator for Windows and starts it under Wine (prefix build/windows/wine).
# With a usable X display it simply runs there until closed.  Without one it runs on a
# virtual display inside a Wine desktop (so that captions are drawn), presses OK on the
# start-up notice, saves a screenshot to build/screenshot.png and closes the program.
set -euo pipefail

# shellcheck source=scripts/lib/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
root="$ruruzir_root"
cd "$root"

windows_dir="$root/build/windows"
exe="$windows_dir/ruruzir-dewpoint.exe"
screenshot="$root/build/screenshot.png"
title="Ruruzir Dewpoint Calculator"
export RURUZIR_BUILD_DIR="$windows_dir"
use_wine_prefix "$windows_dir"

bash scripts/setup.sh
configure_build windows "$windows_dir"
cmake --build "$windows_dir" --target ruruzir-dewpoint -j2

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$root/cmake/wine-run.sh" "$exe"
fi

# Headless: a virtual display of our own.
trap stop_wine_session EXIT
if ! start_virtual_display; then
  echo "run: Xvfb did not start" >&2
  exit 1
fi

# Wine's desktop starts the program by its Windows path (drive Z: is the Unix root).
# (The wine process may end early: Wine's desktop runs on by itself.)
windows_path="Z:${exe//\//\\}"
"$root/cmake/wine-run.sh" explorer "/desktop=ruruzir,1024x768" "$windows_path" &
wine_pid=$!

# The first window is the start-up notice; OK shows the main window.
if ! wait_until 600 notice_visible; then
  echo "run: the calculator showed no start-up notice" >&2
  exit 1
fi
if ! dismiss_notice "$title"; then
  echo "run: the main window did not appear; the screenshot shows what is there" >&2
fi
sleep 1

import -window root "$screenshot"
echo "$screenshot"
exit 0
