#include "plaintext/CharacterModel.h"

#include <algorithm>
#include <array>

#include "families/MalayalamLetters.h"
#include "plaintext/EnglishModel.h"
#include "plaintext/MalayalamModel.h"

namespace maravelundi {
namespace {

using plaintext_statistics::NgramRow;

constexpr std::uint16_t kBoundary = 1;

// Bits of a table with room for twice `entries`.
int BitsFor(std::size_t entries) {
  int bits = 4;
  while ((std::size_t{1} << bits) < 2 * entries) ++bits;
  return bits;
}

// A symbol of at most three units as one number.
std::uint64_t Pack(std::u16string_view symbol) {
  std::uint64_t packed = 0;
  for (const char16_t unit : symbol) packed = packed << 16 | unit;
  return packed;
}

}  // namespace

CharacterModel::CharacterModel(std::span<const NgramRow> rows, int order, SymbolSplit split)
    : order_(order), split_(split), rows_(rows.size()) {
  for (const NgramRow& row : rows) {
    if (row.gram != u" " && SymbolLength(row.gram, 0) == row.gram.size()) symbolTexts_.push_back(Pack(row.gram));
  }
  std::sort(symbolTexts_.begin(), symbolTexts_.end());
  symbolBits_ = BitsFor(symbolTexts_.size());
  symbolSlots_.assign(std::size_t{1} << symbolBits_, {0, 0});
  for (std::size_t i = 0; i < symbolTexts_.size(); ++i) {
    std::size_t at = Hash(symbolTexts_[i], symbolBits_);
    while (symbolSlots_[at].first != 0) at = (at + 1) & (symbolSlots_.size() - 1);
    symbolSlots_[at] = {symbolTexts_[i], static_cast<std::uint16_t>(i + 2)};
  }
  slotBits_ = BitsFor(rows.size());
  slots_.assign(std::size_t{1} << slotBits_, Slot{});
  std::vector<std::uint16_t> symbols;
  for (const NgramRow& row : rows) {
    symbols.clear();
    Symbols(row.gram, symbols);
    Key key = 0;
    for (std::size_t i = 0; i < symbols.size(); ++i) key |= Key{symbols[i]} << (kSymbolBits * i);
    std::size_t at = Hash(key, slotBits_);
    while (slots_[at].key != 0) at = (at + 1) & (slots_.size() - 1);
    slots_[at] = Slot{key, row.logProbability, row.backOff};
  }
}

std::size_t CharacterModel::SymbolLength(std::u16string_view text, std::size_t i) const {
  using namespace malayalam;
  if (split_ == SymbolSplit::kCharacters || !IsConsonant(text[i]) || i + 1 >= text.size() || text[i + 1] != kVirama) {
    return 1;
  }
  return i + 2 < text.size() && text[i + 2] == kZwj ? 3 : 2;
}

std::uint16_t CharacterModel::SymbolId(std::u16string_view symbol) const {
  if (symbol == u" ") return kBoundary;
  const std::uint64_t packed = Pack(symbol);
  for (std::size_t at = Hash(packed, symbolBits_);; at = (at + 1) & (symbolSlots_.size() - 1)) {
    if (symbolSlots_[at].first == packed) return symbolSlots_[at].second;
    if (symbolSlots_[at].first == 0) return kUnseen;
  }
}

void CharacterModel::Symbols(std::u16string_view text, std::vector<std::uint16_t>& out) const {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = SymbolLength(text, i);
    out.push_back(SymbolId(text.substr(i, length)));
    i += length;
  }
}

const CharacterModel::Slot* CharacterModel::Find(Key key) const {
  for (std::size_t at = Hash(key, slotBits_);; at = (at + 1) & (slots_.size() - 1)) {
    if (slots_[at].key == key) return &slots_[at];
    if (slots_[at].key == 0) return nullptr;
  }
}

int CharacterModel::Predict(const std::uint16_t* context, int length, std::uint16_t symbol) const {
  // The keys of the context's last 0, 1, 2 ... symbols, the first symbol of
  // each in the lowest bits.
  const int longest = std::min(length, order_ - 1);
  std::array<Key, kMaxOrder> contextKey{};
  for (int used = 1; used <= longest; ++used) {
    contextKey[used] = contextKey[used - 1] << kSymbolBits | context[length - used];
  }
  int total = 0;
  for (int used = longest; used >= 0; --used) {
    if (const Slot* row = Find(contextKey[used] | Key{symbol} << (kSymbolBits * used))) {
      return total + row->logProbability;
    }
    if (used > 0) {
      if (const Slot* row = Find(contextKey[used])) total += row->backOff;
    }
  }
  return total - static_cast<int>(kUnseenBits * 100);
}

double CharacterModel::WordLog2(std::u16string_view word) const {
  std::vector<std::uint16_t> symbols;
  symbols.reserve(word.size() + 2);
  symbols.push_back(kBoundary);
  Symbols(word, symbols);
  symbols.push_back(kBoundary);
  long total = 0;
  for (std::size_t i = 1; i < symbols.size(); ++i) {
    const std::size_t from = i >= static_cast<std::size_t>(order_) ? i - (order_ - 1) : 0;
    total += Predict(symbols.data() + from, static_cast<int>(i - from), symbols[i]);
  }
  return static_cast<double>(total) / 100.0;
}

double CharacterModel::NextLog2(std::u16string_view context, std::u16string_view symbol) const {
  std::vector<std::uint16_t> symbols;
  Symbols(context, symbols);
  symbols.push_back(SymbolId(symbol));
  const std::size_t from = symbols.size() > static_cast<std::size_t>(order_) ? symbols.size() - order_ : 0;
  return Predict(symbols.data() + from, static_cast<int>(symbols.size() - 1 - from), symbols.back()) / 100.0;
}

std::vector<std::u16string> CharacterModel::Alphabet() const {
  std::vector<std::u16string> alphabet{u" "};
  for (std::uint64_t packed : symbolTexts_) {
    std::u16string symbol;
    for (; packed != 0; packed >>= 16) symbol.insert(symbol.begin(), static_cast<char16_t>(packed & 0xFFFF));
    alphabet.push_back(symbol);
  }
  return alphabet;
}

static_assert(plaintext_statistics::kMalayalamOrder <= CharacterModel::kMaxOrder);
static_assert(plaintext_statistics::kEnglishOrder <= CharacterModel::kMaxOrder);

const CharacterModel& MalayalamModel() {
  static const CharacterModel model(plaintext_statistics::kMalayalamRows, plaintext_statistics::kMalayalamOrder,
                                    SymbolSplit::kDeadConsonants);
  return model;
}

const CharacterModel& EnglishModel() {
  static const CharacterModel model(plaintext_statistics::kEnglishRows, plaintext_statistics::kEnglishOrder,
                                    SymbolSplit::kCharacters);
  return model;
}

std::u16string CanonicalMalayalam(std::u16string_view text) {
  using namespace malayalam;
  struct Composition {
    char16_t first, second, sign;
  };
  static constexpr Composition kCompositions[] = {
      {kSignE, kSignAa, 0x0D4A}, {kSignEe, kSignAa, 0x0D4B}, {kSignE, kAuLengthMark, 0x0D4C}};
  std::u16string out;
  out.reserve(text.size() + 4);
  for (const char16_t ch : text) {
    if (ch == kZwnj) continue;
    if (IsAtomicChillu(ch)) {
      const auto row = std::find_if(std::begin(kChillus), std::end(kChillus),
                                    [&](const ChilluRow& r) { return r.chillu == ch; });
      if (row != std::end(kChillus)) {
        out += {row->consonant, kVirama, kZwj};
        continue;
      }
    }
    if (!out.empty()) {
      const auto pair = std::find_if(std::begin(kCompositions), std::end(kCompositions), [&](const Composition& c) {
        return c.first == out.back() && c.second == ch;
      });
      if (pair != std::end(kCompositions)) {
        out.back() = pair->sign;
        continue;
      }
    }
    out.push_back(ch);
  }
  return out;
}

double EnglishCaseLog2(std::u16string_view word) {
  using namespace plaintext_statistics;
  const auto isUpper = [](char16_t ch) {
    return (ch >= u'A' && ch <= u'Z') || (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7);
  };
  const auto isLower = [](char16_t ch) {
    return (ch >= u'a' && ch <= u'z') || (ch >= 0xDF && ch <= 0xFF && ch != 0xF7);
  };
  std::size_t letters = 0;
  std::size_t upper = 0;
  bool firstUpper = false;
  for (const char16_t ch : word) {
    if (!isUpper(ch) && !isLower(ch)) continue;
    if (letters == 0) firstUpper = isUpper(ch);
    ++letters;
    upper += isUpper(ch);
  }
  int share = kEnglishMixedShare;
  if (upper == 0) share = kEnglishLowerShare;
  else if (upper == 1 && firstUpper) share = kEnglishCapitalisedShare;
  else if (upper == letters) share = kEnglishUpperShare;
  return share / 100.0;
}

}  // namespace maravelundi
