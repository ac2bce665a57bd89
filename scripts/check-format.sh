#!/usr/bin/env bash
# Checks that the changed C and C++ files read as clang-format writes them (.clang-format at
# the top of the tree). Changed means: differing from BASE, committed or not, where BASE is
# the first argument, else $RURUZIR_FORMAT_BASE, else the point where HEAD left its upstream
# branch; in a fresh clone, where HEAD is its upstream, every file is checked.
# It also refuses an include that climbs out of its folder ("../core/x.h"), which would bypass
# the build's layer roots. The last line is "format: N passed, M failed"; each file that differs is named with the
# lines clang-format would change. Exits non-zero when any file differs.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

base="${1:-${RURUZIR_FORMAT_BASE:-}}"
if [ -z "$base" ]; then
  upstream="$(git rev-parse -q --verify '@{upstream}' 2>/dev/null || true)"
  if [ -n "$upstream" ] && [ "$(git rev-parse HEAD)" != "$upstream" ]; then
    base="$(git merge-base HEAD "$upstream")"
  fi
fi

patterns=('*.cpp' '*.h' '*.c')
if [ -n "$base" ]; then
  mapfile -t files < <({
    git diff --name-only --diff-filter=d "$base" -- "${patterns[@]}"
    git ls-files --others --exclude-standard -- "${patterns[@]}"
  } | sort -u)
else
  mapfile -t files < <(git ls-files -- "${patterns[@]}")
fi

passed=0
failed=0
for file in "${files[@]}"; do
  [ -f "$file" ] || continue
  if clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "$file is not formatted (clang-format -i $file):"
    clang-format "$file" | diff -u "$file" - | sed -n '3,40p'
  fi
done
# An include that climbs out of its folder ("../core/...") would reach past the layer roots the
# build gives each layer: every include names its file from the top of the tree.
climbing="$(git grep -nE '#[[:space:]]*include[[:space:]]*"[^"]*\.\./' -- "${patterns[@]}" || true)"
if [ -n "$climbing" ]; then
  failed=$((failed + 1))
  echo "includes that climb out of their folder (name the file from the top of the tree):"
  echo "$climbing"
else
  passed=$((passed + 1))
fi
echo "format: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
