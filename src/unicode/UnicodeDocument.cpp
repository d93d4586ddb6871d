#include "unicode/UnicodeDocument.h"

#include <unordered_map>
#include <vector>

#include "unicode/SpellingSink.h"
#include "unicode/UnicodeWalk.h"

namespace maravelundi {
namespace {

// The format of a position. Pieces come in text order, give or take the few
// positions a rule looks ahead, so the cursor moves a step or two at a time.
class FormatCursor {
 public:
  explicit FormatCursor(const Document& document) : document_(document) {}

  FormatId At(std::size_t position) {
    const auto& runs = document_.Runs();
    while (run_ + 1 < runs.size() && runs[run_ + 1].begin <= position) ++run_;
    while (run_ > 0 && runs[run_].begin > position) --run_;
    return runs[run_].format;
  }

 private:
  const Document& document_;
  std::size_t run_ = 0;
};

class UnicodeDocumentSink {
 public:
  UnicodeDocumentSink(const Document& mltt, std::string_view unicodeFont)
      : mltt_(mltt), unicodeFont_(unicodeFont), cursor_(mltt) {
    text_.reserve(mltt.Size());
  }

  void MlttPosition(bool ml) { ml_ = ml; }

  // Converted Malayalam, already respelled and in Normalization Form C.
  void Malayalam(std::u16string_view text, std::size_t position) {
    Open(position, true);
    text_.append(text);
  }

  void Unchanged(std::u16string_view text, std::size_t position) {
    Open(position, ml_);
    text_.append(text);
  }

  // A paragraph ends in CR LF and a line break is a lone LF, as the reader
  // gives them; the line feed that completes a paragraph end outside ML-TT
  // text is already part of that end.
  void Break(BreakKind kind, std::size_t position) {
    if (kind == BreakKind::kParagraphLineFeed) return;
    Open(position, ml_);
    text_.append(kind == BreakKind::kParagraph ? u"\r\n" : u"\n");
  }

  Document Take() { return Document::FromParts(std::move(text_), std::move(runs_), formats_); }

 private:
  // Starts a run in the format of `position`, in the Unicode font when the
  // piece is Malayalam.
  void Open(std::size_t position, bool malayalam) {
    const FormatId source = cursor_.At(position);
    const std::uint64_t key = (std::uint64_t{source} << 1) | (malayalam ? 1 : 0);
    // Pieces mostly go on in the format of the one before.
    if (key != lastKey_) {
      auto [slot, added] = slots_.try_emplace(key, static_cast<FormatId>(formats_.size()));
      if (added) {
        CharFormat format = mltt_.Format(source);
        if (malayalam) format.fontName = unicodeFont_;
        formats_.push_back(std::move(format));
      }
      lastKey_ = key;
      lastSlot_ = slot->second;
    }
    if (runs_.empty() || runs_.back().format != lastSlot_) {
      runs_.push_back({static_cast<TextIndex>(text_.size()), lastSlot_});
    }
  }

  const Document& mltt_;
  std::string unicodeFont_;
  FormatCursor cursor_;
  bool ml_ = false;
  std::u16string text_;
  std::vector<FormatRun> runs_;
  std::vector<CharFormat> formats_;
  std::unordered_map<std::uint64_t, FormatId> slots_;
  std::uint64_t lastKey_ = ~std::uint64_t{0};
  FormatId lastSlot_ = kNoFormat;
};

}  // namespace

Document BuildUnicodeDocument(const Document& mltt, std::string_view unicodeFont, ProgressSink* progress,
                              const UnicodeOptions& options) {
  UnicodeDocumentSink document(mltt, unicodeFont);
  SpellingSink<UnicodeDocumentSink> respelled(options.spelling, document);
  WalkUnicode(mltt, respelled, progress, options);
  respelled.Finish();
  return document.Take();
}

}  // namespace maravelundi
