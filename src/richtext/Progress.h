#pragma once
// Long passes report how far they are, a few times a second at most, so a
// window can move its progress bar and handle input without the report
// costing anything per character.

#include <cstddef>

namespace maravelundi {

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  // `done` of `total` positions have been handled.
  virtual void Advance(std::size_t done, std::size_t total) = 0;
};

// How many positions a pass handles between two reports.
inline constexpr std::size_t kProgressStride = 1 << 16;

inline void ReportProgress(ProgressSink* sink, std::size_t done, std::size_t total) {
  if (sink != nullptr) sink->Advance(done, total);
}

}  // namespace maravelundi
