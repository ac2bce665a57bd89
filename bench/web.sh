#!/usr/bin/env bash
# The web page's speed and size, in Debian's headless Chromium, each against a bare page in
# the same run (an input that copies its text into an output, no module):
#   load        opening index.html (file://) to the first result shown, median of the runs
#   module      the WebAssembly module's bytes (embedded in ruruzir.js), and the page's files
#   keystroke   a key pressed in the value field to the new result and curve in the page, median
#   bash bench/web.sh [runs]        (default 20; builds build/web first)
set -euo pipefail

# shellcheck source=scripts/lib/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib/common.sh"
root="$ruruzir_root"
runs="${1:-20}"
web_dir="$root/build/web"

bash "$root/scripts/setup.sh"
bash "$root/scripts/web.sh" >/dev/null
NODE_PATH="$root/tests/web/node_modules" node "$root/bench/web/web_bench.cjs" "$web_dir" "$runs"
