#!/bin/sh
# End-to-end figures of maravelundi-cli on generated documents: for Rich Text
# of 1, 10 and 100 MB in each generation, every output's speed in MB of input
# per second, the CPU time, the peak resident memory against the input's size,
# how the time grows from one size to the next, and the time as a multiple of
# this machine's I/O floor (reading the input and writing an output of the
# same size, synced and renamed, as the converter writes it). Then real
# words from the Malayalam dictionary typed in an ML-TT font, Word
# packages, a batch of a thousand small documents with one and two jobs, the
# page in headless chromium (when its folder is given), the window on a 20 MB
# document, and the passes one by one.
#
#   tools/bench.sh BUILD [WEB_SITE]
set -eu
build="$1"
sizes="${BENCH_SIZES:-1 10 100}"
outputs="${BENCH_OUTPUTS:-unicode ism mltt rtf html5 text}"
batch_count="${BENCH_BATCH:-1000}"
work="$build/bench-data"
mkdir -p "$work"
cli="$build/src/maravelundi-cli"
generate="$build/bench/maravelundi-bench-generate"
floor="$build/bench/maravelundi-bench-floor"

# measure LABEL INPUT_BYTES COMMAND...: one timed run, then the floor for the
# same input and an output as large as the one written to $work/out.
measure() {
  label="$1"; bytes="$2"; shift 2
  /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@"
  read -r seconds user system kilobytes < "$work/time"
  floor_seconds=$("$floor" "$input" "$(stat -c %s "$work/out")" "$work/floor-out")
  rm -f "$work/out" "$work/floor-out"
  awk -v l="$label" -v b="$bytes" -v s="$seconds" -v u="$user" -v y="$system" -v k="$kilobytes" -v f="$floor_seconds" 'BEGIN {
    mb = b / 1e6; if (s < 0.005) s = 0.005; if (f < 0.001) f = 0.001
    printf "%-22s %6.0f %8.2f %8.2f %8.1f %8.1f %10.2f %7.3f %6.1f\n", l, mb, s, u + y, mb / s, k / 1024, k * 1024 / b, f, s / f }'
  previous_seconds="$seconds"
}

header() {
  printf '%-22s %6s %8s %8s %8s %8s %10s %7s %6s\n' "$1" MB seconds "cpu s" "MB/s" "peak MB" "peak/input" floor "xfloor"
}

growth() {
  # growth PREVIOUS CURRENT FACTOR
  awk -v a="$1" -v b="$2" -v f="$3" 'BEGIN { if (a < 0.005) a = 0.005; printf "%-22s time x%.1f for x%s the document\n", "", b / a, f }'
}

header "Rich Text: gen output"
for generation in 7 2; do
  for size in $sizes; do
    input="$work/v$generation-$size.rtf"
    [ -f "$input" ] || "$generate" "$generation" "$size" 2026 "$input"
  done
  for output in $outputs; do
    last_seconds=""; last_size=""
    for size in $sizes; do
      input="$work/v$generation-$size.rtf"
      measure "v$generation $output" "$(stat -c %s "$input")" \
        "$cli" --fonts "$generation" --to "$output" -o "$work/out" "$input"
      if [ -n "$last_seconds" ]; then growth "$last_seconds" "$previous_seconds" "$((size / last_size))"; fi
      last_seconds="$previous_seconds"; last_size="$size"
    done
  done
done

dictionary=/usr/share/hunspell/ml_IN.dic
if [ -f "$dictionary" ]; then
  echo
  header "Real words: output"
  for size in 1 10; do
    input="$work/words-$size.rtf"
    [ -f "$input" ] || "$generate" --words "$dictionary" "$size" 2026 "$input"
  done
  for output in $outputs; do
    last_seconds=""
    for size in 1 10; do
      input="$work/words-$size.rtf"
      measure "words $output" "$(stat -c %s "$input")" "$cli" --to "$output" -o "$work/out" "$input"
      if [ -n "$last_seconds" ]; then growth "$last_seconds" "$previous_seconds" 10; fi
      last_seconds="$previous_seconds"
    done
  done
  echo "(words of Debian's hunspell-ml in random order, typed in ML-TTKarthika)"
fi

echo
header "Word package: output"
for size in 1 10; do
  input="$work/v7-$size.docx"
  [ -f "$input" ] || "$generate" 7 "$size" 2026 "$input" > "$input.xml-bytes"
done
for output in docx ism; do
  last_seconds=""
  for size in 1 10; do
    input="$work/v7-$size.docx"
    xml=$(cat "$input.xml-bytes")
    measure "docx -> $output" "$xml" "$cli" --to "$output" -o "$work/out" "$input"
    if [ -n "$last_seconds" ]; then growth "$last_seconds" "$previous_seconds" 10; fi
    last_seconds="$previous_seconds"
  done
done
echo "(MB: the document XML; the package is compressed to about a twentieth)"

echo
header "Workbook: cells"
last_seconds=""
for cells in 10000 100000; do
  input="$work/v7-$cells.xlsx"
  [ -f "$input" ] || "$generate" --xlsx 7 "$cells" 2026 "$input" > "$input.xml-bytes"
  measure "xlsx $cells" "$(cat "$input.xml-bytes")" "$cli" --to xlsx -o "$work/out" "$input"
  if [ -n "$last_seconds" ]; then growth "$last_seconds" "$previous_seconds" 10; fi
  last_seconds="$previous_seconds"
done
echo "(MB: the workbook's XML: its sheet, shared strings and styles; four cells in five a string in a Rachana font)"

echo
"$(dirname "$0")/pdf/measure_pdf.sh" "$build" "$work"

echo
folder="$work/batch-$batch_count"
[ -d "$folder" ] || "$generate" --folder 7 "$batch_count" 2026 "$folder"
batch_bytes=$(du -cb "$folder"/*.rtf | tail -n 1 | cut -f 1)
echo "A batch of $batch_count Rich Text documents of 10 to 200 KB, $(awk -v b="$batch_bytes" 'BEGIN { printf "%.0f", b / 1e6 }') MB in all:"
for jobs in 1 2; do
  rm -rf "$work/batch-out"
  /usr/bin/time -f '%e' -o "$work/time" "$cli" --fonts 7 --to unicode -j "$jobs" -d "$work/batch-out" "$folder"/*.rtf \
    > "$work/batch-log" 2>&1
  read -r seconds < "$work/time"
  eval "batch_$jobs=$seconds"
  awk -v j="$jobs" -v s="$seconds" -v b="$batch_bytes" 'BEGIN { if (s < 0.005) s = 0.005; printf "  -j %s: %.2f s, %.1f MB/s\n", j, s, b / 1e6 / s }'
done
rm -rf "$work/batch-out"
awk -v a="$batch_1" -v b="$batch_2" 'BEGIN { if (b < 0.005) b = 0.005; printf "  -j 2 is %.2f times as fast as -j 1\n", a / b }'

site="${2:-}"
if [ -n "$site" ] && [ -f "$site/maravelundi.wasm" ] && [ -x /usr/bin/chromium ]; then
  echo
  echo "The page in headless chromium, against the command line, on a 10 MB version 7 document to Unicode:"
  node "$(dirname "$0")/../bench/web-bench.mjs" "$site" "$cli" "$work/v7-10.rtf"
fi

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
