#include "convert/FontClassifier.h"

#include <algorithm>

#include "transcode/Transcoder.h"

namespace maravelundi {
namespace {

FontDecision Decide(Generation generation, std::string_view fontName) {
  return FontDecision{TableForFont(generation, fontName), walk::RoleOfFont(fontName, ReadsLegacyFamilies(generation))};
}

}  // namespace

FontClassifier::FontClassifier(Generation generation) : generation_(generation) {}

const FontDecision& FontClassifier::Of(std::string_view fontName) {
  const auto found = std::find_if(decided_.begin(), decided_.end(), [&](const Entry& e) { return e.font == fontName; });
  if (found != decided_.end()) {
    std::iter_swap(decided_.begin(), found);
    return decided_.front().decision;
  }
  decided_.insert(decided_.begin(), Entry{std::string(fontName), Decide(generation_, fontName)});
  return decided_.front().decision;
}

std::vector<bool> FontClassifier::ConvertedFormats(const Document& document) {
  std::vector<bool> converted(document.FormatCount());
  for (std::size_t f = 0; f < converted.size(); ++f) {
    converted[f] = Converted(document.Format(static_cast<FormatId>(f)).fontName);
  }
  return converted;
}

bool IsConvertedFont(Generation generation, std::string_view fontName) {
  return Decide(generation, fontName).Converted();
}

}  // namespace maravelundi
