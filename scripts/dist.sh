#!/usr/bin/env bash
# Builds the Windows packages into dist/ (VERSION: major.minor from project() in CMakeLists.txt):
#   dist/ruruzir-dewpoint-VERSION-setup.exe     per-user setup (NSIS), packaging/installer.nsi
#   dist/ruruzir-dewpoint-VERSION-portable.zip  ruruzir-dewpoint.exe (and ruruzir-convert.exe),
#                                               the C library ruruzir.dll with its header
#                                               ruruzir.h, README.txt and LICENSE.txt (from
#                                               packaging/, @VERSION@ replaced by the version)
#   dist/ruruzir-VERSION-py3-none-win_amd64.whl  the Python package with ruruzir.dll, for a
#                                               Python on 64-bit Windows (pip install FILE)
#   dist/ruruzir-dewpoint-VERSION-web.zip       the web page (scripts/web.sh): every file a static
#                                               host serves, in a folder of its own
#   bash scripts/dist.sh        all four
#   bash scripts/dist.sh web    the web page's zip alone (no Windows build)
# The programs come from the Windows build in build/windows, built here as run.sh builds
# them (RURUZIR_WINDOWS_BUILD_DIR names another build folder); they must import only DLLs
# that every Windows has.
set -euo pipefail

# shellcheck source=scripts/lib/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
root="$ruruzir_root"
cd "$root"

version="$(ruruzir_version)"
version_full="$(ruruzir_version_full)"
dist_dir="$root/dist"

# --- Web page --------------------------------------------------------------------------------
# dist/ruruzir-dewpoint-VERSION-web.zip: the page of scripts/web.sh in a folder of its own:
# index.html, the files it loads, the service worker, the manifest and its icons (the page is
# then opened from disk or put on any static host; over http(s) it also works offline).
make_web_zip() {
  local web_zip="$dist_dir/ruruzir-dewpoint-$version-web.zip"
  local web_stage="$root/build/web-stage/ruruzir-dewpoint-$version-web"
  RURUZIR_WEB_BUILD_DIR="$root/build/web" bash scripts/web.sh
  rm -rf "$(dirname "$web_stage")" "$web_zip"
  mkdir -p "$web_stage" "$dist_dir"
  (cd "$root/build/web" && cp index.html ruruzir.js ruruzir.css ruruzir-page.js \
    service-worker.js manifest.webmanifest icon-*.png "$web_stage/")
  (cd "$(dirname "$web_stage")" && zip -q -r -X "$web_zip" "$(basename "$web_stage")")
  echo "dist: $web_zip ($(stat -c %s "$web_zip") bytes): $(unzip -Z1 "$web_zip" | tr '\n' ' ')"
}
if [ "${1:-}" = web ]; then
  make_web_zip
  exit 0
elif [ -n "${1:-}" ]; then
  echo "usage: bash scripts/dist.sh [web]" >&2
  exit 2
fi
windows_dir="${RURUZIR_WINDOWS_BUILD_DIR:-$root/build/windows}"
app_exe="$windows_dir/ruruzir-dewpoint.exe"
converter_exe="$windows_dir/ruruzir-convert.exe"
setup_exe="$dist_dir/ruruzir-dewpoint-$version-setup.exe"
portable_zip="$dist_dir/ruruzir-dewpoint-$version-portable.zip"

bash scripts/setup.sh
configure_build windows "$windows_dir"
targets=(--target ruruzir-dewpoint --target ruruzir)
if grep -q '^ruruzir-convert:' "$windows_dir/Makefile" 2>/dev/null; then
  targets+=(--target ruruzir-convert)
fi
cmake --build "$windows_dir" "${targets[@]}" -j2

# The shipped copies lose their symbols and debugging information (the build keeps them).
stage_dir="$windows_dir/dist-stage"
rm -rf "$stage_dir"
mkdir -p "$stage_dir"
shipped=("$stage_dir/ruruzir-dewpoint.exe")
x86_64-w64-mingw32-strip -o "$stage_dir/ruruzir-dewpoint.exe" "$app_exe"
if [ -f "$converter_exe" ]; then
  x86_64-w64-mingw32-strip -o "$stage_dir/ruruzir-convert.exe" "$converter_exe"
  shipped+=("$stage_dir/ruruzir-convert.exe")
fi
# The library and its header go into the zip only.
library=("$stage_dir/ruruzir.dll" "$root/api/ruruzir.h")
x86_64-w64-mingw32-strip -o "${library[0]}" "$windows_dir/ruruzir.dll"
bash packaging/check-imports.sh "${shipped[@]}" "${library[0]}"

mkdir -p "$dist_dir"
rm -f "$setup_exe" "$portable_zip"

nsis_defines=(-DAPP_EXE="${shipped[0]}" -DOUT_FILE="$setup_exe" -DRESOURCE_DIR="$root/resources"
  -DVERSION="$version" -DVERSION_FULL="$version_full")
if [ ${#shipped[@]} -gt 1 ]; then
  nsis_defines+=(-DCONVERTER_EXE="${shipped[1]}")
fi
makensis -V2 -NOCD "${nsis_defines[@]}" packaging/installer.nsi

# The portable zip also carries a short README.txt and the licence, with this version and
# Windows line ends.
for text in README.txt LICENSE.txt; do
  sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "packaging/$text" >"$stage_dir/$text"
  if grep -q '@[A-Z_]*@' "$stage_dir/$text"; then
    echo "dist: a placeholder left in $text" >&2
    exit 1
  fi
done

# -j: the files at the top of the archive; -X: no Unix owners or extra time stamps.
zip -q -j -X "$portable_zip" "${shipped[@]}" "${library[@]}" "$stage_dir/README.txt" \
  "$stage_dir/LICENSE.txt"

echo "dist: $setup_exe ($(stat -c %s "$setup_exe") bytes)"
echo "dist: $portable_zip ($(stat -c %s "$portable_zip") bytes): $(unzip -Z1 "$portable_zip" | tr '\n' ' ')"

# --- Python wheel for Windows -----------------------------------------------------------------
# The package is the same on every platform; the wheel carries the stripped ruruzir.dll, which
# the package loads from beside itself. Built offline with Debian's setuptools and wheel.
wheel_venv="$root/build/dist-venv"
[ -x "$wheel_venv/bin/pip" ] || /usr/bin/python3 -m venv --system-site-packages "$wheel_venv"
rm -f "$dist_dir"/ruruzir-*-py3-none-win_amd64.whl
RURUZIR_LIBRARY="${library[0]}" RURUZIR_WHEEL_PLATFORM=win_amd64 "$wheel_venv/bin/pip" wheel \
  --quiet --no-index --no-build-isolation --no-deps --wheel-dir "$dist_dir" "$root/python"
wheel_file="$(ls "$dist_dir"/ruruzir-*-py3-none-win_amd64.whl)"
# The listing is read whole first: grep -q stops at its first match, and under pipefail the
# SIGPIPE that unzip may then get would count as a failed check.
wheel_files="$(unzip -Z1 "$wheel_file")"
if ! grep -qx 'ruruzir/ruruzir.dll' <<<"$wheel_files" ||
  grep -q 'libruruzir.so' <<<"$wheel_files"; then
  echo "dist: $wheel_file does not carry ruruzir.dll alone" >&2
  exit 1
fi
echo "dist: $wheel_file ($(stat -c %s "$wheel_file") bytes)"

make_web_zip
