#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the run script need.
# Quick when everything is there already; safe to run any number of times.
set -euo pipefail

packages=(
  cmake make g++                      # native build
  clang-format                        # the layout check of the C and C++ files
  libcli11-dev                        # command-line options of ruruzir-convert (header-only)
  g++-mingw-w64-x86-64-posix          # Windows cross compiler (C and C++), windres, objdump
  googletest libgtest-dev             # GoogleTest: sources for Windows, library for native
  libbenchmark-dev                    # Google Benchmark for the native benchmarks
  libhwy-dev                          # Highway: the array path's vector kernel (native build)
  clang-14 libclang-rt-14-dev         # libFuzzer targets and their sanitizers (scripts/fuzz.sh)
  wine wine64 fonts-wine              # runs the Windows programs; Wine's own dialog fonts
  fonts-liberation libxrender1 libxcursor1 libxi6 libxrandr2 libxcomposite1 libxinerama1
  libxfixes3 libxxf86vm1              # what Wine's X11 driver loads (recommended, not required)
  xvfb xauth x11-utils                # virtual X display (xvfb-run needs xauth), xdpyinfo
  imagemagick xdotool                 # screenshot and key presses for the headless run
  nsis zip unzip                      # Windows setup and portable zip (scripts/dist.sh)
  python3-venv python3-setuptools python3-wheel  # the ruruzir Python package, installed offline
  python3-numpy python3-pandas        # what the package works on
  python3-pint python3-xarray         # units and labelled arrays the package takes
  python3-pytest python3-dask python3-distributed  # its tests, the Dask example
)

# --- Web page (scripts/web.sh, tests/web) ----------------------------------------------------
# Debian's emscripten builds the page, Debian's chromium runs its tests headless, driven by
# playwright-core from npm and checked by axe-core (tests/web/package-lock.json; no browser is
# downloaded). Some nodejs builds bring npm along; Debian's needs the npm package.
packages+=(emscripten chromium nodejs)
if ! command -v npm >/dev/null 2>&1; then
  packages+=(npm)
fi
install_web_test_packages() {
  local dir
  dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../tests/web" && pwd)"
  if [ ! "$dir/node_modules/.package-lock.json" -nt "$dir/package-lock.json" ]; then
    echo "setup: npm ci in tests/web"
    (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error)
  fi
}
# ---------------------------------------------------------------------------------------------

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  install_web_test_packages
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
  else
    echo "setup: missing packages and not root: ${missing[*]}" >&2
    exit 1
  fi
fi

export DEBIAN_FRONTEND=noninteractive
apt_options=(-y -q --no-install-recommends -o DPkg::Lock::Timeout=300)
"${sudo[@]}" apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install "${apt_options[@]}" "${missing[@]}"
install_web_test_packages
