#include "families/LegacyEncoding.h"

#include <algorithm>
#include <utility>

#include "families/LegacyFontIndex.h"

namespace maravelundi {
namespace {

using legacy_rows::kEncodingRows;
using legacy_rows::kFontRows;
using legacy_rows::kNoMap;
using legacy_rows::LegacyEncodingRows;
using legacy_rows::LegacyRow;

constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr bool LessIgnoringCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return LowerAscii(x) < LowerAscii(y); });
}

constexpr bool HasEveryCodeInOrder(std::span<const LegacyRow> rows) {
  if (rows.size() != 256) return false;
  for (std::size_t code = 0; code < rows.size(); ++code) {
    if (rows[code].code != code) return false;
  }
  return true;
}

constexpr bool EveryTableComplete() {
  return std::all_of(std::begin(kEncodingRows), std::end(kEncodingRows),
                     [](const LegacyEncodingRows& e) { return HasEveryCodeInOrder(e.rows); });
}

// Sorted and unique in any letter case, so that a binary search finds a name
// and no name can mean two encodings.
constexpr bool NamesStrictlyIncreasing() {
  for (std::size_t i = 1; i < std::size(kFontRows); ++i) {
    if (!LessIgnoringCase(kFontRows[i - 1].name, kFontRows[i].name)) return false;
  }
  return true;
}

constexpr bool OnlyFirstIsMltt() {
  return kEncodingRows[0].mltt && std::none_of(std::begin(kEncodingRows) + 1, std::end(kEncodingRows),
                                               [](const LegacyEncodingRows& e) { return e.mltt; });
}

static_assert(EveryTableComplete(), "every table has one row per code, in code order");
static_assert(NamesStrictlyIncreasing(), "font names sorted and unique, ignoring case");
static_assert(OnlyFirstIsMltt(), "the ML-TT layout comes first and only once");

constexpr LegacyEncoding BuildEncoding(const LegacyEncodingRows& source) {
  LegacyEncoding encoding{source.name, source.mltt, {}};
  for (const LegacyRow& row : source.rows) encoding.glyphs[row.code] = {row.text, RoleOfGlyphText(row.text)};
  return encoding;
}

template <std::size_t... I>
constexpr std::array<LegacyEncoding, sizeof...(I)> BuildEncodings(std::index_sequence<I...>) {
  return {BuildEncoding(kEncodingRows[I])...};
}

constexpr auto kEncodings = BuildEncodings(std::make_index_sequence<std::size(kEncodingRows)>());

template <std::size_t... I>
constexpr std::array<LegacyFontName, sizeof...(I)> BuildFontNames(std::index_sequence<I...>) {
  return {LegacyFontName{kFontRows[I].name,
                         kFontRows[I].encoding == kNoMap ? nullptr : &kEncodings[kFontRows[I].encoding]}...};
}

constexpr auto kFontNames = BuildFontNames(std::make_index_sequence<std::size(kFontRows)>());

}  // namespace

std::span<const LegacyEncoding> LegacyEncodings() { return kEncodings; }

std::span<const LegacyFontName> KnownLegacyFonts() { return kFontNames; }

const LegacyEncoding* FindLegacyEncoding(std::string_view fontName) {
  const auto found = std::lower_bound(kFontNames.begin(), kFontNames.end(), fontName,
                                      [](const LegacyFontName& known, std::string_view name) {
                                        return LessIgnoringCase(known.name, name);
                                      });
  if (found == kFontNames.end() || LessIgnoringCase(fontName, found->name)) return nullptr;
  return found->encoding;
}

const LegacyEncoding* FindLegacyEncodingByName(std::string_view encodingName) {
  const auto found = std::find_if(kEncodings.begin(), kEncodings.end(),
                                  [&](const LegacyEncoding& encoding) { return encoding.name == encodingName; });
  return found == kEncodings.end() ? nullptr : &*found;
}

}  // namespace maravelundi
