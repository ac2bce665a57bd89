# shellcheck shell=bash
# Shared by the scripts that show the calculator on a virtual display of their own: sourced,
# not run. Uses WINEPREFIX; sets xvfb_pid and wine_pid for stop_wine_session.

xvfb_pid=""
wine_pid=""

# Ends the prefix's Wine server, then the program started in the background (wine_pid) and
# the virtual display (xvfb_pid). For a trap on EXIT.
# shellcheck disable=SC2317  # called by the trap
stop_wine_session() {
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  if [ -n "$wine_pid" ]; then
    wait "$wine_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}

# Starts Xvfb on a free display and exports DISPLAY; fails when it does not come up. A Wine
# server of this prefix left from an earlier run may be tied to another display: it is ended.
start_virtual_display() {
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  local display_file
  display_file="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
  done
  if [ ! -s "$display_file" ]; then
    rm -f "$display_file"
    return 1
  fi
  DISPLAY=":$(head -n 1 "$display_file")"
  export DISPLAY
  rm -f "$display_file"
}

# The start-up notice: the calculator's one visible window without a caption text.
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
