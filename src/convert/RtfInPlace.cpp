#include "convert/RtfInPlace.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

#include "transcode/Transcoder.h"
#include "unicode/SpellingSink.h"
#include "unicode/UnicodeWalk.h"

namespace maravelundi {
namespace {

// The Unicode text the walk assigns to each source character, in text
// order. A piece the walk gives to an earlier position than the piece
// before it (a sign written after the conjunct sign it follows) goes with
// the later one, so that pieces never change places.
class PlacedPieces {
 public:
  PlacedPieces(const std::u16string& sourceText, const std::vector<TextIndex>& sourceOf,
               const std::vector<SourceSpan>& spans)
      : sourceText_(sourceText), sourceOf_(sourceOf), spans_(spans), consumed_(sourceText.size()) {
    // At most a piece for each ML-TT character, and about as many Unicode
    // characters: sized once, these never pass through a doubling, which
    // for a large document would hold the old and the new arrays at once.
    pieces_.reserve(sourceOf.size());
    text_.reserve(sourceOf.size() + sourceOf.size() / 4);
  }

  void MlttPosition(bool malayalam) { malayalam_ = malayalam; }
  void Malayalam(std::u16string_view text, std::size_t position) { Place(text, position); }
  // Text the walk copies stays in the file as it is, unless it is a
  // Malayalam unit the walk passes on (a space, a digit of the legacy font):
  // its own bytes are replaced, so it must be written again.
  void Unchanged(std::u16string_view text, std::size_t position) {
    if (malayalam_ && spans_[sourceOf_[position]].fromText) Place(text, position);
  }
  void Break(BreakKind, std::size_t) {}  // the \par or \line is still in the file
  // Positions a rule read as Malayalam give way to its pieces, even in a
  // font that is not converted (a rule takes the character after a pre-base
  // sign whatever its font).
  void Consumed(std::size_t begin, std::size_t count) {
    for (std::size_t p = begin; p < begin + count && p < sourceOf_.size(); ++p) consumed_[sourceOf_[p]] = true;
  }

  struct Piece {
    TextIndex source;
    std::uint32_t textEnd;  // in Text()
  };
  const std::vector<Piece>& Pieces() const { return pieces_; }
  bool ReadAsMalayalam(std::size_t index) const { return consumed_[index]; }
  const std::u16string& Text() const { return text_; }

 private:
  void Place(std::u16string_view text, std::size_t position) {
    const TextIndex own = sourceOf_[position];
    // A unit that is the very character a control word stands for (the tab
    // of a \cell) is still in the file.
    if (!spans_[own].fromText && text.size() == 1 && text[0] == sourceText_[own]) return;
    const TextIndex source = std::max(own, last_);
    last_ = source;
    text_.append(text);
    pieces_.push_back({source, static_cast<std::uint32_t>(text_.size())});
  }

  const std::u16string& sourceText_;
  const std::vector<TextIndex>& sourceOf_;
  const std::vector<SourceSpan>& spans_;
  std::vector<bool> consumed_;
  bool malayalam_ = false;
  TextIndex last_ = 0;
  std::u16string text_;
  std::vector<Piece> pieces_;
};

// Writes the markup with the pieces in place of the converted characters.
class InPlaceWriter {
 public:
  InPlaceWriter(std::string_view markup, const RtfReading& reading, std::string_view unicodeFont, ByteSink& sink)
      : markup_(markup), reading_(reading), unicodeFont_(unicodeFont), sink_(sink),
        fontNumber_(std::to_string(reading.unusedFontNumber)),
        groupStart_("{\\rtlch\\fcs1\\af" + fontNumber_ + "\\afs"),
        latinFont_("\\ltrch\\fcs0\\f" + fontNumber_ + "\\uc1 ") {}

  // Replaces the bytes of source character `index`, in `format`, by `text`
  // (replace), or puts `text` before them. The group around converted text
  // stays open while such characters follow one another in one format.
  void Put(std::size_t index, FormatId format, std::u16string_view text, bool replace) {
    const SourceSpan& span = reading_.sourceSpans[index];
    if (groupOpen_ && (copied_ != span.begin || groupFormat_ != format)) CloseGroup();
    CopyTo(span.begin);
    if (!text.empty() || replace) {
      if (!groupOpen_ && !text.empty()) OpenGroup(format);
      for (char16_t ch : text) AppendCharacter(ch);
    }
    if (replace) copied_ = span.end;
  }

  void Finish() {
    CloseGroup();
    CopyTo(markup_.size());
    Flush();
  }

 private:
  void OpenGroup(FormatId id) {
    const CharFormat& format = reading_.document.Format(id);
    // The complex-script slot (\af and its twins under \rtlch) is what word
    // processors use for Malayalam; the Latin slot gets the font too, for
    // the digits and punctuation among it.
    out_ += groupStart_;
    AppendNumber(format.halfPoints);
    out_ += format.bold ? "\\ab" : "\\ab0";
    out_ += format.italic ? "\\ai" : "\\ai0";
    out_ += latinFont_;
    groupOpen_ = true;
    groupFormat_ = id;
  }

  void CloseGroup() {
    if (!groupOpen_) return;
    out_ += '}';
    groupOpen_ = false;
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
    std::string name;
    for (char c : unicodeFont_) {
      if (c == '\\' || c == '{' || c == '}' || c == ';') continue;  // cannot stand in a font name
      name += c;
    }
    std::string entry = "{\\f" + fontNumber_ + "\\fnil\\fcharset0 " + name + ";}";
    return reading_.fontTableEnd ? entry : "{\\fonttbl" + entry + "}";
  }

  void Flush() {
    sink_.Write(out_);
    out_.clear();
  }

  static constexpr std::size_t kFlushSize = 1 << 16;

  std::string_view markup_;
  const RtfReading& reading_;
  std::string unicodeFont_;
  ByteSink& sink_;
  std::string fontNumber_;
  std::string groupStart_;  // before the complex-script size
  std::string latinFont_;   // after the complex-script attributes
  std::string out_;
  std::size_t copied_ = 0;
  bool fontAdded_ = false;
  bool groupOpen_ = false;
  FormatId groupFormat_ = kNoFormat;
};

// Whether each source format's text is converted: a Rachana font of the
// generation, an "ML-" font, or (with the families on) a font of another
// legacy family.
std::vector<bool> ConvertedFormats(const Document& source, Generation generation) {
  std::vector<bool> converted(source.FormatCount());
  for (std::size_t f = 0; f < converted.size(); ++f) {
    const std::string& font = source.Format(static_cast<FormatId>(f)).fontName;
    converted[f] = TableForFont(generation, font) != nullptr ||
                   walk::KindOfFont(font, generation == Generation::kAuto).Malayalam();
  }
  return converted;
}

}  // namespace

void ConvertRtfInPlace(std::string_view markup, const RtfReading& reading, Generation generation,
                       const ConversionOptions& options, ByteSink& sink, ProgressSink* progress) {
  const Document& source = reading.document;
  std::vector<TextIndex> sourceOf;
  ReportStage(progress, ConversionStage::kTranscode);
  const Document mltt = Transcode(source, generation, progress, &sourceOf);
  ReportStage(progress, ConversionStage::kOutput);
  PlacedPieces placed(source.Text(), sourceOf, reading.sourceSpans);
  SpellingSink<PlacedPieces> respelled(options.spelling, placed);
  const UnicodeOptions unicode{.legacyFamilies = generation == Generation::kAuto, .spelling = options.spelling};
  WalkUnicode(mltt, respelled, progress, unicode);
  respelled.Finish();

  const std::vector<bool> converted = ConvertedFormats(source, generation);
  InPlaceWriter writer(markup, reading, options.unicodeFont, sink);
  const auto& pieces = placed.Pieces();
  const std::u16string& text = placed.Text();
  std::size_t piece = 0, textBegin = 0;
  RunCursor formats(source);
  for (std::size_t i = 0; i < source.Size(); ++i) {
    std::size_t textEnd = textBegin;
    while (piece < pieces.size() && pieces[piece].source == i) textEnd = pieces[piece++].textEnd;
    const FormatId format = formats.FormatAt(i);
    const bool replace = reading.sourceSpans[i].fromText && (converted[format] || placed.ReadAsMalayalam(i));
    if (replace || textEnd > textBegin) {
      writer.Put(i, format, std::u16string_view(text).substr(textBegin, textEnd - textBegin), replace);
    }
    textBegin = textEnd;
  }
  writer.Finish();
}

}  // namespace maravelundi
