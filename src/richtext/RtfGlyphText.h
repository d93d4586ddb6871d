#pragma once
// The reader's inner loop over legacy-font text. Most of a Rachana document
// is text and `\'hh` bytes with a `\fN` every two or three characters; this
// loop reads them without making tokens, writes the characters (and their
// spans) through pointers, and finds the format slot of a font's run in a
// small table by font number. Anything else ends the loop and goes through
// the tokenizer. What the loop reads it reads as the interpreter would read
// the same tokens: the same characters, spans and format slots, in the same
// order, and runs that make the same document (the loop may leave a run
// empty, which the document drops). The Rich Text reader's own.

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>
#include <utility>

#include "richtext/RtfByteWindow.h"
#include "richtext/RtfFontTable.h"
#include "richtext/RtfFormatSlots.h"
#include "richtext/RtfGroupState.h"
#include "richtext/RtfStory.h"
#include "richtext/RtfTextDecoding.h"
#include "richtext/RtfTokenizer.h"

namespace maravelundi::rtfread {

// Whether the token at `at` is one the loop reads: text, `\'hh` or an
// escaped brace or backslash. (A `\fN` is read once text has begun.)
inline bool StartsGlyphText(std::string_view bytes, std::size_t at) {
  if (at >= bytes.size()) return false;
  const char c = bytes[at];
  if (c != '\\') return rtflex::IsPlain(c);
  if (at + 1 >= bytes.size()) return false;
  const char second = bytes[at + 1];
  if (second == '\\' || second == '{' || second == '}') return true;
  return second == '\'' && at + 4 <= bytes.size() && rtflex::HexByte(bytes.data() + at + 2) >= 0;
}

// The format slots of font numbers in one state of the other attributes,
// which the loop finds by number when the font changes; and for the
// segments, those of fonts whose bytes are their own glyph characters.
// They are kept from one stretch of text to the next while that state and
// what the fonts' bytes stand for stay as they are: a document's text in
// its groups and paragraphs comes back to the same few.
class FontsAtHand {
 public:
  static constexpr std::size_t kFonts = 64;

  // Forgets what it holds unless it is for this state (its font aside) and
  // this version of the font table.
  void Keep(const CharState& chars, std::uint64_t tableVersion) {
    CharState rest = chars;
    rest.font = 0;
    if (valid_ && rest == rest_ && tableVersion == tableVersion_) return;
    valid_ = true;
    rest_ = rest;
    tableVersion_ = tableVersion;
    slots.fill(kNoFormat);
    segmentSlots.fill(kNoFormat);
  }

  std::array<FormatId, kFonts> slots;
  std::array<FormatId, kFonts> segmentSlots;  // kNoFormat where the segments do not read the font

 private:
  bool valid_ = false;
  CharState rest_;
  std::uint64_t tableVersion_ = 0;
};

template <bool kSpans>
class GlyphTextReader {
 public:
  // Text of `group` into `story`, whose bytes `chars` gives the characters of.
  GlyphTextReader(std::string_view bytes, Story& story, GroupState& group, const ByteChars& chars, FormatSlots& slots,
                  FontTable& fonts, FontsAtHand& atHand)
      : data_(bytes.data()), end_(bytes.data() + bytes.size()),
        segmentsEnd_(bytes.size() > kSegmentSlack ? end_ - kSegmentSlack : data_), story_(story), group_(group),
        chars_(&chars), slots_(slots), fonts_(fonts), slotByFont_(atHand.slots), segmentSlots_(atHand.segmentSlots) {
    atHand.Keep(group_.chars, fonts_.Version());
    const auto handy = static_cast<std::uint32_t>(group_.chars.font);
    if (handy < kHandyFonts && group_.slot == kNoFormat) group_.slot = slotByFont_[handy];
    RememberSlot(group_.chars.font, group_.slot);
    out_ = story_.text.Out();
    limit_ = out_;  // room is made at the first character
    if constexpr (kSpans) spanOut_ = story_.spans.Out();
  }

  struct Stop {
    std::size_t lastToken;     // where the last token read begins
    std::size_t lastTokenEnd;  // and ends
    std::size_t end;           // where reading stopped (line ends after that token are read too)
  };

  // Reads from `from`, where StartsGlyphText holds, to the first token the
  // loop does not read.
  Stop Read(std::size_t from) {
    const char* p = data_ + from;
    Token last{p, p};
    while (p < end_) {
      if (*p == '\\' && p < segmentsEnd_) {
        p = ReadSegments(p, last);
        if (p >= end_) break;
      }
      const char c = *p;
      if (rtflex::IsPlain(c)) {
        last.begin = p;
        p = last.end = PutText(p);
        continue;
      }
      if (c != '\\') {
        if (c == '{' || c == '}') break;
        ++p;  // CR, LF, NUL: no token
        continue;
      }
      if (p + 1 >= end_) break;
      const char second = p[1];
      if (second == 'f' && p + 2 < end_ && rtflex::IsDigit(p[2])) {
        last.begin = p;
        p = last.end = ChangeFont(p);
        if (chars_ == nullptr) break;  // a font with a code page: the interpreter holds its bytes
        continue;
      }
      int byte = -1;
      std::size_t length = 2;
      if (second == '\'') {
        if (p + 4 <= end_) byte = rtflex::HexByte(p + 2);
        length = 4;
      } else if (second == '\\' || second == '{' || second == '}') {
        byte = static_cast<unsigned char>(second);
      }
      if (byte < 0) break;
      last = {p, p + length};
      PutByte(p, length, static_cast<unsigned char>(byte));
      p += length;
    }
    story_.text.WroteTo(out_);
    if constexpr (kSpans) story_.spans.WroteTo(spanOut_);
    return {Offset(last.begin), Offset(last.end), Offset(p)};
  }

 private:
  struct Token {
    const char* begin;
    const char* end;
  };

  // The slots of font numbers, kept at hand while the loop runs; only the
  // font changes inside it, so a slot found for a number stays right.
  static constexpr std::size_t kHandyFonts = FontsAtHand::kFonts;
  // A segment's token is at most five bytes (`\fNN `), and the block read
  // where its text begins is read whole: the loop stops where a segment
  // would read past the end of the markup.
  static constexpr std::size_t kSegmentSlack = 5 + kBlockBytes;
  // The markup the segment loop reads at most before it makes room again.
  static constexpr std::size_t kSegmentRoom = std::size_t{1} << 14;
  static constexpr std::uint64_t kLastBit = std::uint64_t{1} << 63;  // so that a mask is never empty

  std::size_t Offset(const char* p) const { return static_cast<std::size_t>(p - data_); }

  // The slot of the state of `font`, once found; and for the segment loop,
  // if the font's bytes are their own glyph characters.
  void RememberSlot(std::int32_t font, FormatId slot) {
    const auto handy = static_cast<std::uint32_t>(font);
    if (handy >= kHandyFonts || slot == kNoFormat) return;
    slotByFont_[handy] = slot;
    segmentSlots_[handy] = chars_ == &kGlyphByteChars ? slot : kNoFormat;
  }

  // Segments: a `\'hh` or a `\fN` and the text after it up to the next
  // backslash, in fonts whose bytes are their own glyph characters and
  // whose slots are at hand. The masks of a block of markup give the length
  // of the text and whether it is plain, and the text is written as a whole
  // window: in Rachana text the lengths vary at random, and a branch on them
  // would be mispredicted half the time. A run opens at each change of font
  // (where no text follows, it stays empty, and the document drops it). A
  // segment the loop cannot read whole (a longer text, another control word,
  // a font whose slot is not yet at hand) ends the loop at the beginning of
  // a token, and the caller reads on. The loop's state is in locals, which
  // the compiler keeps in registers, and goes back to the reader at the end.
  const char* ReadSegments(const char* p, Token& last) {
    if (story_.Size() + static_cast<std::size_t>(end_ - p) > kMaxDocumentSize) return p;
    unsigned font = static_cast<std::uint32_t>(group_.chars.font);
    if (font >= kHandyFonts || segmentSlots_[font] == kNoFormat) return p;
    // Room for what the segments read: a character at most for each byte
    // (and a window's widening past the last), a run for every three. The
    // loop stops where the room would end, so that it checks none.
    if (static_cast<std::size_t>(limit_ - out_) < kSegmentRoom + kWindowBytes + 1) {
      MakeRoom(kSegmentRoom + kWindowBytes + 1);
    }
    FormatRun* runOut = story_.runs.Out(kSegmentRoom / 3 + 1);
    const std::size_t room = std::min(static_cast<std::size_t>(limit_ - out_) - (kWindowBytes + 1),
                                      3 * static_cast<std::size_t>(story_.runs.Limit() - runOut - 1));
    const char* const stop = std::min(segmentsEnd_, p + room);
    unsigned highestPlusOne = 0;  // the highest font number named and 1, or 0 for none
    FormatId runSlot = story_.RunSlot();
    char16_t* out = out_;
    const char16_t* text0 = story_.text.Data();
    SourceSpan* spanOut = spanOut_;
    const char* tokenBegin = nullptr;  // of the last token read
    const char* textBegin = nullptr;   // of the text after it
    BlockMasks block;
    const char* nextBlock = p;  // where a text needs a new block

    // Opens a run in `slot` where the text goes on, unless the last is in it.
    const auto openRun = [&](FormatId slot) {
      runOut->begin = static_cast<TextIndex>(out - text0);
      runOut->format = slot;
      runOut += slot != runSlot;
      runSlot = slot;
    };

    if (!runOpen_) openRun(segmentSlots_[font]);
    while (p < stop) {
      if (p[1] == '\'') {
        const int byte = rtflex::HexByte(p + 2);
        if (byte < 0) break;
        if constexpr (kSpans) *spanOut++ = SpanOf(p, 4);
        *out++ = kGlyphByteChars.OfByte(static_cast<unsigned char>(byte));
        tokenBegin = p;
        p += 4;
      } else if (p[1] == 'f' && rtflex::IsDigit(p[2])) {
        // `\fN` or `\fNN`; fonts numbered past kHandyFonts go the long way.
        const unsigned tens = static_cast<unsigned char>(p[2] - '0');
        const unsigned units = static_cast<unsigned char>(p[3] - '0');
        const unsigned twoDigits = units <= 9;
        if ((twoDigits & static_cast<unsigned>(rtflex::IsDigit(p[4]))) != 0) break;
        const unsigned number = tens + twoDigits * (9 * tens + units);
        if (number >= kHandyFonts || segmentSlots_[number] == kNoFormat) break;
        openRun(segmentSlots_[number]);
        font = number;
        highestPlusOne = std::max(highestPlusOne, number + 1);
        tokenBegin = p;
        p += 3 + twoDigits;
        p += *p == ' ';  // the delimiter space
      } else {
        break;
      }
      // The text up to the next backslash, if it is plain and fits a window:
      // the first backslash or stop after it ends it, and a stop is not plain.
      textBegin = p;
      if (p >= nextBlock) {
        block = ClassifyBlock(p);
        nextBlock = p + (kBlockBytes - kWindowBytes - 1);
      }
      const auto length = static_cast<unsigned>(std::countr_zero(block.ends >> (p - block.base) | kLastBit));
      if (length > kWindowBytes || p[length] != '\\') break;
      if constexpr (kSpans) {
        WriteWindowSpans(spanOut, static_cast<std::uint32_t>(Offset(p)));
        spanOut += length;
      }
      WidenWindow(p, out);
      out += length;
      p += length;
    }

    if (tokenBegin != nullptr) last = p > textBegin ? Token{textBegin, p} : Token{tokenBegin, textBegin};
    out_ = out;
    spanOut_ = spanOut;
    story_.runs.WroteTo(runOut);
    story_.SetRunSlot(runSlot);
    runOpen_ = true;
    if (highestPlusOne != 0) {
      group_.Chars().font = static_cast<std::int32_t>(font);
      group_.slot = segmentSlots_[font];
      fonts_.NoteNumber(static_cast<std::int32_t>(highestPlusOne - 1));
      chars_ = &kGlyphByteChars;
    }
    return p;
  }

  // The spans of a window of text bytes, one byte each. Where the compiler
  // lays a span out as two 32-bit words, its begin, and its end with the
  // bit that says it is text above it (GCC and Clang do), the spans are
  // written as words, a step apart; else one by one.
  static void WriteWindowSpans(SourceSpan* out, std::uint32_t at) {
    static constexpr std::uint64_t kTextBit = std::uint64_t{1} << 63;
    static constexpr std::uint64_t kStep = 1 | std::uint64_t{1} << 32;
    if (kSpansAsWords && at < (std::uint32_t{1} << 31) - kWindowBytes) {
      const std::uint64_t first = at | std::uint64_t{at + 1} << 32 | kTextBit;
      const auto store = [out, first](std::size_t i) {
        const std::uint64_t word = first + i * kStep;
        std::memcpy(static_cast<void*>(out + i), &word, sizeof word);
      };
      // Sixteen stores in a row: as a loop, which the compiler does not
      // unroll, they cost five times as much.
      [&store]<std::size_t... kI>(std::index_sequence<kI...>) { (store(kI), ...); }(
          std::make_index_sequence<kWindowBytes>{});
      return;
    }
    for (std::uint32_t i = 0; i < kWindowBytes; ++i) out[i] = SourceSpan{at + i, at + i + 1, 1};
  }
  static inline const bool kSpansAsWords = [] {
    const SourceSpan span{1, 2, 1};
    std::uint64_t word = 0;
    if (sizeof span != sizeof word) return false;
    std::memcpy(&word, &span, sizeof word);
    return word == (1 | std::uint64_t{2} << 32 | std::uint64_t{1} << 63);
  }();

  SourceSpan SpanOf(const char* p, std::uint32_t length) const {
    const auto at = static_cast<std::uint32_t>(Offset(p));
    return SourceSpan{at, at + length, 1};
  }

  // A stretch of plain text, up to its end or to the room there is.
  const char* PutText(const char* p) {
    if (!runOpen_) OpenRun(p, static_cast<std::size_t>(out_ - story_.text.Data()));
    if (out_ == limit_) MakeRoom(1);
    const char* const stop = p + std::min(static_cast<std::size_t>(end_ - p), static_cast<std::size_t>(limit_ - out_));
    const ByteChars& chars = *chars_;
    char16_t* out = out_;
    if constexpr (kSpans) {
      SourceSpan* spanOut = spanOut_;
      for (char16_t ch; p < stop && (ch = chars.InText(static_cast<unsigned char>(*p))) != kEndsText; ++p) {
        const auto at = static_cast<std::uint32_t>(Offset(p));
        *spanOut++ = SourceSpan{at, at + 1, 1};
        *out++ = ch;
      }
      spanOut_ = spanOut;
    } else {
      for (char16_t ch; p < stop && (ch = chars.InText(static_cast<unsigned char>(*p))) != kEndsText; ++p) *out++ = ch;
    }
    out_ = out;
    return p;
  }

  // A `\'hh` or an escaped byte: a copy of the byte, whose span is the
  // whole escape.
  void PutByte(const char* p, std::size_t length, unsigned char byte) {
    if (!runOpen_) OpenRun(p, static_cast<std::size_t>(out_ - story_.text.Data()));
    if (out_ == limit_) MakeRoom(1);
    if constexpr (kSpans) {
      const auto at = static_cast<std::uint32_t>(Offset(p));
      *spanOut_++ = SourceSpan{at, at + static_cast<std::uint32_t>(length), 1};
    }
    *out_++ = chars_->OfByte(byte);
  }

  // \fN: a font change, which costs a run only if text follows.
  const char* ChangeFont(const char* p) {
    std::int64_t number = 0;
    const char* next = rtflex::ReadDigits(p + 2, end_, number);
    if (next < end_ && *next == ' ') ++next;  // the delimiter space
    const std::int32_t font = FontNumber(number);
    group_.Chars().font = font;
    fonts_.NoteNumber(font);
    runOpen_ = false;
    chars_ = CharsOfBytes(fonts_.CodePageOf(font));
    const auto handy = static_cast<std::uint32_t>(font);
    if (handy < kHandyFonts) {
      group_.slot = slotByFont_[handy];
      RememberSlot(font, group_.slot);
    }
    return next;
  }

  // The first character since the loop began or the font changed, which
  // is the story's character `at`.
  void OpenRun(const char* p, std::size_t at) {
    if (group_.slot == kNoFormat) {
      group_.slot = slots_.SlotOf(group_.chars, Offset(p));
      RememberSlot(group_.chars.font, group_.slot);
    }
    story_.OpenRunAt(group_.slot, at);
    runOpen_ = true;
  }

  // Room for `count` characters, and as many spans.
  void MakeRoom(std::size_t count) {
    story_.text.WroteTo(out_);
    out_ = story_.text.Out(count);
    std::size_t room = static_cast<std::size_t>(story_.text.Limit() - out_);
    if constexpr (kSpans) {
      story_.spans.WroteTo(spanOut_);
      spanOut_ = story_.spans.Out(count);
      room = std::min(room, static_cast<std::size_t>(story_.spans.Limit() - spanOut_));
    }
    limit_ = out_ + room;
  }

  const char* const data_;
  const char* const end_;
  const char* const segmentsEnd_;  // where a segment would read past the end
  Story& story_;
  GroupState& group_;
  const ByteChars* chars_;
  FormatSlots& slots_;
  FontTable& fonts_;
  bool runOpen_ = false;  // whether the story's last run is in the group's state
  char16_t* out_ = nullptr;
  char16_t* limit_ = nullptr;  // of the room the characters and spans both have
  SourceSpan* spanOut_ = nullptr;
  std::array<FormatId, kHandyFonts>& slotByFont_;
  std::array<FormatId, kHandyFonts>& segmentSlots_;
};

}  // namespace maravelundi::rtfread
