#!/usr/bin/env bash
# Builds the web page (scripts/web.sh) and tests it: the shared case table (cases.tsv) against
# the native ruruzir-convert, then the page in Debian's headless Chromium (page-tests.cjs).
# The converter is build/native/ruruzir-convert (RURUZIR_CONVERTER names another); the last
# line is "web: N passed, M failed". Screenshots go to build/web/screenshots.
set -euo pipefail

# shellcheck source=scripts/lib/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/common.sh"
root="$ruruzir_root"
cd "$root"
web_dir="${RURUZIR_WEB_BUILD_DIR:-$root/build/web}"
converter="${RURUZIR_CONVERTER:-$root/build/native/ruruzir-convert}"
table="$root/tests/web/cases.tsv"

if ! bash scripts/web.sh; then
  echo "the page did not build"
  echo "web: 0 passed, 1 failed"
  exit 1
fi
if [ ! -d tests/web/node_modules/playwright-core ]; then
  (cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
fi

passed=0
failed=0
# The table must still be what the converter prints: otherwise regenerate it with
# node tests/web/make-cases.cjs CONVERTER > tests/web/cases.tsv and look at the difference.
if [ -x "$converter" ]; then
  if node tests/web/make-cases.cjs "$converter" "$table"; then
    echo "ok   the case table is what $converter prints"
    passed=$((passed + 1))
  else
    echo "FAIL the case table differs from $converter"
    failed=$((failed + 1))
  fi
else
  echo "FAIL no converter at $converter to check the case table against"
  failed=$((failed + 1))
fi

# The web zip of scripts/dist.sh holds every file of the built page, the page's index.html
# among them, and nothing else.
zip_list="$(bash scripts/dist.sh web 2>/dev/null | sed -n 's/^dist: .*web\.zip ([0-9]* bytes): //p' |
  tr ' ' '\n' | sed -n 's|^[^/]*/\(..*\)$|\1|p' | sort)"
page_list="$(find "$web_dir" -maxdepth 1 -type f -printf '%f\n' | sort)"
if [ -n "$zip_list" ] && [ "$zip_list" = "$page_list" ] && echo "$zip_list" | grep -qx index.html; then
  echo "ok   the web zip holds the page's $(echo "$zip_list" | wc -l) files"
  passed=$((passed + 1))
else
  echo "FAIL the web zip holds: $(echo "$zip_list" | tr '\n' ' '); the page: $(echo "$page_list" |
    tr '\n' ' ')"
  failed=$((failed + 1))
fi

set +e
output="$(cd tests/web && node page-tests.cjs "$web_dir" "$table" "$web_dir/screenshots" 2>&1)"
set -e
echo "$output" | grep -v '^web: '
line="$(echo "$output" | grep -E '^web: [0-9]+ passed, [0-9]+ failed' | tail -n 1 || true)"
if [[ $line =~ ^web:\ ([0-9]+)\ passed,\ ([0-9]+)\ failed ]]; then
  passed=$((passed + BASH_REMATCH[1]))
  failed=$((failed + BASH_REMATCH[2]))
else
  failed=$((failed + 1))
fi
echo "web: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
