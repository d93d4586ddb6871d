#pragma once
// Where the characters the interpreter reads go: the stories (the body, and
// the side stories outside its flow), in runs of character states, with the
// spans of the markup they came from; or the name of the font table's entry
// being read. Bytes of a code-page font are held here until something else
// comes; legacy-font text goes through the inner loop. The Rich Text
// reader's own.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "richtext/ReadWarningLog.h"
#include "richtext/RtfColourTable.h"
#include "richtext/RtfFontTable.h"
#include "richtext/RtfFormatSlots.h"
#include "richtext/RtfGlyphText.h"
#include "richtext/RtfGroupState.h"
#include "richtext/RtfReadingBuilder.h"
#include "richtext/RtfStory.h"
#include "richtext/RtfTextDecoding.h"

namespace maravelundi::rtfread {

// The markup of the token being read: [offset, end).
struct TokenAt {
  std::size_t offset = 0;
  std::size_t end = 0;
};

class TextWriter {
 public:
  TextWriter(std::string_view bytes, bool sourceSpans, FontTable& fonts, ReadWarningLog& warnings)
      : bytes_(bytes), sourceSpans_(sourceSpans), fonts_(fonts), warnings_(warnings) {
    // Room for the body as a Rachana document needs it (a character for
    // every two or three bytes, a run for every eight or ten); untouched
    // room costs no memory.
    body_.text.Reserve(bytes.size() / 2);
    if (sourceSpans_) body_.spans.Reserve(bytes.size() / 2);
    body_.runs.Reserve(bytes.size() / 8);
  }

  Story& StoryOf(Destination destination) { return destination == Destination::Side ? side_ : body_; }
  bool TextRead() const { return !(body_.Empty() && side_.Empty()); }

  // A character a token stands for, in the group's destination.
  void Emit(GroupState& group, char16_t ch, TokenAt token) {
    switch (group.destination) {
      case Destination::Body:
      case Destination::Side: {
        Flush(token.offset);
        Story& story = StoryOf(group.destination);
        OpenRun(story, group, token.offset);
        story.text.Push(ch);
        RecordSpans(story, token.offset, token.end, false);
        break;
      }
      case Destination::FontTable:
        Flush(token.offset);
        if (fonts_.EntryOpen()) fonts_.EntryName().push_back(ch);
        break;
      case Destination::ColourTable:
      case Destination::Skip:
        break;
    }
  }

  // The character of a \uN, just emitted: its span takes in the fallback
  // it drops (ExtendFallback), until another span is recorded.
  void MarkUnicode(Story& story, std::size_t sizeBefore) {
    if (!sourceSpans_ || story.Size() == sizeBefore) return;
    story.spans[story.spans.Size() - 1].fromText = 1;
    fallbackStory_ = &story;
    fallbackSpan_ = story.spans.Size() - 1;
  }
  void ExtendFallback(std::size_t end) {
    if (fallbackStory_ != nullptr && fallbackSpan_ < fallbackStory_->spans.Size()) {
      fallbackStory_->spans[fallbackSpan_].end = static_cast<std::uint32_t>(end);
    }
  }

  // Text bytes of a story's font, after any \uN fallback: glyph characters
  // written at once, or bytes of a code page held to be decoded together.
  void AppendStoryBytes(GroupState& group, std::string_view bytes, TokenAt token) {
    if (bytes.empty()) return;
    Story& story = StoryOf(group.destination);
    const int codePage = fonts_.CodePageOf(group.chars.font);
    if (const ByteChars* chars = CharsOfBytes(codePage)) {
      Flush(token.offset);
      OpenRun(story, group, token.offset);
      AppendGlyphBytes(story, bytes, *chars, token);
      return;
    }
    const HeldBytes::Owner owner{&story, group.chars, codePage};
    if (!held_.Joins(owner)) Flush(token.offset);
    // A font declared a symbol font (\fcharset2) but given a code page.
    const bool privateUseAsBytes = held_.Empty() && fonts_.TakesPrivateUseAsBytes(group.chars.font);
    held_.Hold(owner, bytes, token.offset, privateUseAsBytes);
  }

  // A byte of the name of the font table's entry being read.
  void AppendEntryByte(char byte, TokenAt token) {
    if (!fonts_.EntryOpen()) return;
    const int codePage = fonts_.EntryNameCodePage();
    if (codePage == kGlyphBytes) {
      Flush(token.offset);
      fonts_.EntryName().push_back(GlyphChar(static_cast<std::uint8_t>(byte)));
      return;
    }
    const HeldBytes::Owner owner{nullptr, CharState{}, codePage};
    if (!held_.Joins(owner)) Flush(token.offset);
    held_.Hold(owner, std::string_view(&byte, 1), token.offset, false);
  }

  // Decodes the bytes held, where the token at `at` begins: their spans end
  // there, and a run they open in a new state is first met there.
  void Flush(std::size_t at);

  // Each side story ends as a paragraph, so that the text of one never
  // runs into the next; the end is no markup's, and stands at the closing
  // brace at `brace`.
  void EndSideStory(GroupState& group, std::size_t brace) {
    Flush(brace);
    if (group.destination != Destination::Side || side_.Empty() || side_.EndsParagraph()) return;
    Emit(group, u'\r', {brace, brace});
    Emit(group, u'\n', {brace, brace});
    if (!sourceSpans_) return;
    for (std::size_t i = side_.spans.Size() - 2; i < side_.spans.Size(); ++i) {
      side_.spans[i] = SourceSpan{static_cast<std::uint32_t>(brace), static_cast<std::uint32_t>(brace), 0};
    }
  }

  // Whether the inner loop reads the token at `at`: legacy-font (or
  // Western, or Symbol) text in a story.
  bool AtGlyphText(const GroupState& group, std::size_t at) {
    return StartsGlyphText(bytes_, at) && IsText(group.destination) &&
           CharsOfBytes(fonts_.CodePageOf(group.chars.font)) != nullptr;
  }

  // The inner loop from `from`, where AtGlyphText holds.
  template <bool kSpans>
  typename GlyphTextReader<kSpans>::Stop ReadGlyphText(GroupState& group, std::size_t from) {
    Flush(from);  // bytes of another font end where this text begins
    const ByteChars& chars = *CharsOfBytes(fonts_.CodePageOf(group.chars.font));
    GlyphTextReader<kSpans> reader(bytes_, StoryOf(group.destination), group, chars, slots_, fonts_, fontsAtHand_);
    if (kSpans) fallbackSpan_ = kNoSpan;  // as any span recorded does
    return reader.Read(from);
  }

  RtfReading Finish(const ColourTable& colours, std::optional<std::size_t> fontTableEnd, std::size_t at,
                    std::optional<ParseError> error) {
    Flush(at);
    return BuildReading(ReadParts{body_, side_, slots_, fonts_, colours, warnings_, sourceSpans_, fontTableEnd},
                        std::move(error));
  }

 private:
  static constexpr std::size_t kNoSpan = std::numeric_limits<std::size_t>::max();

  void OpenRun(Story& story, GroupState& group, std::size_t at) {
    if (group.slot == kNoFormat) group.slot = slots_.SlotOf(group.chars, at);
    story.OpenRun(group.slot);
  }

  // Gives the characters written since the last spans the span [begin, end).
  void RecordSpans(Story& story, std::size_t begin, std::size_t end, bool fromText) {
    if (!sourceSpans_) return;
    fallbackSpan_ = kNoSpan;
    story.RecordSpans(begin, end, fromText);
  }

  void AppendGlyphBytes(Story& story, std::string_view bytes, const ByteChars& chars, TokenAt token) {
    char16_t* out = story.text.Out(bytes.size());
    for (const char byte : bytes) *out++ = chars.OfByte(static_cast<unsigned char>(byte));
    story.text.WroteTo(out);
    if (!sourceSpans_) return;
    // Plain text is a view of the markup, a byte at a time; a \'hh byte is
    // a copy, and its span the whole escape.
    const bool inMarkup = bytes.data() >= bytes_.data() && bytes.data() < bytes_.data() + bytes_.size();
    if (!inMarkup) {
      RecordSpans(story, token.offset, token.end, true);
      return;
    }
    const auto at = static_cast<std::uint32_t>(bytes.data() - bytes_.data());
    for (std::uint32_t i = 0; i < bytes.size(); ++i) story.spans.Push(SourceSpan{at + i, at + i + 1, 1});
    fallbackSpan_ = kNoSpan;
  }

  std::string_view bytes_;
  bool sourceSpans_;
  FontTable& fonts_;
  ReadWarningLog& warnings_;
  Story body_, side_;
  FormatSlots slots_;
  FontsAtHand fontsAtHand_;
  HeldBytes held_;
  // The story and the index of the span of the last \uN.
  Story* fallbackStory_ = nullptr;
  std::size_t fallbackSpan_ = kNoSpan;
};

inline void TextWriter::Flush(std::size_t at) {
  if (held_.Empty()) return;
  const HeldBytes::Owner owner = held_.HeldFor();
  const std::size_t offset = held_.Offset();
  DecodeReport report;
  const std::u16string_view text = held_.Decode(report);
  if (owner.story == nullptr) {
    fonts_.EntryName().append(text);
  } else {
    Story& story = *owner.story;
    story.OpenRun(slots_.SlotOf(owner.chars, at));
    story.Append(text);
    RecordSpans(story, offset, at, false);
  }
  if (report.noConverter) {
    warnings_.Add(ReadWarningCode::UnknownCodePage, owner.codePage,
                  "the system cannot convert code page " + std::to_string(owner.codePage) +
                      "; its bytes are kept as Windows-1252",
                  offset);
  }
  if (report.undecodable > 0 && warnings_.Wants(ReadWarningCode::UndecodableBytes, owner.codePage)) {
    warnings_.Add(ReadWarningCode::UndecodableBytes, owner.codePage,
                  "bytes code page " + std::to_string(owner.codePage) + " has no character for became U+FFFD",
                  offset);
  }
}

}  // namespace maravelundi::rtfread
