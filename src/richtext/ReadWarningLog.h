#pragma once
// Collects the reader's warnings: the first of each kind for each subject
// (a code page, a font number), and no more than a fixed number in all, so
// that a hostile document cannot fill memory with them.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "richtext/RtfReader.h"

namespace maravelundi {

class ReadWarningLog {
 public:
  // Distinct warnings kept; one more, TooManyWarnings, says others were dropped.
  static constexpr std::size_t kMaxWarnings = 64;

  // Whether a warning of this kind and subject would be kept: lets a caller
  // skip building its message.
  bool Wants(ReadWarningCode code, std::int64_t subject) const;

  // Keeps the warning unless one of the same kind and subject was kept.
  void Add(ReadWarningCode code, std::int64_t subject, std::string message, std::size_t offset);

  // The warnings by offset, the one saying others were dropped last.
  std::vector<ReadWarning> Take();

 private:
  std::set<std::pair<ReadWarningCode, std::int64_t>> seen_;
  std::vector<ReadWarning> warnings_;
  bool dropped_ = false;
};

}  // namespace maravelundi
