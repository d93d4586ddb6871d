#pragma once
// Plain text as an input: text pasted out of old web pages, e-mails and PDFs
// that holds a legacy font's codes as Latin characters, in whatever form the
// file came (plaintext/DecodeLegacyText.h). The font is named, or found from
// the text itself; the text becomes a document of one paragraph per line in
// that font, which the one conversion reads by the font's name. Text that is
// no legacy Malayalam (English, or Malayalam Unicode already) is kept as it
// came, and the caller is told so.
//
// The way back reads the text as the Unicode it is: its Malayalam is what is
// spelled in the legacy font.

#include <string>
#include <string_view>
#include <vector>

#include "failure/Failure.h"
#include "richtext/Document.h"

namespace maravelundi {

struct TextInputSettings {
  bool forced = false;         // --from text: whatever the name
  std::string font = "auto";   // --font: a name --list-fonts lists, or auto
  bool convertAll = false;     // --convert-all: English words too
};

// Whether an input is read as plain text: asked for, or named *.txt.
bool ReadsAsPlainText(std::string_view name, const TextInputSettings& settings);

// Whether --font names a font the text can be read in ("auto" always can).
bool PlainTextFontKnown(std::string_view name);

struct PlainTextReading {
  Document document;
  bool legacy = false;                // legacy text, converted; else kept as it came
  std::vector<std::string> notices;   // said whatever the verbosity: the text is kept, say
  std::vector<std::string> details;   // said with --verbose: the font found and how sure
};

// The text of `bytes` as a document. `forUnicode` reads it as Unicode, for
// the way back. `name` is the input as messages call it.
Result<PlainTextReading> ReadPlainText(std::string_view bytes, const std::string& name,
                                       const TextInputSettings& settings, bool forUnicode);

}  // namespace maravelundi
