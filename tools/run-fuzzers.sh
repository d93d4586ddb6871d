#!/bin/sh
# Runs each libFuzzer target for a bounded time on a working corpus that
# starts from the committed seeds and grows between runs in the build folder.
# Any crash, leak, sanitizer report or timeout fails the run, leaving the
# input that caused it beside the corpus.
set -eu
build="$1"
seconds="$2"
root="$(cd "$(dirname "$0")/.." && pwd)"
status=0
for target in readrtf convert roundtrip package pdflayout; do
  corpus="$build/corpus-$target"
  mkdir -p "$corpus"
  if [ "$target" = package ]; then
    cp -n "$root"/fuzz/corpus/package/* "$corpus"/ 2>/dev/null || true
  else
    cp -n "$root"/fuzz/corpus/* "$root"/samples/*.rtf "$corpus"/ 2>/dev/null || true
  fi
  log="$build/fuzz-$target.log"
  if "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=4096 \
      -print_final_stats=1 -artifact_prefix="$build/finding-$target-" "$corpus" >"$log" 2>&1; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
    echo "fuzz_$target: ${seconds} s, $runs inputs, no finding"
  else
    echo "fuzz_$target: FINDING, see $log and $build/finding-$target-*"
    # The check or sanitizer that fired comes first; the stack after it.
    grep -m 3 -E 'fuzz check failed|ERROR: |SUMMARY: |runtime error' "$log" || true
    tail -n 25 "$log"
    status=1
  fi
done
exit $status
