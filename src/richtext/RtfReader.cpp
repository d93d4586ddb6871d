#include "richtext/RtfReader.h"

#include <algorithm>
#include <stdexcept>
#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <unordered_map>
#include <vector>

#include "richtext/CodePage.h"
#include "richtext/GlyphString.h"
#include "richtext/RtfTokenizer.h"

namespace maravelundi {
namespace {

// What a control word does to the reader. Words not listed are formatting the
// document model does not carry (yet) and are ignored; among them `\loch`,
// `\hich`, `\dbch` and `\afN`: the font a writer names with `\fN` is the font
// of the characters that follow, whichever of those it sets (Word puts the
// Japanese font under `\dbch\f17`, LibreOffice repeats the Latin one as
// `\hich\af7\loch\f7`), and the associated font `\af` of right-to-left and
// East Asian text never changes it.
enum class WordAction : std::uint8_t {
  Char,           // a character word such as \emdash: `value` is the character
  Par,            // paragraph end: CR LF
  Break,          // \page, \sect: a paragraph end unless one was just written
  Line,           // line break inside a paragraph: LF
  Tab,
  Cell,           // end of a table cell: TAB, as the cells read in a row
  Row,            // end of a table row: CR LF
  Font,           // \fN: select a font, or number the next font table entry
  DefaultFont,    // \deffN
  Charset,        // \fcharsetN of a font table entry
  FontCodePage,   // \cpgN of a font table entry, which outranks its \fcharset
  DocCodePage,    // \ansicpgN, or `value` for \mac, \pc, \pca
  Plain,          // \plain: character formatting back to the defaults
  UnicodeSkip,    // \ucN
  Unicode,        // \uN
  UnicodePair,    // \upr: an ANSI and a Unicode version of the same content
  UnicodeBranch,  // \ud: the Unicode version inside \upr
  FontTable,      // \fonttbl
  Skip,           // a destination whose content is not body text
};

struct WordRow {
  std::string_view name;
  WordAction action;
  std::uint16_t value = 0;
};

// Sorted by name for binary search (checked below). The Skip rows are
// destinations writers put in a document without `\*` in front: tables of the
// header, document properties, picture and object data, bookmarks, comments,
// and headers, footers and footnotes, whose text does not belong in the
// body's reading order. `\nonesttables` holds a flattened copy of nested
// tables for readers that do not know `\nestcell`, so it is skipped too.
constexpr std::array kWords = {
    WordRow{"aftncn", WordAction::Skip},           WordRow{"aftnsep", WordAction::Skip},
    WordRow{"aftnsepc", WordAction::Skip},         WordRow{"annotation", WordAction::Skip},
    WordRow{"ansicpg", WordAction::DocCodePage},   WordRow{"atnauthor", WordAction::Skip},
    WordRow{"atndate", WordAction::Skip},          WordRow{"atnicn", WordAction::Skip},
    WordRow{"atnid", WordAction::Skip},            WordRow{"atnparent", WordAction::Skip},
    WordRow{"atnref", WordAction::Skip},           WordRow{"atntime", WordAction::Skip},
    WordRow{"author", WordAction::Skip},           WordRow{"bkmkend", WordAction::Skip},
    WordRow{"bkmkstart", WordAction::Skip},        WordRow{"bullet", WordAction::Char, 0x2022},
    WordRow{"buptim", WordAction::Skip},           WordRow{"category", WordAction::Skip},
    WordRow{"cell", WordAction::Cell},             WordRow{"colortbl", WordAction::Skip},
    WordRow{"comment", WordAction::Skip},          WordRow{"company", WordAction::Skip},
    WordRow{"cpg", WordAction::FontCodePage},      WordRow{"creatim", WordAction::Skip},
    WordRow{"datafield", WordAction::Skip},
    WordRow{"deff", WordAction::DefaultFont},      WordRow{"doccomm", WordAction::Skip},
    WordRow{"emdash", WordAction::Char, 0x2014},   WordRow{"emspace", WordAction::Char, 0x2003},
    WordRow{"endash", WordAction::Char, 0x2013},   WordRow{"enspace", WordAction::Char, 0x2002},
    WordRow{"f", WordAction::Font},                WordRow{"falt", WordAction::Skip},
    WordRow{"fcharset", WordAction::Charset},      WordRow{"fldinst", WordAction::Skip},
    WordRow{"fname", WordAction::Skip},            WordRow{"fontemb", WordAction::Skip},
    WordRow{"fontfile", WordAction::Skip},         WordRow{"fonttbl", WordAction::FontTable},
    WordRow{"footer", WordAction::Skip},           WordRow{"footerf", WordAction::Skip},
    WordRow{"footerl", WordAction::Skip},          WordRow{"footerr", WordAction::Skip},
    WordRow{"footnote", WordAction::Skip},         WordRow{"ftncn", WordAction::Skip},
    WordRow{"ftnsep", WordAction::Skip},           WordRow{"ftnsepc", WordAction::Skip},
    WordRow{"header", WordAction::Skip},           WordRow{"headerf", WordAction::Skip},
    WordRow{"headerl", WordAction::Skip},          WordRow{"headerr", WordAction::Skip},
    WordRow{"info", WordAction::Skip},             WordRow{"keywords", WordAction::Skip},
    WordRow{"ldblquote", WordAction::Char, 0x201C},
    WordRow{"line", WordAction::Line},             WordRow{"listoverridetable", WordAction::Skip},
    WordRow{"listtable", WordAction::Skip},        WordRow{"lquote", WordAction::Char, 0x2018},
    WordRow{"ltrmark", WordAction::Char, 0x200E},  WordRow{"mac", WordAction::DocCodePage, 10000},
    WordRow{"manager", WordAction::Skip},          WordRow{"nestcell", WordAction::Cell},
    WordRow{"nestrow", WordAction::Row},           WordRow{"nonesttables", WordAction::Skip},
    WordRow{"nonshppict", WordAction::Skip},       WordRow{"objalias", WordAction::Skip},
    WordRow{"objclass", WordAction::Skip},         WordRow{"objdata", WordAction::Skip},
    WordRow{"objname", WordAction::Skip},          WordRow{"operator", WordAction::Skip},
    WordRow{"page", WordAction::Break},            WordRow{"panose", WordAction::Skip},
    WordRow{"par", WordAction::Par},               WordRow{"pc", WordAction::DocCodePage, 437},
    WordRow{"pca", WordAction::DocCodePage, 850},  WordRow{"pict", WordAction::Skip},
    WordRow{"plain", WordAction::Plain},           WordRow{"pn", WordAction::Skip},
    WordRow{"pntxta", WordAction::Skip},           WordRow{"pntxtb", WordAction::Skip},
    WordRow{"printim", WordAction::Skip},          WordRow{"qmspace", WordAction::Char, 0x2005},
    WordRow{"rdblquote", WordAction::Char, 0x201D},
    WordRow{"revtbl", WordAction::Skip},           WordRow{"revtim", WordAction::Skip},
    WordRow{"row", WordAction::Row},               WordRow{"rquote", WordAction::Char, 0x2019},
    WordRow{"rsidtbl", WordAction::Skip},          WordRow{"rtlmark", WordAction::Char, 0x200F},
    WordRow{"sect", WordAction::Break},            WordRow{"stylesheet", WordAction::Skip},
    WordRow{"subject", WordAction::Skip},          WordRow{"tab", WordAction::Tab},
    WordRow{"tc", WordAction::Skip},               WordRow{"template", WordAction::Skip},
    WordRow{"title", WordAction::Skip},            WordRow{"txe", WordAction::Skip},
    WordRow{"u", WordAction::Unicode},             WordRow{"uc", WordAction::UnicodeSkip},
    WordRow{"ud", WordAction::UnicodeBranch},      WordRow{"upr", WordAction::UnicodePair},
    WordRow{"xe", WordAction::Skip},               WordRow{"zwbo", WordAction::Char, 0x200B},
    WordRow{"zwj", WordAction::Char, 0x200D},      WordRow{"zwnbo", WordAction::Char, 0xFEFF},
    WordRow{"zwnj", WordAction::Char, 0x200C},
};
static_assert(std::is_sorted(kWords.begin(), kWords.end(),
                             [](const WordRow& a, const WordRow& b) { return a.name < b.name; }));
static_assert(kWords.size() < 256, "the index below keeps rows in a byte");

// Rows by first letter, so that the many formatting words a document holds
// and the reader ignores cost a comparison or two each.
struct WordIndex {
  std::array<std::uint8_t, 27> firstRow{};  // rows for letter i: [firstRow[i], firstRow[i + 1])

  constexpr WordIndex() {
    std::size_t row = 0;
    for (int letter = 0; letter <= 26; ++letter) {
      while (row < kWords.size() && kWords[row].name[0] - 'a' < letter) ++row;
      firstRow[letter] = static_cast<std::uint8_t>(row);
    }
  }
};
constexpr WordIndex kWordIndex;

const WordRow* FindWord(std::string_view name) {
  if (name.empty() || name[0] < 'a' || name[0] > 'z') return nullptr;
  const int letter = name[0] - 'a';
  for (std::size_t row = kWordIndex.firstRow[letter]; row < kWordIndex.firstRow[letter + 1]; ++row) {
    if (kWords[row].name == name) return &kWords[row];
  }
  return nullptr;
}

// Font numbers are kept in 32 bits; this one stands for "the \deff font",
// which `\plain` and the start of the document select.
constexpr std::int32_t kDefaultFont = std::numeric_limits<std::int32_t>::min();

std::int32_t FontNumber(const RtfToken& token) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(token.parameter, -kMax, kMax));
}

// Deeper nesting than any writer produces; past it a file is refused rather
// than held as a million group states.
constexpr std::size_t kMaxDepth = 1'000'000;

// The formatting a group carries for the characters in it. A new attribute of
// CharFormat becomes a field here, set by its control word and resolved in
// FormatOf.
struct CharState {
  std::int32_t font = kDefaultFont;

  bool operator==(const CharState&) const = default;
};

enum class Destination : std::uint8_t { Body, FontTable, Skip };

// Everything a `}` restores.
struct GroupState {
  CharState chars;
  std::int32_t unicodeSkip = 1;  // \ucN: fallback characters after each \uN
  Destination destination = Destination::Body;
  // A `\upr` group: its branches are skipped except the one that begins with
  // `\ud`, which reads as the `\upr` group itself would have.
  bool unicodePair = false;
  Destination pairDestination = Destination::Body;
};

struct FontEntry {
  std::string name;  // UTF-8
  int codePage = 0;  // 0: the glyph convention
};

class RtfInterpreter {
 public:
  // `start` is the offset of the \rtf keyword, just inside the document's
  // own group, which is open from the outset.
  RtfInterpreter(std::string_view bytes, std::size_t start) : bytes_(bytes), tokens_(bytes, start) {
    groups_.emplace_back();
    text_.reserve(bytes.size() / 2);
  }

  RtfReading Run();

 private:
  void OnToken(const RtfToken& token);
  void OnGroupOpen();
  void OnGroupClose();
  void OnControlWord(const RtfToken& token);
  void OnControlSymbol(unsigned char symbol);
  void OnText(std::string_view text);
  void OnBytes(std::string_view bytes);
  void OnUnicode(std::int64_t value);
  void OnBreak();
  bool ConsumeFallback();

  void Emit(char16_t ch);
  void AppendBodyBytes(std::string_view bytes);
  void AppendEntryByte(char byte);
  void FlushBytes();
  void OpenRun(std::int32_t font);
  int CodePageOf(std::int32_t font);

  void StartFontEntry(std::int32_t number);
  void CommitFontEntry();
  const FontEntry* FindFont(std::int32_t font) const;

  Document TakeDocument();
  RtfReading Fail(std::string message, std::size_t offset);

  GroupState& Group() { return groups_.back(); }

  std::string_view bytes_;
  RtfTokenizer tokens_;
  std::vector<GroupState> groups_;  // explicit, so that nesting depth costs heap, not stack
  bool atGroupStart_ = false;       // `\*` marks a destination only as a group's first token
  bool outermostClosed_ = false;    // a '}' closed the document's group; nothing reopened it
  std::int64_t fallbackLeft_ = 0;   // characters of a \uN fallback still to drop

  // The body: text and runs of font numbers. Names are looked up only at the
  // end, so that a font table after the text still names its fonts; runs
  // index `runFonts_`, one slot per font number used.
  std::u16string text_;
  std::vector<FormatRun> runs_;
  std::vector<std::int32_t> runFonts_;
  std::unordered_map<std::int32_t, FormatId> slotByFont_;
  std::int32_t runFont_ = 0;

  // Bytes of a font with a code page, held until something else comes, so
  // that the two bytes of a double-byte character decode together. They
  // belong to the body in font `pendingFont_`, or to the font entry.
  std::string pendingBytes_;
  int pendingCodePage_ = 0;
  std::int32_t pendingFont_ = 0;
  bool pendingInEntry_ = false;
  CodePageDecoder decoder_;

  std::unordered_map<std::int32_t, FontEntry> fonts_;
  std::int32_t defaultFont_ = 0;  // \deff0 when the header does not say
  int documentCodePage_ = 0;      // \ansicpgN, when it is one decoded
  bool codePageKnown_ = false;    // the cache below is valid
  std::int32_t codePageFont_ = 0;
  int codePage_ = 0;

  bool entryOpen_ = false;
  std::int32_t entryNumber_ = 0;
  int entryCodePage_ = 0;
  std::u16string entryName_;
};

RtfReading RtfInterpreter::Run() {
  for (;;) {
    const RtfToken token = tokens_.Next();
    if (token.kind == RtfTokenKind::End) break;
    if (token.kind == RtfTokenKind::GroupOpen && groups_.size() >= kMaxDepth) {
      return Fail("groups nested more than " + std::to_string(kMaxDepth) + " deep", token.offset);
    }
    OnToken(token);
  }
  if (const auto cut = tokens_.CutBinary()) {
    return Fail("unexpected end of file: the \\bin data at byte " + std::to_string(*cut) +
                    " runs past the end",
                *cut);
  }
  const std::size_t open = groups_.size() - (outermostClosed_ ? 1 : 0);
  if (open > 0) {
    return Fail("unexpected end of file: " + std::to_string(open) +
                    (open == 1 ? " group still open" : " groups still open"),
                bytes_.size());
  }
  return RtfReading{TakeDocument(), std::nullopt};
}

void RtfInterpreter::OnToken(const RtfToken& token) {
  const bool groupStart = atGroupStart_;
  atGroupStart_ = false;
  if (outermostClosed_ && groups_.size() == 1) {
    if (token.kind == RtfTokenKind::Text) return;  // debris after the end
    // Text markup at the outermost level: the '}' was a stray one after all.
    if (token.kind != RtfTokenKind::GroupOpen && token.kind != RtfTokenKind::GroupClose) outermostClosed_ = false;
  }
  switch (token.kind) {
    case RtfTokenKind::GroupOpen:
      OnGroupOpen();
      return;
    case RtfTokenKind::GroupClose:
      OnGroupClose();
      return;
    case RtfTokenKind::ControlWord:
      if (!ConsumeFallback()) OnControlWord(token);
      return;
    case RtfTokenKind::ControlSymbol:
      if (ConsumeFallback()) return;
      if (token.symbol == '*' && groupStart) {
        Group().destination = Destination::Skip;
      } else {
        OnControlSymbol(token.symbol);
      }
      return;
    case RtfTokenKind::HexByte:
      if (!ConsumeFallback()) {
        const char byte = static_cast<char>(token.symbol);
        OnBytes(std::string_view(&byte, 1));
      }
      return;
    case RtfTokenKind::Text:
      OnText(token.text);
      return;
    case RtfTokenKind::End:
      return;
  }
}

void RtfInterpreter::OnGroupOpen() {
  groups_.push_back(groups_.back());
  groups_.back().unicodePair = false;
  atGroupStart_ = true;
  fallbackLeft_ = 0;  // a fallback never reaches across a group boundary
}

void RtfInterpreter::OnGroupClose() {
  fallbackLeft_ = 0;
  if (groups_.size() == 1) {
    // The document's own group ends here, or a stray '}' closed it early:
    // some writers leave one in the middle of a document and the text goes
    // on after it, as Word and LibreOffice read it. So the outermost group
    // stays; markup that follows is read in it (and reopens it), while plain
    // bytes at that level are debris (NULs, a stray character) and dropped.
    outermostClosed_ = true;
    return;
  }
  // An entry without its ';' ends with its group (or with the table).
  if (Group().destination == Destination::FontTable) CommitFontEntry();
  groups_.pop_back();
}

bool RtfInterpreter::ConsumeFallback() {
  if (fallbackLeft_ == 0) return false;
  --fallbackLeft_;
  return true;
}

void RtfInterpreter::OnControlWord(const RtfToken& token) {
  GroupState& group = Group();
  const WordRow* row = FindWord(token.text);
  if (row == nullptr) return;
  if (group.destination == Destination::Skip && row->action != WordAction::UnicodeBranch) return;
  switch (row->action) {
    case WordAction::Char:
      Emit(static_cast<char16_t>(row->value));
      break;
    case WordAction::Par:
    case WordAction::Row:
      Emit(u'\r');
      Emit(u'\n');
      break;
    case WordAction::Break:
      OnBreak();
      break;
    case WordAction::Line:
      Emit(u'\n');
      break;
    case WordAction::Tab:
    case WordAction::Cell:
      Emit(u'\t');
      break;
    case WordAction::Font:
      if (group.destination == Destination::FontTable) {
        StartFontEntry(FontNumber(token));
      } else {
        group.chars.font = FontNumber(token);
      }
      break;
    case WordAction::DefaultFont:
      defaultFont_ = FontNumber(token);
      codePageKnown_ = false;
      break;
    case WordAction::Charset:
      if (group.destination == Destination::FontTable && entryOpen_) entryCodePage_ = CodePageOfCharset(token.parameter);
      break;
    case WordAction::FontCodePage:
      // 1252 says the glyph convention; a page not decoded here leaves the
      // character set's choice.
      if (group.destination != Destination::FontTable || !entryOpen_) break;
      if (token.parameter == 1252) entryCodePage_ = 0;
      if (IsDecodedCodePage(token.parameter)) entryCodePage_ = static_cast<int>(token.parameter);
      break;
    case WordAction::DocCodePage: {
      const std::int64_t page = row->value != 0 ? row->value : token.parameter;
      documentCodePage_ = IsDecodedCodePage(page) ? static_cast<int>(page) : 0;
      codePageKnown_ = false;
      break;
    }
    case WordAction::Plain:
      group.chars = CharState{};
      break;
    case WordAction::UnicodeSkip:
      group.unicodeSkip = static_cast<std::int32_t>(std::clamp<std::int64_t>(token.parameter, 0, 1 << 16));
      break;
    case WordAction::Unicode:
      if (token.hasParameter) OnUnicode(token.parameter);
      break;
    case WordAction::UnicodePair:
      group.unicodePair = true;
      group.pairDestination = group.destination;
      group.destination = Destination::Skip;
      break;
    case WordAction::UnicodeBranch:
      // Only as a branch of a `\upr` group; elsewhere it stays skipped.
      if (groups_.size() >= 2 && groups_[groups_.size() - 2].unicodePair) {
        group.destination = groups_[groups_.size() - 2].pairDestination;
      }
      break;
    case WordAction::FontTable:
      group.destination = Destination::FontTable;
      break;
    case WordAction::Skip:
      group.destination = Destination::Skip;
      break;
  }
}

void RtfInterpreter::OnControlSymbol(unsigned char symbol) {
  switch (symbol) {
    case '\\':
    case '{':
    case '}': {
      // Bytes like any other: in a double-byte font an escaped one can be
      // the second byte of a character.
      const char byte = static_cast<char>(symbol);
      OnBytes(std::string_view(&byte, 1));
      break;
    }
    case '~':
      Emit(u'\u00A0');  // both are glyph codes of the legacy fonts, so kept as such
      break;
    case '-':
      Emit(u'\u00AD');
      break;
    case '_':
      Emit(u'\u2011');
      break;
    case '\r':
    case '\n':
      // A backslash ending a markup line is an old way to write \par.
      Emit(u'\r');
      Emit(u'\n');
      break;
    default:
      break;  // \| \: and the like carry no text
  }
}

void RtfInterpreter::OnUnicode(std::int64_t value) {
  if (value < 0) value += 0x10000;  // written as signed 16-bit
  char16_t ch = value >= 0 && value <= 0xFFFF ? static_cast<char16_t>(value) : u'\uFFFD';
  // Word and LibreOffice write the bytes of a symbol font as U+F020..U+F0FF,
  // and a legacy font that went through LibreOffice keeps its characters
  // only that way, under any character set: they stand for the byte itself.
  if (ch >= 0xF020 && ch <= 0xF0FF) ch = GlyphChar(static_cast<std::uint8_t>(ch - 0xF000));
  Emit(ch);
  fallbackLeft_ = Group().unicodeSkip;
}

void RtfInterpreter::OnBreak() {
  // A page or section break ends the paragraph it interrupts; after a
  // paragraph end, or before any text, there is none to end.
  if (Group().destination != Destination::Body) return;
  FlushBytes();
  if (text_.empty() || text_.ends_with(u"\r\n")) return;
  Emit(u'\r');
  Emit(u'\n');
}

void RtfInterpreter::OnText(std::string_view text) {
  const Destination destination = Group().destination;
  if (destination == Destination::Skip) return;
  std::size_t skipped = 0;
  while (skipped < text.size() && ConsumeFallback()) ++skipped;
  text.remove_prefix(skipped);
  if (destination == Destination::Body) {
    AppendBodyBytes(text);
    return;
  }
  for (const char byte : text) {
    // In the font table only a plain ';' ends a name; `\'3b` is part of it.
    if (byte == ';') {
      CommitFontEntry();
    } else {
      AppendEntryByte(byte);
    }
  }
}

void RtfInterpreter::OnBytes(std::string_view bytes) {
  switch (Group().destination) {
    case Destination::Body:
      AppendBodyBytes(bytes);
      break;
    case Destination::FontTable:
      for (const char byte : bytes) AppendEntryByte(byte);
      break;
    case Destination::Skip:
      break;
  }
}

void RtfInterpreter::Emit(char16_t ch) {
  switch (Group().destination) {
    case Destination::Body:
      FlushBytes();
      OpenRun(Group().chars.font);
      text_.push_back(ch);
      break;
    case Destination::FontTable:
      FlushBytes();
      if (entryOpen_) entryName_.push_back(ch);
      break;
    case Destination::Skip:
      break;
  }
}

void RtfInterpreter::AppendBodyBytes(std::string_view bytes) {
  if (bytes.empty()) return;
  const std::int32_t font = Group().chars.font;
  const int codePage = CodePageOf(font);
  if (codePage == 0) {
    FlushBytes();
    OpenRun(font);
    for (const char byte : bytes) text_.push_back(GlyphChar(static_cast<std::uint8_t>(byte)));
    return;
  }
  if (pendingInEntry_ || pendingFont_ != font || pendingCodePage_ != codePage) FlushBytes();
  pendingInEntry_ = false;
  pendingFont_ = font;
  pendingCodePage_ = codePage;
  pendingBytes_.append(bytes);
}

void RtfInterpreter::AppendEntryByte(char byte) {
  if (!entryOpen_) return;
  // A name is in its font's code page; the names of Western and symbol
  // fonts in the document's (legacy font names are ASCII either way).
  const int codePage = entryCodePage_ != 0 ? entryCodePage_ : documentCodePage_;
  if (codePage == 0) {
    FlushBytes();
    entryName_.push_back(GlyphChar(static_cast<std::uint8_t>(byte)));
    return;
  }
  if (!pendingInEntry_ || pendingCodePage_ != codePage) FlushBytes();
  pendingInEntry_ = true;
  pendingCodePage_ = codePage;
  pendingBytes_.push_back(byte);
}

void RtfInterpreter::FlushBytes() {
  if (pendingBytes_.empty()) return;
  if (pendingInEntry_) {
    decoder_.Append(pendingCodePage_, pendingBytes_, entryName_);
  } else {
    OpenRun(pendingFont_);
    decoder_.Append(pendingCodePage_, pendingBytes_, text_);
  }
  pendingBytes_.clear();
}

void RtfInterpreter::OpenRun(std::int32_t font) {
  if (!runs_.empty() && runFont_ == font) return;
  auto [slot, added] = slotByFont_.try_emplace(font, static_cast<FormatId>(runFonts_.size()));
  if (added) runFonts_.push_back(font);
  if (text_.size() > kMaxDocumentSize) throw std::length_error("document too large");
  runs_.push_back({static_cast<TextIndex>(text_.size()), slot->second});
  runFont_ = font;
}

const FontEntry* RtfInterpreter::FindFont(std::int32_t font) const {
  // A number missing from the font table falls back to the default font.
  auto entry = fonts_.find(font == kDefaultFont ? defaultFont_ : font);
  if (entry == fonts_.end()) entry = fonts_.find(defaultFont_);
  return entry != fonts_.end() ? &entry->second : nullptr;
}

int RtfInterpreter::CodePageOf(std::int32_t font) {
  if (codePageKnown_ && codePageFont_ == font) return codePage_;
  // Text in no known font (no table yet, or none at all) is in the
  // document's code page; a font without a character set keeps the glyph
  // convention, as every legacy font must.
  const FontEntry* entry = FindFont(font);
  codePage_ = entry != nullptr ? entry->codePage : documentCodePage_;
  codePageFont_ = font;
  codePageKnown_ = true;
  return codePage_;
}

void RtfInterpreter::StartFontEntry(std::int32_t number) {
  FlushBytes();
  // Tables written without braces around entries run one into the next.
  if (entryOpen_ && !entryName_.empty()) CommitFontEntry();
  entryOpen_ = true;
  entryNumber_ = number;
  entryCodePage_ = 0;
  entryName_.clear();
}

void RtfInterpreter::CommitFontEntry() {
  FlushBytes();
  if (!entryOpen_) return;
  // The first definition of a number stands; the name is kept exactly as
  // spelled, spaces included, since the font names select glyph tables.
  fonts_.try_emplace(entryNumber_, FontEntry{ToUtf8(entryName_), entryCodePage_});
  codePageKnown_ = false;
  entryOpen_ = false;
  entryName_.clear();
}

Document RtfInterpreter::TakeDocument() {
  FlushBytes();
  // A document without a font table gets the empty font name.
  std::vector<CharFormat> formats;
  formats.reserve(runFonts_.size());
  for (const std::int32_t font : runFonts_) {
    const FontEntry* entry = FindFont(font);
    CharFormat format;
    if (entry != nullptr) format.fontName = entry->name;
    formats.push_back(std::move(format));
  }
  return Document::FromParts(std::move(text_), runs_, formats);
}

RtfReading RtfInterpreter::Fail(std::string message, std::size_t offset) {
  return RtfReading{TakeDocument(), ParseError{std::move(message), offset}};
}

}  // namespace

RtfReading ReadRtf(std::string_view bytes) {
  if (bytes.empty()) return RtfReading{Document{}, ParseError{"the file is empty", 0}};
  // Some writers put a line end between the brace and \rtf.
  const std::size_t keyword = bytes.find_first_not_of(" \t\r\n", 1);
  if (bytes[0] != '{' || keyword == std::string_view::npos || !bytes.substr(keyword).starts_with("\\rtf")) {
    return RtfReading{Document{}, ParseError{"not an RTF document (it does not begin with {\\rtf)", 0}};
  }
  try {
    return RtfInterpreter(bytes, keyword).Run();
  } catch (const std::length_error&) {
    return RtfReading{Document{}, ParseError{"the document is too large (more than 4294967295 characters)",
                                             bytes.size()}};
  }
}

}  // namespace maravelundi
