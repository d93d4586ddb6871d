#include "ism/FinishIsmText.h"

#include <cstdint>
#include <vector>

namespace maravelundi {
namespace {

bool OccursIn(std::u16string_view s, std::u16string_view signClass) {
  return s.empty() || signClass.find(s) != std::u16string_view::npos;
}

bool StartsWithMl(std::string_view fontName) { return fontName.starts_with("ML-"); }

// Whether a mark belongs between `current` (in a font starting "ML-") and
// `next`. Marks already in the text are not letter codes, so no mark is ever
// put beside one, which makes the pass idempotent.
bool NeedsBreak(char16_t current, char16_t next) {
  return IsLetterCode(current) && IsLetterCode(next) &&
         !IsPostBaseSign(std::u16string_view(&next, 1)) &&
         !IsPreBaseSign(std::u16string_view(&current, 1));
}

}  // namespace

bool IsPostBaseSign(std::u16string_view s) { return OccursIn(s, kPostBaseSigns); }
bool IsPreBaseSign(std::u16string_view s) { return OccursIn(s, kPreBaseSigns); }

Document FinishIsmText(const Document& mltt, ProgressSink* progress) {
  // Every boundary of the original text is judged once, by the two original
  // characters beside it: an inserted mark is never a letter code, so it can
  // neither take a mark nor change the judgement of the boundary after it.
  Document finished;
  const std::u16string& text = mltt.Text();
  const std::size_t n = text.size();
  finished.Reserve(n + n / 2);
  std::vector<bool> isMl(mltt.FormatCount());
  for (std::size_t f = 0; f < isMl.size(); ++f) {
    isMl[f] = StartsWithMl(mltt.Format(static_cast<FormatId>(f)).fontName);
  }
  std::vector<FormatId> idInFinished(mltt.FormatCount());
  for (std::size_t f = 0; f < idInFinished.size(); ++f) {
    idInFinished[f] = finished.Intern(mltt.Format(static_cast<FormatId>(f)));
  }
  std::size_t nextReport = kProgressStride;
  const auto& runs = mltt.Runs();
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const FormatId format = runs[r].format;
    const FormatId target = idInFinished[format];
    const std::size_t end = mltt.RunEnd(r);
    for (std::size_t i = runs[r].begin; i < end; ++i) {
      if (i >= nextReport) {
        ReportProgress(progress, i, n);
        nextReport += kProgressStride;
      }
      finished.Append(text[i], target);
      if (isMl[format] && i + 1 < n && NeedsBreak(text[i], text[i + 1])) {
        finished.Append(kBreakMark, target);
      }
    }
  }
  ReportProgress(progress, n, n);
  return finished;
}

}  // namespace maravelundi
