#include "richtext/RtfReader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <vector>

#include "richtext/GlyphString.h"
#include "richtext/RtfTokenizer.h"

namespace maravelundi {
namespace {

// What a control word does to the reader. Words not listed are formatting the
// document model does not carry (yet) and are ignored.
enum class WordAction : std::uint8_t {
  Char,         // a character word such as \emdash: `value` is its glyph byte
  Par,          // paragraph end: CR LF
  Line,         // line break inside a paragraph: LF
  Tab,
  Cell,         // end of a table cell: TAB, as the cells read in a row
  Row,          // end of a table row: CR LF
  Font,         // \fN: select a font, or number the next font table entry
  DefaultFont,  // \deffN
  Plain,        // \plain: character formatting back to the defaults
  UnicodeSkip,  // \ucN
  Unicode,      // \uN
  FontTable,    // \fonttbl
  Skip,         // a destination whose content is not body text
};

struct WordRow {
  std::string_view name;
  WordAction action;
  std::uint8_t value = 0;
};

// Sorted by name for binary search (checked below). The Skip rows are
// destinations writers put in a document without `\*` in front: tables of the
// header, document properties, picture and object data, and headers, footers
// and footnotes, whose text does not belong in the body's reading order.
constexpr std::array kWords = {
    WordRow{"aftncn", WordAction::Skip},      WordRow{"aftnsep", WordAction::Skip},
    WordRow{"aftnsepc", WordAction::Skip},    WordRow{"author", WordAction::Skip},
    WordRow{"bullet", WordAction::Char, 0x95},
    WordRow{"buptim", WordAction::Skip},      WordRow{"category", WordAction::Skip},
    WordRow{"cell", WordAction::Cell},        WordRow{"colortbl", WordAction::Skip},
    WordRow{"comment", WordAction::Skip},     WordRow{"company", WordAction::Skip},
    WordRow{"creatim", WordAction::Skip},     WordRow{"datafield", WordAction::Skip},
    WordRow{"deff", WordAction::DefaultFont}, WordRow{"doccomm", WordAction::Skip},
    WordRow{"emdash", WordAction::Char, 0x97},
    WordRow{"endash", WordAction::Char, 0x96},
    WordRow{"f", WordAction::Font},           WordRow{"falt", WordAction::Skip},
    WordRow{"fldinst", WordAction::Skip},     WordRow{"fonttbl", WordAction::FontTable},
    WordRow{"footer", WordAction::Skip},      WordRow{"footerf", WordAction::Skip},
    WordRow{"footerl", WordAction::Skip},     WordRow{"footerr", WordAction::Skip},
    WordRow{"footnote", WordAction::Skip},
    WordRow{"ftncn", WordAction::Skip},       WordRow{"ftnsep", WordAction::Skip},
    WordRow{"ftnsepc", WordAction::Skip},     WordRow{"header", WordAction::Skip},
    WordRow{"headerf", WordAction::Skip},     WordRow{"headerl", WordAction::Skip},
    WordRow{"headerr", WordAction::Skip},     WordRow{"info", WordAction::Skip},
    WordRow{"keywords", WordAction::Skip},
    WordRow{"ldblquote", WordAction::Char, 0x93},
    WordRow{"line", WordAction::Line},        WordRow{"listoverridetable", WordAction::Skip},
    WordRow{"listtable", WordAction::Skip},
    WordRow{"lquote", WordAction::Char, 0x91},
    WordRow{"manager", WordAction::Skip},     WordRow{"nestcell", WordAction::Cell},
    WordRow{"nestrow", WordAction::Row},      WordRow{"nonshppict", WordAction::Skip},
    WordRow{"objdata", WordAction::Skip},     WordRow{"operator", WordAction::Skip},
    WordRow{"panose", WordAction::Skip},      WordRow{"par", WordAction::Par},
    WordRow{"pict", WordAction::Skip},        WordRow{"plain", WordAction::Plain},
    WordRow{"printim", WordAction::Skip},
    WordRow{"rdblquote", WordAction::Char, 0x94},
    WordRow{"revtbl", WordAction::Skip},      WordRow{"revtim", WordAction::Skip},
    WordRow{"row", WordAction::Row},
    WordRow{"rquote", WordAction::Char, 0x92},
    WordRow{"rsidtbl", WordAction::Skip},     WordRow{"stylesheet", WordAction::Skip},
    WordRow{"subject", WordAction::Skip},     WordRow{"tab", WordAction::Tab},
    WordRow{"tc", WordAction::Skip},          WordRow{"template", WordAction::Skip},
    WordRow{"title", WordAction::Skip},       WordRow{"txe", WordAction::Skip},
    WordRow{"u", WordAction::Unicode},        WordRow{"uc", WordAction::UnicodeSkip},
    WordRow{"xe", WordAction::Skip},
};
static_assert(std::is_sorted(kWords.begin(), kWords.end(),
                             [](const WordRow& a, const WordRow& b) { return a.name < b.name; }));

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

// The formatting a group carries for the characters in it. A new attribute of
// CharFormat becomes a field here, set by its control word and compared below.
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
};

class RtfInterpreter {
 public:
  // `start` is the offset of the \rtf keyword, just inside the document's
  // own group, which is open from the outset.
  RtfInterpreter(std::string_view bytes, std::size_t start) : bytes_(bytes), tokens_(bytes, start) {
    groups_.emplace_back();
    document_.Reserve(bytes.size() / 2);
  }

  RtfReading Run();

 private:
  void OnToken(const RtfToken& token);
  void OnGroupOpen();
  void OnGroupClose();
  void OnControlWord(const RtfToken& token);
  void OnControlSymbol(unsigned char symbol);
  void OnText(std::string_view text);
  void OnUnicode(std::int64_t value);
  bool ConsumeFallback();

  void Emit(char16_t ch);
  void EmitBody(char16_t ch);
  void Flush();
  FormatId FormatFor(const CharState& chars);

  void StartFontEntry(std::int32_t number);
  void CommitFontEntry();

  RtfReading Fail(std::string message, std::size_t offset);

  GroupState& Group() { return groups_.back(); }

  std::string_view bytes_;
  RtfTokenizer tokens_;
  std::vector<GroupState> groups_;  // explicit, so that nesting depth costs heap, not stack
  bool atGroupStart_ = false;       // `\*` marks a destination only as a group's first token
  bool outermostClosed_ = false;    // a '}' closed the document's group; nothing reopened it
  std::int64_t fallbackLeft_ = 0;   // characters of a \uN fallback still to drop

  Document document_;
  // Body characters not yet handed to the document, all in pendingChars_:
  // appending run by run interns each format once per run.
  std::u16string pending_;
  CharState pendingChars_;
  std::unordered_map<std::int32_t, FormatId> formatByFont_;

  std::unordered_map<std::int32_t, std::string> fonts_;  // UTF-8 names by number
  std::int32_t defaultFont_ = 0;  // \deff0 when the header does not say
  bool entryOpen_ = false;
  std::int32_t entryNumber_ = 0;
  std::u16string entryName_;
};

RtfReading RtfInterpreter::Run() {
  for (;;) {
    const RtfToken token = tokens_.Next();
    if (token.kind == RtfTokenKind::End) break;
    OnToken(token);
  }
  const std::size_t open = groups_.size() - (outermostClosed_ ? 1 : 0);
  if (open > 0) {
    return Fail("unexpected end of file: " + std::to_string(open) +
                    (open == 1 ? " group still open" : " groups still open"),
                bytes_.size());
  }
  Flush();
  return RtfReading{std::move(document_), std::nullopt};
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
      if (!ConsumeFallback()) Emit(GlyphChar(token.symbol));
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
  if (group.destination == Destination::Skip) return;
  const WordRow* row = FindWord(token.text);
  if (row == nullptr) return;
  switch (row->action) {
    case WordAction::Char:
      Emit(GlyphChar(row->value));
      break;
    case WordAction::Par:
    case WordAction::Row:
      Emit(u'\r');
      Emit(u'\n');
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
      formatByFont_.clear();
      break;
    case WordAction::Plain:
      group.chars = CharState{};
      break;
    case WordAction::UnicodeSkip:
      group.unicodeSkip = static_cast<std::int32_t>(std::clamp<std::int64_t>(token.parameter, 0, 1 << 16));
      break;
    case WordAction::Unicode:
      OnUnicode(token.parameter);
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
    case '}':
      Emit(symbol);
      break;
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
      if (Group().destination != Destination::Skip) {
        Emit(u'\r');
        Emit(u'\n');
      }
      break;
    default:
      break;  // \| \: and the like carry no text
  }
}

void RtfInterpreter::OnUnicode(std::int64_t value) {
  if (Group().destination == Destination::Skip) return;
  if (value < 0) value += 0x10000;  // written as signed 16-bit
  char16_t ch = value >= 0 && value <= 0xFFFF ? static_cast<char16_t>(value) : u'\uFFFD';
  // Word and LibreOffice write the bytes of a symbol font as U+F020..U+F0FF;
  // for a legacy font those stand for the byte itself.
  if (ch >= 0xF020 && ch <= 0xF0FF) ch = GlyphChar(static_cast<std::uint8_t>(ch - 0xF000));
  Emit(ch);
  fallbackLeft_ = Group().unicodeSkip;
}

void RtfInterpreter::OnText(std::string_view text) {
  const Destination destination = Group().destination;
  if (destination == Destination::Skip) return;
  std::size_t i = 0;
  for (; i < text.size() && ConsumeFallback(); ++i) {
  }
  if (destination == Destination::Body) {
    if (i == text.size()) return;
    if (!(pendingChars_ == Group().chars)) Flush();
    pendingChars_ = Group().chars;
    for (; i < text.size(); ++i) pending_.push_back(GlyphChar(static_cast<std::uint8_t>(text[i])));
    return;
  }
  for (; i < text.size(); ++i) {
    // In the font table only a plain ';' ends a name; `\'3b` is part of it.
    if (text[i] == ';') {
      CommitFontEntry();
    } else {
      Emit(GlyphChar(static_cast<std::uint8_t>(text[i])));
    }
  }
}

void RtfInterpreter::Emit(char16_t ch) {
  switch (Group().destination) {
    case Destination::Body:
      EmitBody(ch);
      break;
    case Destination::FontTable:
      if (entryOpen_) entryName_.push_back(ch);
      break;
    case Destination::Skip:
      break;
  }
}

void RtfInterpreter::EmitBody(char16_t ch) {
  if (!(pendingChars_ == Group().chars)) {
    Flush();
    pendingChars_ = Group().chars;
  }
  pending_.push_back(ch);
}

void RtfInterpreter::Flush() {
  if (pending_.empty()) return;
  document_.Append(pending_, FormatFor(pendingChars_));
  pending_.clear();
}

FormatId RtfInterpreter::FormatFor(const CharState& chars) {
  if (const auto cached = formatByFont_.find(chars.font); cached != formatByFont_.end()) {
    return cached->second;
  }
  // A number missing from the font table falls back to the default font,
  // and a document without one gets the empty font name.
  auto font = fonts_.find(chars.font);
  if (font == fonts_.end()) font = fonts_.find(defaultFont_);
  const FormatId id = document_.InternFont(font != fonts_.end() ? font->second : std::string());
  formatByFont_.emplace(chars.font, id);
  return id;
}

void RtfInterpreter::StartFontEntry(std::int32_t number) {
  // Tables written without braces around entries run one into the next.
  if (entryOpen_ && !entryName_.empty()) CommitFontEntry();
  entryOpen_ = true;
  entryNumber_ = number;
  entryName_.clear();
}

void RtfInterpreter::CommitFontEntry() {
  if (!entryOpen_) return;
  // The first definition of a number stands; the name is kept exactly as
  // spelled, spaces included, since the font names select glyph tables.
  fonts_.try_emplace(entryNumber_, ToUtf8(entryName_));
  formatByFont_.clear();
  entryOpen_ = false;
  entryName_.clear();
}

RtfReading RtfInterpreter::Fail(std::string message, std::size_t offset) {
  Flush();
  return RtfReading{std::move(document_), ParseError{std::move(message), offset}};
}

}  // namespace

RtfReading ReadRtf(std::string_view bytes) {
  if (bytes.empty()) return RtfReading{Document{}, ParseError{"the file is empty", 0}};
  // Some writers put a line end between the brace and \rtf.
  const std::size_t keyword = bytes.find_first_not_of(" \t\r\n", 1);
  if (bytes[0] != '{' || keyword == std::string_view::npos || !bytes.substr(keyword).starts_with("\\rtf")) {
    return RtfReading{Document{}, ParseError{"not an RTF document (it does not begin with {\\rtf)", 0}};
  }
  return RtfInterpreter(bytes, keyword).Run();
}

}  // namespace maravelundi
