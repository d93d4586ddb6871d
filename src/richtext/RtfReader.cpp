// The Rich Text reader's interpreter: each token from the tokenizer
// dispatched by what it does to the group state, the font and colour
// tables, and the text (RtfTextWriter.h), which reads stretches of
// legacy-font text in an inner loop of its own. What each piece of state is
// and how it behaves lives in the headers below; this file decides which
// piece a token goes to, and in what order.

#include "richtext/RtfReader.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "richtext/FontEncoding.h"
#include "richtext/GlyphString.h"
#include "richtext/ReadWarningLog.h"
#include "richtext/RtfColourTable.h"
#include "richtext/RtfFontTable.h"
#include "richtext/RtfGroupState.h"
#include "richtext/RtfStory.h"
#include "richtext/RtfTextWriter.h"
#include "richtext/RtfTokenizer.h"
#include "richtext/RtfWords.h"
#include "richtext/SymbolFont.h"

namespace maravelundi {
namespace {

using namespace rtfread;

// Deeper nesting than any writer produces; past it a file is refused rather
// than held as a million group states.
constexpr std::size_t kMaxDepth = 1'000'000;

// \b, \i, \ul and their like: on without a parameter, off with 0.
bool Toggle(const RtfToken& token) { return !token.hasParameter || token.parameter != 0; }

// A size of nothing (or less) is no size a document can show; it reads as
// the default, as a missing parameter does.
std::uint16_t HalfPoints(const RtfToken& token) {
  if (!token.hasParameter || token.parameter <= 0) return kDefaultHalfPoints;
  return static_cast<std::uint16_t>(std::min<std::int64_t>(token.parameter, 0xFFFF));
}

class RtfInterpreter {
 public:
  // `start` is the offset of the \rtf keyword, just inside the document's
  // own group, which is open from the outset.
  RtfInterpreter(std::string_view bytes, std::size_t start, const RtfReadOptions& options)
      : bytes_(bytes), tokens_(bytes, start), options_(options), text_(bytes, options.sourceSpans, fonts_, warnings_) {
    groups_.emplace_back();
  }

  RtfReading Run();

 private:
  void OnToken(const RtfToken& token);
  void OnGroupOpen();
  void OnGroupClose();
  void EndDocument();
  void OnControlWord(const RtfToken& token);
  void OnWord(const RtfToken& token, const WordRow& row);
  void OnControlSymbol(unsigned char symbol);
  void OnText(std::string_view text);
  void OnBytes(std::string_view bytes);
  void OnUnicode(std::int64_t value);
  void OnBreak();
  void OnBinary(const RtfToken& token);
  void OnDocumentCodePage(std::int64_t page, const RtfToken& token);
  void OpenSideStory();
  bool ConsumeFallback();
  template <bool kSpans>
  void ReadGlyphText();
  void StartFontEntry(std::int32_t number);
  void CommitFontEntry();

  void Emit(char16_t ch) { text_.Emit(Group(), ch, Token()); }
  TokenAt Token() const { return {tokenOffset_, tokenEnd_}; }
  RtfReading Finish(std::optional<ParseError> error) {
    return text_.Finish(colours_, fontTableEnd_, tokenOffset_, std::move(error));
  }
  RtfReading Fail(ParseErrorCode code, std::string message, std::size_t offset) {
    return Finish(ParseError{code, std::move(message), offset});
  }

  GroupState& Group() { return groups_.back(); }

  std::string_view bytes_;
  RtfTokenizer tokens_;
  RtfReadOptions options_;
  std::vector<GroupState> groups_;  // explicit, so that nesting depth costs heap, not stack
  bool atGroupStart_ = false;       // `\*` marks a destination only as a group's first token
  bool afterStar_ = false;          // the token before this one was a group's `\*`
  bool ended_ = false;              // the document's outermost group has closed
  std::size_t tokenOffset_ = 0;     // where the token being read begins
  std::size_t tokenEnd_ = 0;        // and where it ends
  std::int64_t fallbackLeft_ = 0;   // characters of a \uN fallback still to drop
  FontTable fonts_;
  ColourTable colours_;
  std::optional<std::size_t> fontTableEnd_;
  ReadWarningLog warnings_;
  TextWriter text_;
};

RtfReading RtfInterpreter::Run() {
  while (!ended_) {
    // Legacy-font text, unless a \uN fallback is to be dropped from it.
    if (fallbackLeft_ == 0 && text_.AtGlyphText(Group(), tokens_.Position())) {
      if (options_.sourceSpans) {
        ReadGlyphText<true>();
      } else {
        ReadGlyphText<false>();
      }
      continue;
    }
    const RtfToken token = tokens_.Next();
    if (token.kind == RtfTokenKind::End) break;
    if (token.kind == RtfTokenKind::GroupOpen && groups_.size() >= kMaxDepth) {
      return Fail(ParseErrorCode::NestingTooDeep, "groups nested more than " + std::to_string(kMaxDepth) + " deep",
                  token.offset);
    }
    tokenOffset_ = token.offset;
    tokenEnd_ = tokens_.Position();
    OnToken(token);
  }
  if (const auto cut = tokens_.CutBinary()) {
    return Fail(ParseErrorCode::TruncatedBinary,
                "unexpected end of file: the \\bin data at byte " + std::to_string(*cut) + " runs past the end", *cut);
  }
  const std::size_t open = ended_ ? 0 : groups_.size();
  if (open > 0) {
    return Fail(ParseErrorCode::UnclosedGroups,
                "unexpected end of file: " + std::to_string(open) +
                    (open == 1 ? " group still open" : " groups still open"),
                bytes_.size());
  }
  return Finish(std::nullopt);
}

void RtfInterpreter::OnToken(const RtfToken& token) {
  const bool groupStart = atGroupStart_;
  const bool afterStar = afterStar_;
  atGroupStart_ = false;
  afterStar_ = false;
  switch (token.kind) {
    case RtfTokenKind::GroupOpen:
      OnGroupOpen();
      return;
    case RtfTokenKind::GroupClose:
      OnGroupClose();
      return;
    case RtfTokenKind::ControlWord:
      if (ConsumeFallback()) return;
      if (afterStar) {
        // `{\*\word`: a destination we may know after all.
        const WordRow* row = FindWord(token.text);
        if (row != nullptr && row->action == WordAction::Transparent) {
          if (groups_.size() >= 2) Group().destination = groups_[groups_.size() - 2].destination;
          return;
        }
        if (row != nullptr && row->action == WordAction::SideStory) {
          if (options_.sideStories) OpenSideStory();
          return;
        }
      }
      OnControlWord(token);
      return;
    case RtfTokenKind::ControlSymbol:
      if (ConsumeFallback()) return;
      if (token.symbol == '*' && groupStart) {
        Group().destination = Destination::Skip;
        afterStar_ = true;
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
  groups_.back().sideStoryRoot = false;
  atGroupStart_ = true;
  fallbackLeft_ = 0;  // a fallback never reaches across a group boundary
}

void RtfInterpreter::OnGroupClose() {
  fallbackLeft_ = 0;
  if (groups_.size() == 1) {
    EndDocument();
    return;
  }
  // An entry without its ';' ends with its group (or with the table).
  if (Group().destination == Destination::FontTable) {
    CommitFontEntry();
    const bool closesTable = groups_[groups_.size() - 2].destination != Destination::FontTable;
    if (closesTable && !fontTableEnd_) fontTableEnd_ = tokenOffset_;
  }
  if (Group().destination == Destination::ColourTable) colours_.Commit(false);
  if (Group().sideStoryRoot) text_.EndSideStory(Group(), tokenOffset_);
  groups_.pop_back();
}

void RtfInterpreter::EndDocument() {
  // The document's own group ends here, unless a stray '}' closed it early:
  // some writers leave one in the middle of a document and the text goes on
  // after it, as Word and LibreOffice read it. Such a file's braces close
  // once more than they open; what follows the brace that ends a balanced
  // file (debris, a second document) is not part of the document.
  const RtfTail tail = ScanRtfTail(bytes_, tokens_.Position());
  if (tail.braceBalance == 1 && !tail.secondDocument) {
    warnings_.Add(ReadWarningCode::StrayCloseBrace, 0,
                  "a stray '}' closes the document early; its text goes on after it", tokenOffset_);
    return;
  }
  ended_ = true;
  if (!tail.firstContent) return;
  if (tail.secondDocument) {
    warnings_.Add(ReadWarningCode::SecondDocument, 0, "a second document follows the first and is not read",
                  *tail.firstContent);
  } else {
    warnings_.Add(ReadWarningCode::IgnoredAfterEnd, 0, "bytes after the document's last '}' are not read",
                  *tail.firstContent);
  }
}

bool RtfInterpreter::ConsumeFallback() {
  if (fallbackLeft_ == 0) return false;
  --fallbackLeft_;
  text_.ExtendFallback(tokenEnd_);
  return true;
}

void RtfInterpreter::OnControlWord(const RtfToken& token) {
  const WordRow* row = FindWord(token.text);
  if (row == nullptr) return;
  const Destination destination = Group().destination;
  // The text of a shape sits inside its skipped instructions.
  const bool opensSideStory = row->action == WordAction::SideStory && options_.sideStories;
  if (destination == Destination::Skip && row->action != WordAction::UnicodeBranch && !opensSideStory) return;
  if (destination == Destination::ColourTable) {
    if (row->action == WordAction::ColourPart) colours_.SetPart(row->value, token.parameter);
    return;
  }
  OnWord(token, *row);
}

void RtfInterpreter::OnWord(const RtfToken& token, const WordRow& row) {
  GroupState& group = Group();
  switch (row.action) {
    case WordAction::Char:
      Emit(static_cast<char16_t>(row.value));
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
        StartFontEntry(FontNumber(token.parameter));
      } else {
        group.Chars().font = FontNumber(token.parameter);
        fonts_.NoteNumber(group.chars.font);
      }
      break;
    case WordAction::DefaultFont:
      fonts_.SetDefaultFont(FontNumber(token.parameter));
      break;
    case WordAction::Charset:
      if (group.destination == Destination::FontTable && fonts_.EntryOpen()) {
        fonts_.DeclareCharset(token.parameter, token.offset, warnings_);
      }
      break;
    case WordAction::FontCodePage:
      if (group.destination == Destination::FontTable && fonts_.EntryOpen()) {
        fonts_.DeclareCodePage(token.parameter, token.offset, warnings_);
      }
      break;
    case WordAction::DocCodePage:
      OnDocumentCodePage(row.value != 0 ? row.value : token.parameter, token);
      break;
    case WordAction::Plain:
      group.Chars() = CharState{};
      break;
    case WordAction::Bold:
      group.Chars().bold = Toggle(token);
      break;
    case WordAction::Italic:
      group.Chars().italic = Toggle(token);
      break;
    case WordAction::Underline:
      group.Chars().underline = Toggle(token);
      break;
    case WordAction::NoUnderline:
      group.Chars().underline = false;
      break;
    case WordAction::FontSize:
      group.Chars().halfPoints = HalfPoints(token);
      break;
    case WordAction::Colour:
      group.Chars().colour = static_cast<std::int32_t>(
          std::clamp<std::int64_t>(token.parameter, -1, std::numeric_limits<std::int32_t>::max()));
      break;
    case WordAction::ColourTable:
      group.destination = colours_.Start() ? Destination::ColourTable : Destination::Skip;
      break;
    case WordAction::ColourPart:
      break;  // only inside the colour table (OnControlWord)
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
    case WordAction::SideStory:
      if (options_.sideStories) {
        OpenSideStory();
      } else {
        group.destination = Destination::Skip;
      }
      break;
    case WordAction::Transparent:
      break;  // only as the destination of a `{\*` group (OnToken)
    case WordAction::Binary:
      OnBinary(token);
      break;
  }
}

void RtfInterpreter::OpenSideStory() {
  GroupState& group = Group();
  if (group.destination == Destination::FontTable || group.destination == Destination::ColourTable) return;
  group.destination = Destination::Side;
  group.sideStoryRoot = true;
}

void RtfInterpreter::OnBinary(const RtfToken& token) {
  // Outside a skipped destination (a picture, an object) binary data sits
  // where text would be, and nothing in the model can hold it.
  if (!warnings_.Wants(ReadWarningCode::SkippedBinary, 0)) return;
  warnings_.Add(ReadWarningCode::SkippedBinary, 0,
                "binary data (\\bin" + std::to_string(token.parameter) + ") skipped", token.offset);
}

void RtfInterpreter::OnDocumentCodePage(std::int64_t page, const RtfToken& token) {
  // \ansicpg0 names no code page; 1252 is the glyph convention's own.
  const std::optional<int> decoded = CodePageOfCpg(page);
  if (!decoded && page != 0) {
    warnings_.Add(ReadWarningCode::UnknownCodePage, page,
                  "code page " + std::to_string(page) + " (\\ansicpg) is not known; Windows-1252 is used",
                  token.offset);
  }
  fonts_.SetDocumentCodePage(decoded.value_or(kGlyphBytes));
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
  // only that way: they stand for the byte itself, and in the font "Symbol"
  // for what it draws. So they do in text of no known font, and in names.
  if (ch >= 0xF020 && ch <= 0xF0FF) {
    const auto byte = static_cast<std::uint8_t>(ch - 0xF000);
    const FontEntry* font = IsText(Group().destination) ? fonts_.Find(Group().chars.font) : nullptr;
    if (font == nullptr || TakesPrivateUseAsBytes(font->kind, font->declared)) {
      ch = font != nullptr && font->kind == FontKind::Symbol ? SymbolChar(byte) : GlyphChar(byte);
    }
  }
  Story& story = text_.StoryOf(Group().destination);
  const std::size_t before = story.Size();
  Emit(ch);
  text_.MarkUnicode(story, before);
  fallbackLeft_ = Group().unicodeSkip;
}

void RtfInterpreter::OnBreak() {
  // A page or section break ends the paragraph it interrupts; after a
  // paragraph end, or before any text, there is none to end.
  if (!IsText(Group().destination)) return;
  text_.Flush(tokenOffset_);
  const Story& story = text_.StoryOf(Group().destination);
  if (story.Empty() || story.EndsParagraph()) return;
  Emit(u'\r');
  Emit(u'\n');
}

void RtfInterpreter::OnText(std::string_view text) {
  const Destination destination = Group().destination;
  if (destination == Destination::Skip) return;
  std::size_t skipped = 0;
  while (skipped < text.size() && ConsumeFallback()) ++skipped;
  if (skipped > 0) text_.ExtendFallback(static_cast<std::size_t>(text.data() - bytes_.data()) + skipped);
  text.remove_prefix(skipped);
  if (IsText(destination)) {
    text_.AppendStoryBytes(Group(), text, Token());
    return;
  }
  if (destination == Destination::ColourTable) {
    // Entries end with ';'; the table carries no other text.
    for (const char byte : text) {
      if (byte == ';') colours_.Commit(true);
    }
    return;
  }
  for (const char byte : text) {
    // In the font table only a plain ';' ends a name; `\'3b` is part of it.
    if (byte == ';') {
      CommitFontEntry();
    } else {
      text_.AppendEntryByte(byte, Token());
    }
  }
}

void RtfInterpreter::OnBytes(std::string_view bytes) {
  switch (Group().destination) {
    case Destination::Body:
    case Destination::Side:
      text_.AppendStoryBytes(Group(), bytes, Token());
      break;
    case Destination::FontTable:
      for (const char byte : bytes) text_.AppendEntryByte(byte, Token());
      break;
    case Destination::ColourTable:
    case Destination::Skip:
      break;
  }
}

template <bool kSpans>
void RtfInterpreter::ReadGlyphText() {
  const auto stop = text_.ReadGlyphText<kSpans>(Group(), tokens_.Position());
  atGroupStart_ = false;
  afterStar_ = false;
  tokenOffset_ = stop.lastToken;
  tokenEnd_ = stop.lastTokenEnd;
  tokens_.MoveTo(stop.end);
}

void RtfInterpreter::StartFontEntry(std::int32_t number) {
  text_.Flush(tokenOffset_);
  fonts_.StartEntry(number, text_.TextRead());
}

void RtfInterpreter::CommitFontEntry() {
  text_.Flush(tokenOffset_);
  fonts_.CommitEntry(text_.TextRead());
}

}  // namespace

RtfReading ReadRtf(std::string_view bytes, const RtfReadOptions& options) {
  if (bytes.empty()) return RtfReading{Document{}, ParseError{ParseErrorCode::Empty, "the file is empty", 0}, {}};
  // Some writers put a line end between the brace and \rtf.
  const std::size_t keyword = bytes.find_first_not_of(" \t\r\n", 1);
  if (bytes[0] != '{' || keyword == std::string_view::npos || !bytes.substr(keyword).starts_with("\\rtf")) {
    return RtfReading{
        Document{}, ParseError{ParseErrorCode::NotRtf, "not an RTF document (it does not begin with {\\rtf)", 0}, {}};
  }
  try {
    return RtfInterpreter(bytes, keyword, options).Run();
  } catch (const std::length_error&) {
    return RtfReading{Document{},
                      ParseError{ParseErrorCode::TooLarge,
                                 "the document is too large (more than 4294967295 characters)", bytes.size()},
                      {}};
  }
}

}  // namespace maravelundi
