#pragma once
// Long passes report how far they are, a few times a second at most, so a
// window can move its progress bar and handle input without the report
// costing anything per character.

#include <cstddef>

namespace maravelundi {

// The two stages of a whole conversion: stage one re-encodes the source's
// Rachana text into ML-TT glyphs; stage two makes the chosen output from it.
enum class ConversionStage { kTranscode, kOutput };

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  // `done` of `total` positions have been handled.
  virtual void Advance(std::size_t done, std::size_t total) = 0;
  // A whole conversion announces each stage before its first report, so a
  // window can lock itself for stage one only.
  virtual void EnterStage(ConversionStage /*stage*/) {}
};

// How many positions a pass handles between two reports.
inline constexpr std::size_t kProgressStride = 1 << 16;

inline void ReportProgress(ProgressSink* sink, std::size_t done, std::size_t total) {
  if (sink != nullptr) sink->Advance(done, total);
}

inline void ReportStage(ProgressSink* sink, ConversionStage stage) {
  if (sink != nullptr) sink->EnterStage(stage);
}

}  // namespace maravelundi
