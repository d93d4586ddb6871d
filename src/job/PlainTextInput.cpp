#include "job/PlainTextInput.h"

#include <cmath>
#include <optional>

#include "package/ForeignFormat.h"
#include "plaintext/DecodeLegacyText.h"
#include "plaintext/FontDetector.h"
#include "plaintext/PlainTextDocument.h"

namespace maravelundi {
namespace {

std::string Text(std::string_view text) { return std::string(text); }

std::string_view ReadingName(GlyphReading reading) {
  return reading == GlyphReading::kMacRoman ? "Mac Roman" : "Windows-1252";
}

// "UTF-8, each code as its Windows-1252 character": how the codes came.
std::string DescribeForm(const DecodedText& decoded, GlyphReading reading) {
  std::string form = Text(TextFormName(decoded.form));
  if (decoded.form == TextForm::kBytes) return form + ", a code for each byte";
  form += decoded.privateUse ? ", codes as private-use characters (U+F000 plus the code)"
                             : ", each code as its " + Text(ReadingName(reading)) + " character";
  return form;
}

std::string Percent(double share) { return std::to_string(static_cast<int>(std::lround(share * 100.0))) + "%"; }

// Why the text is kept as it came.
std::string KeptBecause(TextKind kind) {
  switch (kind) {
    case TextKind::kEmpty: return "holds no words";
    case TextKind::kUnicodeMalayalam: return "is Malayalam Unicode already";
    case TextKind::kEnglish:
    case TextKind::kLegacy: break;
  }
  return "is not legacy-font Malayalam (its words read as English)";
}

PlainTextReading Kept(const DecodedText& decoded, const std::string& name, std::string why) {
  PlainTextReading reading;
  reading.document = UnchangedDocument(decoded.Glyphs());
  reading.notices.push_back(name + ": warning: the text " + std::move(why) + "; it is written unchanged");
  return reading;
}

PlainTextReading Converted(const DecodedText& decoded, const std::string& name, const PlainTextFont& font,
                           const TextInputSettings& settings, std::string how) {
  PlainTextReading reading;
  PlainTextDocument built = BuildPlainTextDocument(decoded.Glyphs(), font, PlainTextOptions{.convertAll = settings.convertAll});
  reading.document = std::move(built.document);
  reading.legacy = true;
  reading.details.push_back(name + ": font " + Text(font.fontName) + " (" + Text(font.encodingName) + "), " +
                            std::move(how) + "; read as " + DescribeForm(decoded, font.reading));
  if (built.englishWords > 0) {
    reading.details.push_back(name + ": " + std::to_string(built.englishWords) + " English word" +
                              (built.englishWords == 1 ? "" : "s") + " kept as typed, " +
                              std::to_string(built.legacyWords) + " converted" +
                              " (--convert-all converts them all)");
  }
  return reading;
}

// A named font of a family takes the reading of its codes that the text
// reads best in: its maps may be keyed by Mac Roman characters while the
// text came as Windows-1252 ones (as the way back writes it), or the other
// way round.
PlainTextFont WithBestReading(PlainTextFont font, const GlyphText& glyphs) {
  if (font.encoding == nullptr || !glyphs.ReadsApart()) return font;
  for (const FontCandidate& candidate : RankFonts(glyphs)) {
    if (candidate.font.encoding == font.encoding) {
      font.reading = candidate.font.reading;
      break;
    }
  }
  return font;
}

}  // namespace

bool ReadsAsPlainText(std::string_view name, const TextInputSettings& settings) {
  return settings.forced || LowerExtension(name) == ".txt";
}

bool PlainTextFontKnown(std::string_view name) { return name == "auto" || FindPlainTextFont(name).has_value(); }

Result<PlainTextReading> ReadPlainText(std::string_view bytes, const std::string& name,
                                       const TextInputSettings& settings, bool forUnicode) {
  const DecodedText decoded = DecodeLegacyText(bytes);
  if (forUnicode) {
    PlainTextReading reading;
    reading.document = UnchangedDocument(GlyphText{decoded.characters, {}, {}});
    return reading;
  }
  if (settings.font != "auto") {
    const std::optional<PlainTextFont> font = FindPlainTextFont(settings.font);
    if (!font) {
      return Failure{FailureCode::kNoSuchConversion, name,
                     "no legacy font " + settings.font + " with a map (--list-fonts lists them)", {}, std::nullopt};
    }
    return Converted(decoded, name, WithBestReading(*font, decoded.Glyphs()), settings, "as --font names it");
  }
  const FontGuess guess = DetectFont(decoded.Glyphs());
  if (guess.kind != TextKind::kLegacy) return Kept(decoded, name, KeptBecause(guess.kind));
  return Converted(decoded, name, guess.font, settings,
                   "found from " + std::to_string(guess.words) + " words, " + Percent(guess.confidence) + " sure");
}

}  // namespace maravelundi
