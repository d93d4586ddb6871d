#pragma once
// Which legacy font a text was typed in, from the text alone. Every family's
// encoding reads the text in both readings of its codes (GlyphText.h); each
// reading scores each word as the likelier of an English word and the
// Malayalam word the encoding makes of it (WordLanguage.h), and the reading
// whose words are likeliest wins. Encodings that share a byte layout convert
// most texts alike: where two make the same of every word, they are one
// answer, and the encoding whose maps were keyed by the reading is named.
//
// A text whose words are mostly English, or that is Malayalam Unicode
// already, is no legacy text: the caller writes it unchanged. The Rachana
// fonts need a font per character, so plain text is never found to be one.
//
// The detector works on glyph text, not on files, so that a document's font
// of an unknown name or a PDF's font can be judged by its text too. It looks
// at the first `maxWords` words; the rest cannot change the answer much.

#include <cstdint>
#include <string_view>
#include <vector>

#include "plaintext/GlyphText.h"
#include "plaintext/PlainTextFont.h"

namespace maravelundi {

enum class TextKind : std::uint8_t {
  kEmpty,             // no word at all
  kLegacy,            // legacy-font Malayalam, in `font`
  kUnicodeMalayalam,  // Malayalam Unicode already
  kEnglish,           // no Malayalam: English, or any other Latin text
};

struct FontGuess {
  TextKind kind = TextKind::kEmpty;
  PlainTextFont font;       // for kLegacy
  double confidence = 0.0;  // 0 to 1: how sure the detector is of the kind and the font
  std::size_t words = 0;    // the words it looked at
};

struct DetectorOptions {
  std::size_t maxWords = 4000;
};

// One font and reading as the detector scored it.
struct FontCandidate {
  PlainTextFont font;
  double log2Likelihood = 0.0;  // of the words looked at, each as English or as Malayalam
  std::size_t malayalamWords = 0;
  std::size_t englishWords = 0;
  std::uint64_t output = 0;  // a fingerprint of what the font makes of the words
};

FontGuess DetectFont(const GlyphText& text, const DetectorOptions& options = {});

// Every family's encoding in every reading the text has, best first.
std::vector<FontCandidate> RankFonts(const GlyphText& text, const DetectorOptions& options = {});

std::string_view TextKindName(TextKind kind);

}  // namespace maravelundi
