#include "convert/RtfInPlace.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

#include "convert/InPlaceConversion.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

// Writes the markup with the pieces in place of the converted characters.
// The fonts the pieces are set in are added to the font table under numbers
// no font has: the Unicode font, ML-TTRevathi, or the legacy font (Rachana's
// six) of the way back.
class InPlaceWriter {
 public:
  InPlaceWriter(std::string_view markup, const RtfReading& reading, const std::vector<std::string>& fonts,
                bool unicode, ByteSink& sink)
      : markup_(markup), reading_(reading), fonts_(fonts), unicode_(unicode), sink_(sink) {}

  // Replaces the bytes of the source character at `span`, in `format`, by
  // the runs placed there (replace), or puts them before those bytes. The
  // group around converted text stays open while such characters follow
  // one another in one format and font.
  void Put(const SourceSpan& span, const CharFormat& format, const std::vector<PlacedRun>& runs, bool replace) {
    if (groupOpen_ && (copied_ != span.begin || !(*groupFormat_ == format))) CloseGroup();
    CopyTo(span.begin);
    for (const PlacedRun& run : runs) {
      if (run.text.empty()) continue;
      if (run.font == PlacedText::kKept) {
        CloseGroup();
        AppendKept(run.text);
        continue;
      }
      if (groupOpen_ && groupFont_ != run.font) CloseGroup();
      if (!groupOpen_) OpenGroup(format, run.font);
      for (char16_t ch : run.text) unicode_ ? AppendCharacter(ch) : AppendGlyph(ch);
    }
    if (replace) copied_ = span.end;
  }

  void Finish() {
    CloseGroup();
    CopyTo(markup_.size());
    Flush();
  }

 private:
  void OpenGroup(const CharFormat& format, std::uint8_t font) {
    // The complex-script slot (\af and its twins under \rtlch) is what word
    // processors use for Malayalam; the Latin slot gets the font too, for
    // the digits and punctuation among it. An 8-bit font's text is Latin to
    // them, in both slots.
    const int number = FontNumber(font);
    out_ += "{\\rtlch\\fcs1\\af";
    AppendNumber(number);
    if (unicode_) {
      out_ += "\\afs";
      AppendNumber(format.halfPoints);
      out_ += format.bold ? "\\ab" : "\\ab0";
      out_ += format.italic ? "\\ai" : "\\ai0";
    }
    out_ += "\\ltrch\\fcs0\\f";
    AppendNumber(number);
    out_ += unicode_ ? "\\uc1 " : " ";
    groupOpen_ = true;
    groupFormat_ = &format;
    groupFont_ = font;
  }

  int FontNumber(std::uint8_t font) const { return reading_.unusedFontNumber + font; }

  void CloseGroup() {
    if (!groupOpen_) return;
    out_ += '}';
    groupOpen_ = false;
  }

  // A code of an 8-bit font: its byte, escaped where markup would read it.
  void AppendGlyph(char16_t ch) {
    const auto code = GlyphCode(ch);
    if (!code) return AppendCharacter(ch);
    if (*code == '\\' || *code == '{' || *code == '}') {
      out_ += '\\';
      out_ += static_cast<char>(*code);
    } else if (*code >= 0x20 && *code < 0x7F) {
      out_ += static_cast<char>(*code);
    } else {
      static constexpr char kHex[] = "0123456789abcdef";
      out_ += "\\'";
      out_ += kHex[*code >> 4];
      out_ += kHex[*code & 0xF];
    }
  }

  // A character the target has no glyph for stays Unicode, in the font
  // around it; its own \uc, since the document's may skip no fallback.
  void AppendKept(std::u16string_view text) {
    out_ += "{\\uc1 ";
    for (char16_t ch : text) AppendCharacter(ch);
    out_ += '}';
  }

  void AppendCharacter(char16_t ch) {
    if (ch == u'\\' || ch == u'{' || ch == u'}') {
      out_ += '\\';
      out_ += static_cast<char>(ch);
    } else if (ch == u'\t') {
      out_ += "\\tab ";
    } else if (ch >= 0x20 && ch < 0x7F) {
      out_ += static_cast<char>(ch);
    } else {
      // \uN with N signed, as RTF's 16-bit readers expect, then the
      // fallback byte.
      out_ += "\\u";
      AppendNumber(static_cast<std::int16_t>(ch));
      out_ += "\\'3f";
    }
  }

  // A group opens at every font change of the source; no number may cost an
  // allocation.
  void AppendNumber(int value) {
    char digits[12];
    const auto written = std::to_chars(digits, digits + sizeof digits, value);
    out_.append(digits, written.ptr);
  }

  // Copies the markup up to `offset`, adding the Unicode font to the font
  // table on the way (or a table of its own after the header, if there is
  // none).
  void CopyTo(std::size_t offset) {
    if (!fontAdded_) {
      const std::size_t at = FontInsertionPoint();
      if (at <= offset) {
        Copy(at);
        out_ += FontEntry();
        fontAdded_ = true;
      }
    }
    Copy(offset);
  }

  void Copy(std::size_t offset) {
    if (offset <= copied_) return;
    out_.append(markup_.substr(copied_, offset - copied_));
    copied_ = offset;
    if (out_.size() >= kFlushSize) Flush();
  }

  std::size_t FontInsertionPoint() const {
    if (reading_.fontTableEnd) return *reading_.fontTableEnd;
    // After "\rtfN" and the delimiter that may follow it.
    std::size_t at = markup_.find("\\rtf") + 4;
    while (at < markup_.size() && markup_[at] >= '0' && markup_[at] <= '9') ++at;
    if (at < markup_.size() && markup_[at] == ' ') ++at;
    return at;
  }

  std::string FontEntry() const {
    std::string entries;
    for (std::size_t font = 0; font < fonts_.size(); ++font) {
      std::string name;
      for (char c : fonts_[font]) {
        if (c == '\\' || c == '{' || c == '}' || c == ';') continue;  // cannot stand in a font name
        name += c;
      }
      entries += "{\\f" + std::to_string(FontNumber(static_cast<std::uint8_t>(font))) + "\\fnil\\fcharset0 " + name + ";}";
    }
    return reading_.fontTableEnd ? entries : "{\\fonttbl" + entries + "}";
  }

  void Flush() {
    sink_.Write(out_);
    out_.clear();
  }

  static constexpr std::size_t kFlushSize = 1 << 16;

  std::string_view markup_;
  const RtfReading& reading_;
  std::vector<std::string> fonts_;
  bool unicode_;
  ByteSink& sink_;
  std::string out_;
  std::size_t copied_ = 0;
  bool fontAdded_ = false;
  bool groupOpen_ = false;
  const CharFormat* groupFormat_ = nullptr;
  std::uint8_t groupFont_ = 0;
};

// One story of the document (the body, or the side stories) converted,
// and walked in the order of its characters' bytes.
class ConvertedStory {
 public:
  ConvertedStory(const Document& story, const std::vector<SourceSpan>& spans, const ConversionProfile& profile,
                 ProgressSink* progress)
      : story_(story), spans_(spans), placed_(Convert(story, spans, profile, progress)), pieces_(placed_),
        formats_(story) {}

  bool Done() const { return next_ >= story_.Size(); }
  const PlacedText& Placed() const { return placed_; }
  std::uint32_t NextOffset() const { return spans_[next_].begin; }

  // Hands the next character's replacement, if any, to the writer.
  void PutNext(InPlaceWriter& writer) {
    const std::size_t i = next_++;
    const std::vector<PlacedRun>& runs = pieces_.RunsAt(i);
    if (placed_.replaced[i] || !runs.empty()) {
      writer.Put(spans_[i], story_.Format(formats_.FormatAt(i)), runs, placed_.replaced[i]);
    }
  }

 private:
  static PlacedText Convert(const Document& story, const std::vector<SourceSpan>& spans,
                            const ConversionProfile& profile, ProgressSink* progress) {
    std::vector<bool> replaceable(story.Size());
    for (std::size_t i = 0; i < story.Size(); ++i) replaceable[i] = spans[i].fromText;
    return ConvertInPlace(story, replaceable, profile, progress);
  }

  const Document& story_;
  const std::vector<SourceSpan>& spans_;
  const PlacedText placed_;
  PlacedCursor pieces_;
  RunCursor formats_;
  std::size_t next_ = 0;
};

}  // namespace

void ConvertRtfInPlace(std::string_view markup, const RtfReading& reading, const ConversionProfile& profile,
                       ByteSink& sink, ProgressSink* progress) {
  ConvertedStory body(reading.document, reading.sourceSpans, profile, progress);
  ConvertedStory side(reading.side, reading.sideSpans, profile, nullptr);
  // The side stories sit in groups of their own between the body's
  // characters: the two go to the writer in the order of their bytes.
  InPlaceWriter writer(markup, reading, body.Placed().fonts, profile.target == TextTarget::kUnicode, sink);
  while (!body.Done() || !side.Done()) {
    const bool bodyFirst = side.Done() || (!body.Done() && body.NextOffset() <= side.NextOffset());
    (bodyFirst ? body : side).PutNext(writer);
  }
  writer.Finish();
}

}  // namespace maravelundi
