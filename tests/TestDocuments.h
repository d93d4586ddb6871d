#pragma once
// Helpers for writing documents in tests as runs of glyph codes in hex, the
// way glyph strings are written everywhere in this project: {"ra2", "21 41"}.

#include <cstdio>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>

#include "richtext/Document.h"
#include "richtext/GlyphString.h"

namespace maravelundi::testing {

// "49 76 5C" -> the glyph characters of those codes.
inline std::u16string Codes(std::string_view hex) {
  std::u16string out;
  std::istringstream in{std::string(hex)};
  std::string code;
  while (in >> code) out.push_back(GlyphChar(static_cast<std::uint8_t>(std::stoul(code, nullptr, 16))));
  return out;
}

struct Run {
  std::string font;
  std::string hex;
};

inline Document Doc(std::initializer_list<Run> runs) {
  Document doc;
  for (const Run& run : runs) doc.Append(Codes(run.hex), doc.InternFont(run.font));
  return doc;
}

// The characters as codes in hex (glyph characters by their byte, anything
// else as U+XXXX), for readable failure messages.
inline std::string Hex(std::u16string_view text) {
  std::string out;
  for (char16_t ch : text) {
    char buffer[16];
    if (const auto code = GlyphCode(ch)) std::snprintf(buffer, sizeof buffer, "%02X", *code);
    else std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(ch));
    if (!out.empty()) out += ' ';
    out += buffer;
  }
  return out;
}

// Runs of a document as "font:codes | font:codes".
inline std::string Describe(const Document& doc) {
  std::string out;
  for (std::size_t r = 0; r < doc.Runs().size(); ++r) {
    if (!out.empty()) out += " | ";
    const auto& run = doc.Runs()[r];
    out += doc.Format(run.format).fontName + ":" +
           Hex(std::u16string_view(doc.Text()).substr(run.begin, doc.RunEnd(r) - run.begin));
  }
  return out;
}

}  // namespace maravelundi::testing
