#include "convert/FontClassifier.h"

#include "transcode/Transcoder.h"
#include "unicode/UnicodeWalk.h"

namespace maravelundi {

bool IsConvertedFont(Generation generation, std::string_view fontName) {
  if (TableForFont(generation, fontName) != nullptr) return true;
  return walk::KindOfFont(fontName, generation == Generation::kAuto).Malayalam();
}

std::vector<bool> ConvertedFormats(const Document& document, Generation generation) {
  std::vector<bool> converted(document.FormatCount());
  for (std::size_t f = 0; f < converted.size(); ++f) {
    converted[f] = IsConvertedFont(generation, document.Format(static_cast<FormatId>(f)).fontName);
  }
  return converted;
}

}  // namespace maravelundi
