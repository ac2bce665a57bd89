#!/usr/bin/env bash
# Runs a window test program with the build's Wine prefix set to another screen scale, and
# sets the prefix back to 96 dpi afterwards, also when the program fails:
#   run-at-screen-scale.sh DPI PROGRAM.exe [ARGS...]
set -uo pipefail

dpi="$1"
shift
# shellcheck source=scripts/lib/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/common.sh"
wine_run="$ruruzir_root/cmake/wine-run.sh"
key='HKCU\Control Panel\Desktop'

set_scale() {
  "$wine_run" reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  # The next program start reads the scale once the prefix's server has gone.
  WINEPREFIX="$RURUZIR_BUILD_DIR/wine" wait_wine_server
}

program_dir="$(cd "$(dirname "$1")" && pwd)"
export RURUZIR_BUILD_DIR="${RURUZIR_BUILD_DIR:-$program_dir}"
trap 'set_scale 96' EXIT
set_scale "$dpi"
RURUZIR_SCREEN_DPI="$dpi" "$wine_run" "$@"
