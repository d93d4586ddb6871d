#pragma once
// Which fonts' text a conversion converts, and how: a Rachana font of the
// chosen generation through its glyph table, an ML-TT font ("ML-") as it is,
// and with the other legacy families on, a font of another family by its own
// encoding. Text in any other font is copied, so it stays exactly where and
// as it is. Every reader and writer asks one classifier per document, which
// decides each font name once.

#include <string>
#include <string_view>
#include <vector>

#include "convert/ConversionProfile.h"
#include "richtext/Document.h"
#include "transcode/FontTable.h"
#include "unicode/UnicodeWalk.h"

namespace maravelundi {

struct FontDecision {
  const FontTable* rachana = nullptr;  // the glyph table of a Rachana font of the generation
  walk::FontRole role;                 // what the Unicode walk does with it once it is ML-TT
  bool Converted() const { return rachana != nullptr || role.Malayalam(); }
};

class FontClassifier {
 public:
  explicit FontClassifier(Generation generation);

  const FontDecision& Of(std::string_view fontName);
  bool Converted(std::string_view fontName) { return Of(fontName).Converted(); }
  // The decision for each format of a document.
  std::vector<bool> ConvertedFormats(const Document& document);

 private:
  struct Entry {
    std::string font;
    FontDecision decision;
  };

  Generation generation_;
  // A document names a handful of fonts, asked about at every run: a short
  // list, the latest answer first, beats a hash.
  std::vector<Entry> decided_;
};

// One question, without a classifier to keep the answer.
bool IsConvertedFont(Generation generation, std::string_view fontName);

}  // namespace maravelundi
