#include "ism/FinishIsmText.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "families/LegacyEncoding.h"

namespace maravelundi {
namespace {

bool OccursIn(std::u16string_view s, std::u16string_view signClass) {
  return s.empty() || signClass.find(s) != std::u16string_view::npos;
}

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

Document FinishIsmText(const Document& mltt, ProgressSink* progress, std::vector<TextIndex>* sourceOf) {
  // Every boundary of the original text is judged once, by the two original
  // characters beside it: an inserted mark is never a letter code, so it can
  // neither take a mark nor change the judgement of the boundary after it.
  const std::u16string& text = mltt.Text();
  const std::size_t n = text.size();
  std::vector<CharFormat> formats(mltt.FormatCount());
  std::vector<bool> isMl(mltt.FormatCount());
  for (std::size_t f = 0; f < formats.size(); ++f) {
    formats[f] = mltt.Format(static_cast<FormatId>(f));
    isMl[f] = IsMlttFontName(formats[f].fontName);
  }
  std::u16string out;
  out.reserve(n + n / 2);
  std::vector<TextIndex> tracedSources;
  if (sourceOf != nullptr) tracedSources.reserve(n + n / 2);
  std::vector<FormatRun> runs;
  runs.reserve(mltt.Runs().size());
  std::size_t nextReport = kProgressStride;
  for (std::size_t r = 0; r < mltt.Runs().size(); ++r) {
    const FormatId format = mltt.Runs()[r].format;
    if (out.size() > kMaxDocumentSize) throw std::length_error("document too large");
    runs.push_back({static_cast<TextIndex>(out.size()), format});
    const std::size_t end = mltt.RunEnd(r);
    for (std::size_t i = mltt.Runs()[r].begin; i < end; ++i) {
      if (i >= nextReport) {
        ReportProgress(progress, i, n);
        nextReport += kProgressStride;
      }
      out.push_back(text[i]);
      // The mark takes the font of the character before it.
      if (isMl[format] && i + 1 < n && NeedsBreak(text[i], text[i + 1])) out.push_back(kBreakMark);
      if (sourceOf != nullptr) tracedSources.resize(out.size(), (*sourceOf)[i]);
    }
  }
  ReportProgress(progress, n, n);
  if (sourceOf != nullptr) *sourceOf = std::move(tracedSources);
  return Document::FromParts(std::move(out), std::move(runs), formats);
}

}  // namespace maravelundi
