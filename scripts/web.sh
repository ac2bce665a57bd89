#!/usr/bin/env bash
# Builds the calculator as a web page into build/web/ (RURUZIR_WEB_BUILD_DIR names another
# folder):
#   index.html, ruruzir.css, ruruzir-page.js   the page (from web/; index.html with the version)
#   ruruzir.js                                 physics/, core/ and the C interface (api/)
#                                              compiled to WebAssembly by CMake with Debian's
#                                              emscripten (emcmake; web/CMakeLists.txt), with
#                                              the layers' include roots of the other builds;
#                                              the module embedded in the script
#   service-worker.js, manifest.webmanifest,   what keeps the page offline and lets a phone
#   icon-*.png                                 add it to its home screen (over http(s) only)
# The CMake build folder is build/web/cmake. Nothing is fetched from the network, so the page
# works opened from file:// and from any static host.
set -euo pipefail

# shellcheck source=scripts/lib/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
root="$ruruzir_root"
cd "$root"

web_dir="${RURUZIR_WEB_BUILD_DIR:-$root/build/web}"
cmake_dir="$web_dir/cmake"
mkdir -p "$web_dir"

# Debian's emcc runs on Debian's node modules (acorn), which another node does not find.
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"

# Configured at every build (quick once cached), so that a changed CMakeLists.txt takes.
mkdir -p "$cmake_dir"
if ! emcmake cmake -S "$root" -B "$cmake_dir" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE=-O2 >"$cmake_dir/configure.log" 2>&1; then
  cat "$cmake_dir/configure.log" >&2
  echo "web: configuring $cmake_dir failed" >&2
  exit 1
fi
if ! cmake --build "$cmake_dir" -j2 --target ruruzir-web >"$cmake_dir/build.log" 2>&1; then
  cat "$cmake_dir/build.log" >&2
  echo "web: compiling failed" >&2
  exit 1
fi

cp "$cmake_dir/ruruzir.js" "$cmake_dir/index.html" "$web_dir/"
cp web/ruruzir.css web/ruruzir-page.js web/manifest.webmanifest web/icon-*.png "$web_dir/"
# The service worker's cache is named after the files it keeps, so that a new page replaces
# the kept one as a whole.
files=(index.html ruruzir.js ruruzir.css ruruzir-page.js manifest.webmanifest)
digest="$(cd "$web_dir" && cat "${files[@]}" icon-*.png | sha256sum | cut -c1-16)"
sed "s/@FILES_DIGEST@/$digest/" web/service-worker.js >"$web_dir/service-worker.js"
if grep -q '@[A-Z_]*@' "$web_dir/index.html" "$web_dir/service-worker.js"; then
  echo "web: a placeholder left in the page" >&2
  exit 1
fi
echo "web: $web_dir/index.html ($(du -cb "$web_dir"/index.html "$web_dir"/*.js "$web_dir"/*.css |
  tail -n 1 | cut -f1) bytes with its files)"
