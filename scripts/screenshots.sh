#!/usr/bin/env bash
# Makes the README's pictures from the real program under Wine:
#   docs/main-window.png  the main window with a reading entered
#   docs/dialog.png       the Preferences dialog
# Builds the calculator as run.sh does, starts it inside a Wine desktop (which draws the
# captions) on a virtual display of its own, in a Wine prefix of its own
# (build/windows/screenshots/wine, made as cmake/wine-run.sh makes the test prefix, with Wine's
# fonts, so "MS Sans Serif" looks as on Windows), and drives it with xdotool like a user.
# RURUZIR_WINDOWS_BUILD_DIR names another Windows build folder.
set -euo pipefail

# shellcheck source=scripts/lib/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
root="$ruruzir_root"
cd "$root"

windows_dir="${RURUZIR_WINDOWS_BUILD_DIR:-$root/build/windows}"
exe="$windows_dir/ruruzir-dewpoint.exe"
shots_dir="$windows_dir/screenshots"
docs_dir="$root/docs"
title="Ruruzir Dewpoint Calculator"
preferences_title="Ruruzir Dewpoint Calculator Preferences"

bash scripts/setup.sh
configure_build windows "$windows_dir"
cmake --build "$windows_dir" --target ruruzir-dewpoint -j2

use_wine_prefix "$shots_dir"
trap stop_wine_session EXIT

fail() {
  echo "screenshots: $*" >&2
  exit 1
}

start_virtual_display || fail "Xvfb did not start"

# The prefix (made once), and first-start settings: no [ZazUdur] section in win.ini.
mkdir -p "$shots_dir"
RURUZIR_BUILD_DIR="$shots_dir" "$root/cmake/wine-run.sh" cmd /c exit 0 >/dev/null
win_ini="$WINEPREFIX/drive_c/windows/win.ini"
if [ -f "$win_ini" ]; then
  awk 'BEGIN { skip = 0 }
       /^\[/ { skip = (tolower($0) ~ /^\[zazudur\]\r?$/) }
       !skip { print }' "$win_ini" >"$win_ini.new"
  mv "$win_ini.new" "$win_ini"
fi

windows_path="Z:${exe//\//\\}"
wine explorer "/desktop=ruruzir,800x600" "$windows_path" </dev/null >"$shots_dir/wine.log" 2>&1 &
wine_pid=$!

window_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | sed -n 1p; }

wait_until 600 notice_visible || fail "the calculator showed no start-up notice"
dismiss_notice "$title" || fail "the main window did not appear"
main="$(window_named "$title")"

# Dialog units to pixels in the main window: its client area is 389 x 167 dialog units and
# sits inside a 3-pixel frame below the caption; "MS Sans Serif" 8 has the aspect 6:13.
read -r width height < <(xdotool getwindowgeometry "$main" |
  sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
frame=3
# Prints the window-relative pixel position of dialog-unit position ($1, $2).
main_point() {
  awk -v x="$1" -v y="$2" -v w="$width" -v h="$height" -v f="$frame" 'BEGIN {
    sx = (w - 2 * f) / 389; sy = sx * 13 / 12; top = h - f - 167 * sy
    printf "%d %d\n", f + x * sx + 0.5, top + y * sy + 0.5 }'
}
# Clicks at dialog-unit position ($1, $2) of the main window.
click_main() {
  local x y
  read -r x y < <(main_point "$1" "$2")
  xdotool mousemove --window "$main" "$x" "$y" click 1
  sleep 0.2
}
# Replaces the text of the edit box at dialog-unit position ($1, $2) with $3.
type_into() {
  click_main "$1" "$2"
  xdotool key End shift+Home BackSpace
  xdotool type --delay 40 -- "$3"
  sleep 0.3
}

# A reading: -40 degC frost point at atmospheric pressure, seen at 7000 mbar.
type_into 35 33 "-40"
type_into 145 71 "7000"
# Focus to the read-only result box, so that no caret blinks in the picture.
click_main 30 89
sleep 0.5

mkdir -p "$docs_dir"
# -strip: no time stamps in the file, so that an unchanged picture stays byte-identical.
import -window "$main" -strip "$docs_dir/main-window.png"

# The Preferences dialog, from the button at the lower right.
click_main 352 112
wait_until 50 window_visible "$preferences_title" || fail "the Preferences dialog did not appear"
sleep 0.5
import -window "$(window_named "$preferences_title")" -strip "$docs_dir/dialog.png"
xdotool key Escape
sleep 0.3

echo "screenshots: $docs_dir/main-window.png $(identify -format '%wx%h' "$docs_dir/main-window.png")"
echo "screenshots: $docs_dir/dialog.png $(identify -format '%wx%h' "$docs_dir/dialog.png")"
