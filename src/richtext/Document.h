#pragma once
// A rich text document: 16-bit characters, each carrying a character format.
// Line breaks are the two characters CR LF, as the text of a rich text control
// reports them. Formats are interned and shared by runs of characters, so a
// pass over a document looks a format up once per run, not once per character.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace maravelundi {

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};

// What travels with each character. The passes copy formats as a whole, so a
// new attribute is a new field here and nowhere else.
struct CharFormat {
  std::string fontName;  // UTF-8, exactly as the document spells it
  bool bold = false;
  bool italic = false;
  bool underline = false;
  std::uint16_t halfPoints = 24;  // size in half-points, as RTF's \fs gives it
  std::optional<Rgb> colour;      // none: the reader's automatic colour
  // An opaque number by which a reader of a structured document (a DOCX or
  // ODT paragraph) traces each converted piece back to the source run it
  // takes its properties from. The passes carry it like any attribute; Rich
  // Text neither reads nor writes it.
  std::uint32_t sourceTag = 0;

  bool operator==(const CharFormat&) const = default;
};

struct CharFormatHash {
  std::size_t operator()(const CharFormat& format) const noexcept;
};

using FormatId = std::uint32_t;
inline constexpr FormatId kNoFormat = static_cast<FormatId>(-1);

// Positions in a document. Runs store them in 32 bits, which keeps a run at
// 8 bytes; Rachana documents change font every few characters.
using TextIndex = std::uint32_t;
inline constexpr std::size_t kMaxDocumentSize = 0xFFFFFFFFu;

// A maximal stretch of characters sharing one format: [begin, next run's begin).
struct FormatRun {
  TextIndex begin;
  FormatId format;
};

class Document {
 public:
  // The plain text, one 16-bit character per position.
  const std::u16string& Text() const { return text_; }
  std::size_t Size() const { return text_.size(); }
  bool Empty() const { return text_.empty(); }

  // Runs in text order; the first begins at 0, none is empty.
  const std::vector<FormatRun>& Runs() const { return runs_; }
  std::size_t RunEnd(std::size_t runIndex) const {
    return runIndex + 1 < runs_.size() ? runs_[runIndex + 1].begin : text_.size();
  }

  const CharFormat& Format(FormatId id) const { return formats_[id]; }
  std::size_t FormatCount() const { return formats_.size(); }

  // The id of `format`, adding it to this document's formats if it is new.
  FormatId Intern(const CharFormat& format);
  FormatId InternFont(std::string_view fontName);

  // Format and font of the character at a 0-based index (logarithmic; the
  // passes walk runs instead).
  FormatId FormatAt(std::size_t index) const;
  const std::string& FontAt(std::size_t index) const { return Format(FormatAt(index)).fontName; }

  // A document from its parts, for passes that build the text themselves and
  // readers that learn the formats only at the end: `runs` index into
  // `formats`, begin at 0 and ascend. Formats equal by value are merged, and
  // so are neighbouring runs that then agree; empty runs and unused formats
  // are dropped.
  static Document FromParts(std::u16string text, std::vector<FormatRun> runs,
                            const std::vector<CharFormat>& formats);

  void Append(char16_t ch, FormatId format);
  void Append(std::u16string_view text, FormatId format);
  void Reserve(std::size_t characters) { text_.reserve(characters); }

  bool operator==(const Document& other) const;

 private:
  void OpenRun(FormatId format);
  void OpenRunAt(FormatId format);

  std::u16string text_;
  std::vector<FormatRun> runs_;
  std::vector<CharFormat> formats_;
  // Every distinct format once, so interning costs one hash whatever the
  // number of formats (hostile documents hold hundreds of thousands).
  std::unordered_map<CharFormat, FormatId, CharFormatHash> idByFormat_;
};

// Walks a document's runs alongside a position that only moves forward:
// finding the format of each position in turn costs constant amortised time.
class RunCursor {
 public:
  explicit RunCursor(const Document& document) : document_(document) {}

  FormatId FormatAt(std::size_t index) {
    const auto& runs = document_.Runs();
    while (run_ + 1 < runs.size() && runs[run_ + 1].begin <= index) ++run_;
    return runs[run_].format;
  }

 private:
  const Document& document_;
  std::size_t run_ = 0;
};

}  // namespace maravelundi
