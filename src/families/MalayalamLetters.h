#pragma once
// The few facts about Malayalam code points that the legacy converter and the
// spelling filter ask: which characters are consonants, signs, joiners.

namespace maravelundi::malayalam {

inline constexpr char16_t kVirama = 0x0D4D;
inline constexpr char16_t kSignE = 0x0D46;
inline constexpr char16_t kSignEe = 0x0D47;
inline constexpr char16_t kSignAa = 0x0D3E;
inline constexpr char16_t kAuLengthMark = 0x0D57;
inline constexpr char16_t kZwnj = 0x200C;
inline constexpr char16_t kZwj = 0x200D;

constexpr bool IsConsonant(char16_t ch) { return ch >= 0x0D15 && ch <= 0x0D3A; }

// Vowel signs, anusvara and visarga: marks that follow a consonant cluster.
constexpr bool IsSign(char16_t ch) {
  return (ch >= 0x0D02 && ch <= 0x0D03) || (ch >= 0x0D3E && ch <= 0x0D4C) || ch == kAuLengthMark ||
         (ch >= 0x0D62 && ch <= 0x0D63);
}

constexpr bool IsIndependentVowel(char16_t ch) {
  return (ch >= 0x0D05 && ch <= 0x0D14) || (ch >= 0x0D60 && ch <= 0x0D61);
}

constexpr bool IsAtomicChillu(char16_t ch) { return (ch >= 0x0D7A && ch <= 0x0D7F) || (ch >= 0x0D54 && ch <= 0x0D56); }

struct ChilluRow {
  char16_t consonant;
  char16_t chillu;
};

// The six chillus in common use, each once written consonant, virama, zero
// width joiner.
inline constexpr ChilluRow kChillus[] = {
    {0x0D23, 0x0D7A},  // NNA
    {0x0D28, 0x0D7B},  // NA
    {0x0D30, 0x0D7C},  // RA
    {0x0D32, 0x0D7D},  // LA
    {0x0D33, 0x0D7E},  // LLA
    {0x0D15, 0x0D7F},  // KA
};

// The atomic chillu of a consonant, or 0 where it has none of the six.
constexpr char16_t AtomicChilluOf(char16_t consonant) {
  for (const ChilluRow& row : kChillus) {
    if (row.consonant == consonant) return row.chillu;
  }
  return 0;
}

// Index of a consonant in a table of all consonants.
inline constexpr unsigned kConsonantCount = 0x0D3A - 0x0D15 + 1;
constexpr unsigned ConsonantIndex(char16_t consonant) { return consonant - 0x0D15u; }

}  // namespace maravelundi::malayalam
