#include "richtext/FontEncoding.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "richtext/CodePage.h"

namespace maravelundi {
namespace {

struct CharsetRow {
  std::int64_t charset;
  int codePage;
};

// The character sets Windows and Word give fonts, with the code page their
// bytes are in. Symbol fonts other than "Symbol" itself (Wingdings, and the
// legacy fonts that declare 2) keep their bytes as glyphs.
constexpr std::array kCharsets = {
    CharsetRow{0, kGlyphBytes},      // ANSI: Windows-1252
    CharsetRow{1, kDocumentBytes},   // default
    CharsetRow{2, kGlyphBytes},      // symbol
    CharsetRow{77, 10000},           // Mac Roman
    CharsetRow{78, 10001},           // Mac Japanese, as TextEdit and Word for Mac write it
    CharsetRow{88, 10029},           // Mac Central European
    CharsetRow{89, 10007},           // Mac Cyrillic
    CharsetRow{128, 932},            // Shift-JIS
    CharsetRow{129, 949},            // Korean, Unified Hangul
    CharsetRow{130, 1361},           // Korean, Johab
    CharsetRow{134, 936},            // Simplified Chinese, GBK
    CharsetRow{136, 950},            // Traditional Chinese, Big5
    CharsetRow{161, 1253},           // Greek
    CharsetRow{162, 1254},           // Turkish
    CharsetRow{163, 1258},           // Vietnamese
    CharsetRow{177, 1255},           // Hebrew
    CharsetRow{178, 1256},           // Arabic
    CharsetRow{186, 1257},           // Baltic
    CharsetRow{204, 1251},           // Cyrillic
    CharsetRow{222, 874},            // Thai
    CharsetRow{238, 1250},           // Central European
    CharsetRow{254, 437},            // OEM United States
    CharsetRow{255, 850},            // OEM Multilingual Latin 1
    CharsetRow{256, kDocumentBytes}, // Word for Mac: the font's own, which is the document's
};
static_assert(std::is_sorted(kCharsets.begin(), kCharsets.end(),
                             [](const CharsetRow& a, const CharsetRow& b) { return a.charset < b.charset; }));

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return Lower(x) == Lower(y);
         });
}

// The Rachana fonts of both generations under both their names, as the
// glyph tables know them: "ra1" ... "ra6", "rkr1" ... "rkr6", "rc1" ...
// "rc6", "rl1" ... "rl6".
bool IsRachanaName(std::string_view name) {
  if (name.size() < 3 || name.back() < '1' || name.back() > '6') return false;
  const std::string_view family = name.substr(0, name.size() - 1);
  return EqualsIgnoringCase(family, "ra") || EqualsIgnoringCase(family, "rkr") ||
         EqualsIgnoringCase(family, "rc") || EqualsIgnoringCase(family, "rl");
}

// The beginnings the names of the other legacy Malayalam families share:
// "ML-TTRevathi", "ML-Karthika", "ML Surya", "MLB-TTIndulekha",
// "GIST-MLTTKarthika" and their kin.
constexpr std::array<std::string_view, 4> kLegacyPrefixes = {"ML-", "ML ", "MLB-", "GIST-MLTT"};

bool HasLegacyPrefix(std::string_view name) {
  return std::any_of(kLegacyPrefixes.begin(), kLegacyPrefixes.end(), [&](std::string_view prefix) {
    return name.size() >= prefix.size() && EqualsIgnoringCase(name.substr(0, prefix.size()), prefix);
  });
}

}  // namespace

FontKind KindOfFont(std::string_view name) {
  if (IsRachanaName(name) || HasLegacyPrefix(name)) return FontKind::Legacy;
  if (EqualsIgnoringCase(name, "Symbol")) return FontKind::Symbol;
  return FontKind::Other;
}

std::optional<int> CodePageOfCharset(std::int64_t charset) {
  const auto row = std::lower_bound(kCharsets.begin(), kCharsets.end(), charset,
                                    [](const CharsetRow& r, std::int64_t c) { return r.charset < c; });
  if (row == kCharsets.end() || row->charset != charset) return std::nullopt;
  return row->codePage;
}

std::optional<int> CodePageOfCpg(std::int64_t codePage) {
  if (codePage == 1252) return kGlyphBytes;
  if (IsDecodedCodePage(codePage)) return static_cast<int>(codePage);
  return std::nullopt;
}

int BytesOfFont(FontKind kind, const FontDeclaration& declared, int documentCodePage) {
  if (kind == FontKind::Legacy) return kGlyphBytes;
  if (kind == FontKind::Symbol) return kSymbolBytes;
  if (declared.cpg) return *declared.cpg;
  const int page = declared.charset.value_or(kDocumentBytes);
  return page == kDocumentBytes ? documentCodePage : page;
}

bool TakesPrivateUseAsBytes(FontKind kind, const FontDeclaration& declared) {
  return kind != FontKind::Other || declared.symbolCharset;
}

int BytesOfFontName(const FontDeclaration& declared, int documentCodePage) {
  if (declared.cpg) return *declared.cpg;
  const bool ownPage = declared.charset && *declared.charset != kGlyphBytes && *declared.charset != kDocumentBytes;
  return ownPage ? *declared.charset : documentCodePage;
}

}  // namespace maravelundi
