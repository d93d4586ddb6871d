#include "pdf/PdfFonts.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace maravelundi {
namespace {

constexpr std::size_t kSubsetTagLength = 6;
constexpr std::array<std::string_view, 6> kStyles = {"BoldItalic", "BoldOblique", "Bold", "Italic", "Oblique",
                                                     "Regular"};

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The name without a style after a comma or a hyphen ("ML-TTKarthika,Bold",
// "rl1-Bold"), or nothing when it has none.
std::optional<std::string_view> WithoutStyle(std::string_view name) {
  const std::size_t cut = name.find_last_of(",-");
  if (cut == std::string_view::npos || cut == 0) return std::nullopt;
  const std::string_view style = name.substr(cut + 1);
  if (name[cut] == '-' && std::find(kStyles.begin(), kStyles.end(), style) == kStyles.end()) return std::nullopt;
  return name.substr(0, cut);
}

}  // namespace

std::string_view WithoutSubsetPrefix(std::string_view name) {
  if (name.size() > kSubsetTagLength && name[kSubsetTagLength] == '+' &&
      std::all_of(name.begin(), name.begin() + kSubsetTagLength, IsUpper)) {
    return name.substr(kSubsetTagLength + 1);
  }
  return name;
}

std::optional<std::string> LegacyFontNamed(std::string_view pdfName, FontClassifier& fonts) {
  const std::string_view name = WithoutSubsetPrefix(pdfName);
  // Without its style first: the ML-TT family is known by its prefix, which
  // "ML-TTKarthika,Bold" has too.
  if (const auto plain = WithoutStyle(name); plain && fonts.Converted(*plain)) return std::string(*plain);
  if (!name.empty() && fonts.Converted(name)) return std::string(name);
  return std::nullopt;
}

bool SaysNothing(std::string_view name) {
  std::size_t letters = 0;
  while (letters < name.size() && std::isalpha(static_cast<unsigned char>(name[letters]))) ++letters;
  return name.empty() ||
         (letters >= 1 && letters <= 2 && letters < name.size() &&
          std::all_of(name.begin() + static_cast<std::ptrdiff_t>(letters), name.end(), IsDigit));
}

}  // namespace maravelundi
