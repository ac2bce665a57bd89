#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz/fuzz_*.cpp, clang-14) into build/fuzz and runs each.
#
#   bash scripts/fuzz.sh [seconds]        each target for `seconds` (default 600), with a random
#                                         seed; the corpus grows in build/fuzz/corpus/<target>,
#                                         started from the seed corpus tests/fuzz/corpus/<target>
#   bash scripts/fuzz.sh --ci [seconds]   the bounded run of scripts/test.sh: each target for
#                                         `seconds` (default 12) with a fixed seed on a fresh copy
#                                         of the seed corpus (the committed corpus never grows)
#
# Prints libFuzzer's "Done N runs in S second(s)" line of every target and, at the end,
# "fuzz: N passed, M failed". A target fails when it finds an input that crashes it, breaks a
# property it checks, or makes a sanitizer report; the input is kept in build/fuzz/artifacts
# and replays with: build/fuzz/<target> <input file>. Exits non-zero when a target failed.
set -euo pipefail

# shellcheck source=scripts/lib/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh"
root="$ruruzir_root"
cd "$root"

ci=0
if [ "${1:-}" = "--ci" ]; then
  ci=1
  shift
fi
seconds="${1:-}"
if [ -z "$seconds" ]; then
  seconds=$([ "$ci" -eq 1 ] && echo 12 || echo 600)
fi
case "$seconds" in
  '' | *[!0-9]*)
    echo "usage: bash scripts/fuzz.sh [--ci] [seconds]" >&2
    exit 2
    ;;
esac

fuzz_dir="$root/build/fuzz"
artifacts="$fuzz_dir/artifacts"
logs="$fuzz_dir/logs"
if [ "$ci" -eq 1 ]; then
  corpus_root="$fuzz_dir/ci-corpus"
  seed=1
else
  corpus_root="$fuzz_dir/corpus"
  seed=0 # libFuzzer picks one
  bash scripts/setup.sh
fi

configure_build fuzz "$fuzz_dir"
cmake --build "$fuzz_dir" -j2 --target fuzz_targets

targets=()
for source in tests/fuzz/fuzz_*.cpp; do
  [ -e "$source" ] || continue
  targets+=("$(basename "$source" .cpp)")
done
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no targets in tests/fuzz" >&2
  exit 1
fi

mkdir -p "$artifacts" "$logs"
passed=0
failed=0
for target in "${targets[@]}"; do
  corpus="$corpus_root/$target"
  if [ "$ci" -eq 1 ]; then
    rm -rf "$corpus"
  fi
  mkdir -p "$corpus"
  if [ -d "tests/fuzz/corpus/$target" ]; then
    cp -n tests/fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null || true
  fi
  log="$logs/$target.log"
  rm -f "$artifacts/$target"-*
  status=0
  # -timeout: an input that takes 10 s counts as a hang; -rss_limit_mb keeps the default.
  "$fuzz_dir/$target" -seed="$seed" -max_total_time="$seconds" -timeout=10 \
    -artifact_prefix="$artifacts/$target-" -print_final_stats=1 "$corpus" >"$log" 2>&1 ||
    status=$?
  done_line="$(grep -E '^Done [0-9]+ runs' "$log" | tail -n 1 || true)"
  kept=("$artifacts/$target"-*)
  if [ "$status" -eq 0 ] && [ ! -e "${kept[0]}" ]; then
    passed=$((passed + 1))
    echo "$target: ${done_line:-no 'Done' line}; corpus $(find "$corpus" -type f | wc -l) inputs; passed"
  else
    failed=$((failed + 1))
    echo "$target: FAILED (exit $status)${done_line:+; $done_line}"
    # The broken property or the sanitizer's report, and the stack frames in our code.
    grep -E "property failed|runtime error|ERROR: |SUMMARY|^  [^ #]|#[0-9]+ .* $root/(app|physics|convert|tests)/" \
      "$log" | head -n 30 | sed 's/^/  | /' || true
    for input in "${kept[@]}"; do
      [ -e "$input" ] || continue
      echo "  input kept: ${input#"$root"/} (replay: ${fuzz_dir#"$root"/}/$target ${input#"$root"/})"
    done
    echo "  whole log: ${log#"$root"/}"
  fi
done

echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
