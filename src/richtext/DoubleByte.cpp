#include "richtext/DoubleByte.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace maravelundi {
namespace {

struct ByteRange {
  std::uint8_t first = 1;
  std::uint8_t last = 0;  // empty unless set

  constexpr bool Holds(std::uint8_t byte) const { return byte >= first && byte <= last; }
  constexpr int Size() const { return last >= first ? last - first + 1 : 0; }
};

// Up to three ranges, in increasing order.
using ByteRanges = std::array<ByteRange, 3>;

constexpr bool Holds(const ByteRanges& ranges, std::uint8_t byte) {
  return std::any_of(ranges.begin(), ranges.end(), [&](const ByteRange& r) { return r.Holds(byte); });
}

// The position of `byte` among all bytes of the ranges, counted from 0.
constexpr int IndexIn(const ByteRanges& ranges, std::uint8_t byte) {
  int before = 0;
  for (const ByteRange& r : ranges) {
    if (r.Holds(byte)) return before + (byte - r.first);
    before += r.Size();
  }
  return -1;
}

struct DoubleBytePage {
  int codePage;
  ByteRanges leads;
  ByteRanges trails;
};

// Mac Japanese is read by the cp932 converter, so it has cp932's shape.
constexpr std::array kPages = {
    DoubleBytePage{932, {{{0x81, 0x9F}, {0xE0, 0xFC}}}, {{{0x40, 0x7E}, {0x80, 0xFC}}}},
    DoubleBytePage{936, {{{0x81, 0xFE}}}, {{{0x40, 0x7E}, {0x80, 0xFE}}}},
    DoubleBytePage{949, {{{0x81, 0xFE}}}, {{{0x41, 0x5A}, {0x61, 0x7A}, {0x81, 0xFE}}}},
    DoubleBytePage{950, {{{0x81, 0xFE}}}, {{{0x40, 0x7E}, {0xA1, 0xFE}}}},
    DoubleBytePage{1361, {{{0x84, 0xD3}, {0xD8, 0xDE}, {0xE0, 0xF9}}}, {{{0x31, 0x7E}, {0x81, 0xFE}}}},
    DoubleBytePage{10001, {{{0x81, 0x9F}, {0xE0, 0xFC}}}, {{{0x40, 0x7E}, {0x80, 0xFC}}}},
};

// One user-defined area: leads `leads`, each followed by any of `trails`,
// numbered row by row from `firstChar`.
struct UserDefinedArea {
  int codePage;
  ByteRange leads;
  ByteRanges trails;
  char16_t firstChar;
};

constexpr std::array kUserDefinedAreas = {
    UserDefinedArea{932, {0xF0, 0xF9}, {{{0x40, 0x7E}, {0x80, 0xFC}}}, 0xE000},
    UserDefinedArea{936, {0xAA, 0xAF}, {{{0xA1, 0xFE}}}, 0xE000},
    UserDefinedArea{936, {0xF8, 0xFE}, {{{0xA1, 0xFE}}}, 0xE234},
    UserDefinedArea{936, {0xA1, 0xA7}, {{{0x40, 0x7E}, {0x80, 0xA0}}}, 0xE4C6},
    UserDefinedArea{949, {0xC9, 0xC9}, {{{0xA1, 0xFE}}}, 0xE000},
    UserDefinedArea{949, {0xFE, 0xFE}, {{{0xA1, 0xFE}}}, 0xE05E},
    UserDefinedArea{950, {0xFA, 0xFE}, {{{0x40, 0x7E}, {0xA1, 0xFE}}}, 0xE000},
    UserDefinedArea{950, {0x8E, 0xA0}, {{{0x40, 0x7E}, {0xA1, 0xFE}}}, 0xE311},
    UserDefinedArea{950, {0x81, 0x8D}, {{{0x40, 0x7E}, {0xA1, 0xFE}}}, 0xEEB8},
    UserDefinedArea{950, {0xC6, 0xC6}, {{{0xA1, 0xFE}}}, 0xF6B1},
    UserDefinedArea{950, {0xC7, 0xC8}, {{{0x40, 0x7E}, {0xA1, 0xFE}}}, 0xF70F},
};

constexpr int AreaSize(const UserDefinedArea& area) {
  int trails = 0;
  for (const ByteRange& r : area.trails) trails += r.Size();
  return area.leads.Size() * trails;
}

// The areas of one code page follow each other in private use without gap
// or overlap, as Windows numbers them.
constexpr bool AreasAreContiguous() {
  for (std::size_t i = 1; i < kUserDefinedAreas.size(); ++i) {
    const UserDefinedArea& before = kUserDefinedAreas[i - 1];
    const UserDefinedArea& area = kUserDefinedAreas[i];
    const int next = area.codePage == before.codePage ? before.firstChar + AreaSize(before) : 0xE000;
    if (area.firstChar != next) return false;
  }
  return true;
}
static_assert(AreasAreContiguous());
static_assert(0xE000 + AreaSize(kUserDefinedAreas[0]) == 0xE758, "cp932: U+E000-U+E757");
static_assert(kUserDefinedAreas.back().firstChar + AreaSize(kUserDefinedAreas.back()) == 0xF849,
              "cp950 ends at U+F848");

const DoubleBytePage* FindPage(int codePage) {
  const auto page =
      std::find_if(kPages.begin(), kPages.end(), [&](const DoubleBytePage& p) { return p.codePage == codePage; });
  return page != kPages.end() ? &*page : nullptr;
}

}  // namespace

bool IsDoubleBytePair(int codePage, std::uint8_t lead, std::uint8_t trail) {
  const DoubleBytePage* page = FindPage(codePage);
  return page != nullptr && Holds(page->leads, lead) && Holds(page->trails, trail);
}

std::optional<char16_t> UserDefinedChar(int codePage, std::uint8_t lead, std::uint8_t trail) {
  for (const UserDefinedArea& area : kUserDefinedAreas) {
    if (area.codePage != codePage || !area.leads.Holds(lead) || !Holds(area.trails, trail)) continue;
    const int row = lead - area.leads.first;
    const int trails = AreaSize(area) / area.leads.Size();
    return static_cast<char16_t>(area.firstChar + row * trails + IndexIn(area.trails, trail));
  }
  return std::nullopt;
}

}  // namespace maravelundi
