// Each pass on its own, on a generated 4 MB document, in bytes per second of
// its input.

#include <benchmark/benchmark.h>

#include "GenerateDocument.h"
#include "ism/FinishIsmText.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "unicode/UnicodeBody.h"

namespace maravelundi::bench {
namespace {

struct Inputs {
  std::string rtf = GenerateRtf(Generation::kVersion7, 4'000'000, 7);
  Document source = ReadRtf(rtf).document;
  Document mltt = Transcode(source, Generation::kVersion7);
};

const Inputs& Data() {
  static const Inputs inputs;
  return inputs;
}

void ReadRtfPass(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ReadRtf(Data().rtf));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Data().rtf.size()));
}

void TranscodePass(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Transcode(Data().source, Generation::kVersion7));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Data().source.Size() * 2));
}

void FinishIsmTextPass(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(FinishIsmText(Data().mltt));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Data().mltt.Size() * 2));
}

void UnicodeBodyPass(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(BuildUnicodeBody(Data().mltt));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Data().mltt.Size() * 2));
}

void WriteRtfPass(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(WriteRtf(Data().mltt));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Data().mltt.Size() * 2));
}

BENCHMARK(ReadRtfPass)->Unit(benchmark::kMillisecond);
BENCHMARK(TranscodePass)->Unit(benchmark::kMillisecond);
BENCHMARK(FinishIsmTextPass)->Unit(benchmark::kMillisecond);
BENCHMARK(UnicodeBodyPass)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteRtfPass)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace maravelundi::bench

BENCHMARK_MAIN();
