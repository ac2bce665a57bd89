#!/usr/bin/env bash
# Builds the calculator as a web page into build/web/ (RURUZIR_WEB_BUILD_DIR names another
# folder):
#   index.html, ruruzir.css, ruruzir-page.js   the page (from web/)
#   ruruzir.js                                 physics/, core/ and the C interface (api/)
#                                              compiled to WebAssembly with Debian's emcc,
#                                              the module embedded in the script; also
#                                              core's pressure check (web/page_checks.cpp)
# Nothing is fetched from the network, so the page works opened from file:// and from any
# static host.
set -euo pipefail

# shellcheck source=scripts/lib/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
root="$ruruzir_root"
cd "$root"

web_dir="${RURUZIR_WEB_BUILD_DIR:-$root/build/web}"
object_dir="$web_dir/obj"
mkdir -p "$object_dir/generated"

# Debian's emcc runs on Debian's node modules (acorn), which another node does not find.
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"

# The version header, as CMake makes it.
version="$(ruruzir_version)"
version_full="$(ruruzir_version_full)"
IFS=. read -r major minor patch tweak <<<"$version_full"
sed -e "s/@RURUZIR_VERSION_SHORT@/$version/g" -e "s/@PROJECT_VERSION@/$version_full/g" \
  -e "s/@PROJECT_VERSION_MAJOR@/$major/g" -e "s/@PROJECT_VERSION_MINOR@/$minor/g" \
  -e "s/@PROJECT_VERSION_PATCH@/$patch/g" -e "s/@PROJECT_VERSION_TWEAK@/$tweak/g" \
  cmake/ruruzir_version.h.in >"$object_dir/generated/ruruzir_version.h.new"
if ! cmp -s "$object_dir/generated/ruruzir_version.h.new" "$object_dir/generated/ruruzir_version.h"; then
  mv "$object_dir/generated/ruruzir_version.h.new" "$object_dir/generated/ruruzir_version.h"
else
  rm "$object_dir/generated/ruruzir_version.h.new"
fi

# The same sources and warnings as the native build (no fused multiply-add: the same numbers).
compile_flags=(-std=c++17 -O2 -Wall -Wextra -Werror -ffp-contract=off -fno-exceptions
  -I"$root" -I"$object_dir/generated" -include "$root/web/charconv_fixed.h")
sources=(physics/*.cpp core/*.cpp api/ruruzir_api.cpp web/page_checks.cpp)
objects=()
stale=()
for source in "${sources[@]}"; do
  object="$object_dir/${source//\//_}.o"
  objects+=("$object")
  if [ ! -f "$object" ] || [ -n "$(find "$source" physics core api "$object_dir/generated" \
    web/charconv_fixed.h -newer "$object" -name '*.[ch]*' -print -quit)" ]; then
    stale+=("$source")
  fi
done
# Two compilers at a time; the first failure fails the build.
running=0
failed=0
for source in "${stale[@]}"; do
  emcc "${compile_flags[@]}" -c "$source" -o "$object_dir/${source//\//_}.o" &
  running=$((running + 1))
  if [ "$running" -ge 2 ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
if [ "$failed" -ne 0 ]; then
  echo "web: compiling failed" >&2
  exit 1
fi

exported=_ruruzir_convert,_ruruzir_unit_count,_ruruzir_unit_name,_ruruzir_unit_caption
exported+=,_ruruzir_unit_code,_ruruzir_version,_ruruzir_page_possible_pressure
exported+=,_ruruzir_page_pressure_label,_ruruzir_page_atmosphere_reading,_malloc,_free
exported+=,_ruruzir_text_size,_ruruzir_request_size,_ruruzir_side_size,_ruruzir_convert_request
emcc "${objects[@]}" -Oz -o "$web_dir/ruruzir.js" \
  -sMODULARIZE=1 -sEXPORT_NAME=createRuruzir -sSINGLE_FILE=1 -sENVIRONMENT=web,node \
  -sFILESYSTEM=0 -sINITIAL_MEMORY=1MB -sTOTAL_STACK=256KB -sALLOW_MEMORY_GROWTH=0 \
  -sEXPORTED_FUNCTIONS="$exported" -sEXPORTED_RUNTIME_METHODS=HEAPU8,HEAPF64,HEAP32

sed "s/@VERSION@/$version/g" web/index.html >"$web_dir/index.html"
cp web/ruruzir.css web/ruruzir-page.js "$web_dir/"
echo "web: $web_dir/index.html ($(du -cb "$web_dir"/index.html "$web_dir"/*.js "$web_dir"/*.css |
  tail -n 1 | cut -f1) bytes with its files)"
