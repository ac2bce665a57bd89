#!/usr/bin/env bash
# Times the calculator under Wine from process start to its start-up notice being visible,
# against a bare program that shows one dialog from a template, in turns on one virtual
# display, and prints both medians and the ratio:
#   bash bench/startup.sh [runs]        (default 20; builds build/windows first)
set -euo pipefail

# shellcheck source=scripts/lib/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib/common.sh"
root="$ruruzir_root"
windows_dir="$root/build/windows"
runs="${1:-20}"
export RURUZIR_BUILD_DIR="$windows_dir"
use_wine_prefix "$windows_dir"

bash "$root/scripts/setup.sh"
configure_build windows "$windows_dir"
cmake --build "$windows_dir" -j2 --target ruruzir-dewpoint bare_dialog startup_timer >/dev/null

trap stop_wine_session EXIT
start_virtual_display
cd "$windows_dir"
"$root/cmake/wine-run.sh" startup_timer.exe "$runs" bare_dialog.exe ruruzir-dewpoint.exe
