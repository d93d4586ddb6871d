#!/bin/sh
# End-to-end figures of maravelundi-cli: for generated documents of 1, 10 and
# 100 MB in each generation, every output's speed in MB of input per second,
# its peak resident memory against the input's size, and how the time grows
# from 1 to 10 MB. Then the window on a 20 MB document, and the passes one
# by one.
set -eu
build="$1"
sizes="${BENCH_SIZES:-1 10 100}"
work="$build/bench-data"
mkdir -p "$work"
cli="$build/src/maravelundi-cli"
generate="$build/bench/maravelundi-bench-generate"

printf '%-4s %-8s %6s %9s %9s %9s %10s\n' gen output MB seconds "MB/s" "peak MB" "peak/input"
for generation in 7 2; do
  for size in $sizes; do
    input="$work/v$generation-$size.rtf"
    [ -f "$input" ] || "$generate" "$generation" "$size" 2026 "$input"
  done
  for output in unicode ism mltt; do
    previous=""
    for size in $sizes; do
      input="$work/v$generation-$size.rtf"
      bytes=$(stat -c %s "$input")
      /usr/bin/time -f '%e %M' -o "$work/time" "$cli" --fonts "$generation" --to "$output" -o "$work/out" "$input"
      rm -f "$work/out"
      read -r seconds kilobytes < "$work/time"
      awk -v g="$generation" -v o="$output" -v b="$bytes" -v s="$seconds" -v k="$kilobytes" 'BEGIN {
        mb = b / 1e6; if (s < 0.005) s = 0.005
        printf "v%-3s %-8s %6.0f %9.2f %9.1f %9.1f %10.2f\n", g, o, mb, s, mb / s, k / 1024, k * 1024 / b }'
      if [ "$size" = 10 ] && [ -n "$previous" ]; then
        awk -v a="$previous" -v b="$seconds" 'BEGIN { if (a < 0.005) a = 0.005; printf "     10 MB / 1 MB time: %.1f\n", b / a }'
      fi
      previous="$seconds"
    done
  done
done

if [ -x "$build/bench/maravelundi-bench-gui" ]; then
  echo
  input="$work/v7-20.rtf"
  [ -f "$input" ] || "$generate" 7 20 2026 "$input"
  echo "The window on a 20 MB document:"
  QT_QPA_PLATFORM=offscreen "$build/bench/maravelundi-bench-gui" "$input" "$cli" 2>/dev/null
fi

if [ -x "$build/bench/maravelundi-bench-passes" ]; then
  echo
  "$build/bench/maravelundi-bench-passes" --benchmark_min_time=1
fi
