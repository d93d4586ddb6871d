#include "office/StretchConversion.h"

#include <algorithm>

#include "convert/FamiliesAsMltt.h"
#include "ism/FinishIsmText.h"
#include "office/ConvertedFonts.h"
#include "transcode/Transcoder.h"
#include "unicode/UnicodeDocument.h"

namespace maravelundi {
namespace {

const std::string kMlttFont(kMlttFontName);

Document ConvertedText(const Document& source, const EngineOptions& options) {
  Document mltt = Transcode(source, options.generation);
  if (options.output != InPlaceOutput::kUnicode && options.unicode.legacyFamilies) ReencodeFamiliesAsMltt(mltt);
  switch (options.output) {
    case InPlaceOutput::kUnicode: return BuildUnicodeDocument(mltt, options.unicodeFont, nullptr, options.unicode);
    case InPlaceOutput::kIsm: return FinishIsmText(mltt);
    case InPlaceOutput::kMltt: break;
  }
  return mltt;
}

bool IsConvertedPiece(const CharFormat& format, const EngineOptions& options) {
  return options.output == InPlaceOutput::kUnicode ? format.fontName == options.unicodeFont
                                                   : IsMlttFont(format.fontName);
}

}  // namespace

const std::string& EngineOptions::ConvertedFont() const {
  return output == InPlaceOutput::kUnicode ? unicodeFont : kMlttFont;
}

ConvertedStretch ConvertStretch(const Document& source, const EngineOptions& options) {
  ConvertedStretch result{ConvertedText(source, options), {}};
  const Document& converted = result.document;
  const std::u16string_view text = converted.Text();
  std::uint32_t slot = 0;
  for (std::size_t r = 0; r < converted.Runs().size(); ++r) {
    const FormatRun& run = converted.Runs()[r];
    const CharFormat& format = converted.Format(run.format);
    slot = std::max(slot, format.sourceTag);
    result.pieces.push_back(ConvertedPiece{text.substr(run.begin, converted.RunEnd(r) - run.begin), format.sourceTag,
                                        slot, IsConvertedPiece(format, options)});
  }
  return result;
}

}  // namespace maravelundi
