#include "richtext/ReadWarningLog.h"

#include <algorithm>

namespace maravelundi {

bool ReadWarningLog::Wants(ReadWarningCode code, std::int64_t subject) const {
  return !seen_.contains({code, subject}) && !(dropped_ && warnings_.size() >= kMaxWarnings);
}

void ReadWarningLog::Add(ReadWarningCode code, std::int64_t subject, std::string message, std::size_t offset) {
  if (seen_.contains({code, subject})) return;
  if (warnings_.size() >= kMaxWarnings) {
    dropped_ = true;
    return;
  }
  seen_.emplace(code, subject);
  warnings_.push_back({code, std::move(message), offset});
}

std::vector<ReadWarning> ReadWarningLog::Take() {
  std::stable_sort(warnings_.begin(), warnings_.end(),
                   [](const ReadWarning& a, const ReadWarning& b) { return a.offset < b.offset; });
  if (dropped_) {
    const std::size_t last = warnings_.empty() ? 0 : warnings_.back().offset;
    warnings_.push_back({ReadWarningCode::TooManyWarnings,
                         "more than " + std::to_string(kMaxWarnings) + " warnings; the rest are not listed", last});
  }
  seen_.clear();
  dropped_ = false;
  return std::move(warnings_);
}

}  // namespace maravelundi
