#include "GenerateDocument.h"

#include <array>
#include <random>
#include <vector>

#include "transcode/GlyphTables.h"

namespace maravelundi::bench {
namespace {

// Codes a font has rows for, so that every generated character converts.
std::vector<std::uint8_t> TypedCodes(const FontTable& table) {
  std::vector<std::uint8_t> codes;
  for (const GlyphRow& row : table.Rows()) {
    if (row.key > 0x20 && row.key != 0x7B && row.key != 0x7D && row.key != 0x5C) codes.push_back(row.key);
  }
  return codes;
}

void AppendCode(std::string& out, std::uint8_t code) {
  static constexpr char kHex[] = "0123456789abcdef";
  if (code >= 0x20 && code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else {
    out += "\\'";
    out.push_back(kHex[code >> 4]);
    out.push_back(kHex[code & 15]);
  }
}

constexpr std::array<const char*, 12> kEnglish = {"the", "report", "of", "Kerala", "2009", "and", "school",
                                                  "district", "with", "page", "notes", "(see)"};

}  // namespace

std::string GenerateRtf(Generation generation, std::size_t bytes, std::uint64_t seed) {
  const bool v2 = generation == Generation::kVersion2;
  std::array<std::vector<std::uint8_t>, 6> codes;
  for (int font = 0; font < 6; ++font) {
    codes[font] = TypedCodes(*TableForFont(generation, (v2 ? "ra" : "rc") + std::to_string(font + 1)));
  }
  std::mt19937_64 random(seed);
  const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };

  std::string out;
  out.reserve(bytes + 4096);
  out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl";
  for (int font = 0; font < 6; ++font) {
    out += "{\\f" + std::to_string(font) + "\\fnil\\fcharset0 " + (v2 ? "ra" : "rc") + std::to_string(font + 1) + ";}";
  }
  out += "{\\f6\\fswiss\\fcharset0 Arial;}}\r\n\\viewkind4\\uc1\\pard\\sa200\\sl276\\slmult1\\lang1033\\f0\\fs24 ";
  int current = 0;
  while (out.size() < bytes) {
    // A paragraph of 30 to 120 words; one word in ten is English.
    const std::size_t words = 30 + pick(91);
    for (std::size_t w = 0; w < words; ++w) {
      if (pick(10) == 0) {
        if (current != 6) out += "\\f6 ", current = 6;
        out += kEnglish[pick(kEnglish.size())];
      } else {
        // Mostly font 1, with conjuncts and signed letters from the others.
        const std::size_t letters = 2 + pick(6);
        for (std::size_t l = 0; l < letters; ++l) {
          const int font = pick(4) == 0 ? 1 + static_cast<int>(pick(5)) : 0;
          if (font != current) out += "\\f" + std::to_string(font) + " ", current = font;
          AppendCode(out, codes[font][pick(codes[font].size())]);
        }
      }
      out.push_back(' ');
    }
    out += "\\par\r\n";
  }
  out += "}\r\n";
  return out;
}

}  // namespace maravelundi::bench
