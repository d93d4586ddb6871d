#pragma once
// Sixteen bytes of markup at a time: where the backslashes are, and where
// the bytes are that plain text in a legacy font cannot simply widen (the
// other bytes that end text, and 0x80-0x9F, whose glyph characters are
// Windows-1252's). With SSE2 a window costs a few instructions; elsewhere
// (the WebAssembly page) the portable loop gives the same answer. The Rich
// Text reader's own.

#include <array>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace maravelundi::rtfread {

inline constexpr int kWindowBytes = 16;

struct ByteWindow {
  std::uint32_t backslashes = 0;  // bit i: byte i is '\'
  std::uint32_t stops = 0;        // bit i: byte i is { } CR LF NUL or 0x80-0x9F
  bool operator==(const ByteWindow&) const = default;
};

inline constexpr std::array<std::uint8_t, 256> kWindowClasses = [] {
  std::array<std::uint8_t, 256> classes{};
  classes['\\'] = 1;
  for (const unsigned char stop : {'{', '}', '\r', '\n', '\0'}) classes[stop] = 2;
  for (int byte = 0x80; byte <= 0x9F; ++byte) classes[byte] = 2;
  return classes;
}();

inline ByteWindow ClassifyWindowPortable(const char* bytes) {
  ByteWindow window;
  for (int i = 0; i < kWindowBytes; ++i) {
    const std::uint8_t byteClass = kWindowClasses[static_cast<unsigned char>(bytes[i])];
    window.backslashes |= static_cast<std::uint32_t>(byteClass & 1) << i;
    window.stops |= static_cast<std::uint32_t>(byteClass >> 1) << i;
  }
  return window;
}

// Bytes that are their own glyph characters, widened to 16 bits.
inline void WidenWindowPortable(const char* bytes, char16_t* out) {
  for (int i = 0; i < kWindowBytes; ++i) out[i] = static_cast<unsigned char>(bytes[i]);
}

// Four windows' masks in one: sixty-four bytes from `base`.
inline constexpr std::ptrdiff_t kBlockBytes = 4 * kWindowBytes;

struct BlockMasks {
  const char* base = nullptr;
  std::uint64_t ends = 0;  // bit i: byte i is '\', or a stop
};

#if defined(__SSE2__)

inline ByteWindow ClassifyWindow(const char* bytes) {
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
  const auto equals = [&x](char c) { return _mm_cmpeq_epi8(x, _mm_set1_epi8(c)); };
  // 0x80-0x9F are the signed bytes below -96.
  const __m128i high = _mm_cmplt_epi8(x, _mm_set1_epi8(static_cast<char>(0xA0)));
  const __m128i stops = _mm_or_si128(_mm_or_si128(_mm_or_si128(equals('{'), equals('}')), _mm_or_si128(equals('\r'), equals('\n'))),
                                     _mm_or_si128(equals('\0'), high));
  return {static_cast<std::uint32_t>(_mm_movemask_epi8(equals('\\'))),
          static_cast<std::uint32_t>(_mm_movemask_epi8(stops))};
}

inline void WidenWindow(const char* bytes, char16_t* out) {
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
  const __m128i zero = _mm_setzero_si128();
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(x, zero));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(x, zero));
}

#else

inline ByteWindow ClassifyWindow(const char* bytes) { return ClassifyWindowPortable(bytes); }
inline void WidenWindow(const char* bytes, char16_t* out) { WidenWindowPortable(bytes, out); }

#endif

// Inline: the reader's inner loop calls it, and a call there would cost the
// loop the registers it keeps its pointers in.
[[gnu::always_inline]] inline BlockMasks ClassifyBlock(const char* base) {
  const ByteWindow w0 = ClassifyWindow(base);
  const ByteWindow w1 = ClassifyWindow(base + kWindowBytes);
  const ByteWindow w2 = ClassifyWindow(base + 2 * kWindowBytes);
  const ByteWindow w3 = ClassifyWindow(base + 3 * kWindowBytes);
  const auto join = [](std::uint32_t m0, std::uint32_t m1, std::uint32_t m2, std::uint32_t m3) {
    return (std::uint64_t{m3} << 48) | (std::uint64_t{m2} << 32) | (std::uint64_t{m1} << 16) | m0;
  };
  return {base, join(w0.backslashes | w0.stops, w1.backslashes | w1.stops, w2.backslashes | w2.stops,
                    w3.backslashes | w3.stops)};
}

}  // namespace maravelundi::rtfread
