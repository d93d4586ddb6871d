#include "richtext/RtfReader.h"

#include <algorithm>
#include <stdexcept>
#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "richtext/CodePage.h"
#include "richtext/FontEncoding.h"
#include "richtext/GlyphString.h"
#include "richtext/ReadWarningLog.h"
#include "richtext/RtfTokenizer.h"
#include "richtext/RtfWords.h"
#include "richtext/SymbolFont.h"

namespace maravelundi {
namespace {

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

// RTF's size when a document names none: 12 points.
constexpr std::uint16_t kDefaultHalfPoints = 24;

// The formatting a group carries for the characters in it, as the markup
// states it: fonts and colours by their table numbers, which only the end of
// the document turns into names and values (TakeDocument). A new attribute of
// CharFormat becomes a field here, set by its control word and resolved
// there. Each distinct state is one format of the document.
struct CharState {
  std::int32_t font = kDefaultFont;
  std::int32_t colour = 0;  // \cfN; 0, an empty entry or one past the table: automatic
  std::uint16_t halfPoints = kDefaultHalfPoints;
  bool bold = false;
  bool italic = false;
  bool underline = false;

  bool operator==(const CharState&) const = default;
};

// Only for the states that open runs: once per run, never per character.
struct CharStateHash {
  std::size_t operator()(const CharState& s) const {
    constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15u;
    const std::uint32_t flags = (s.bold ? 1u : 0u) | (s.italic ? 2u : 0u) | (s.underline ? 4u : 0u);
    std::uint64_t key = static_cast<std::uint32_t>(s.font);
    key = key * kMix ^ static_cast<std::uint32_t>(s.colour);
    key = key * kMix ^ (static_cast<std::uint32_t>(s.halfPoints) << 3 | flags);
    return std::hash<std::uint64_t>{}(key * kMix);
  }
};

std::int32_t ClampedParameter(const RtfToken& token, std::int64_t low, std::int64_t high) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(token.parameter, low, high));
}

// \b, \i, \ul and their like: on without a parameter, off with 0.
bool Toggle(const RtfToken& token) { return !token.hasParameter || token.parameter != 0; }

// A size of nothing (or less) is no size a document can show; it reads as
// the default, as a missing parameter does.
std::uint16_t HalfPoints(const RtfToken& token) {
  if (!token.hasParameter || token.parameter <= 0) return kDefaultHalfPoints;
  return static_cast<std::uint16_t>(std::min<std::int64_t>(token.parameter, 0xFFFF));
}

// Body and Side are text: the body's, and the shown text outside its flow.
enum class Destination : std::uint8_t { Body, Side, FontTable, ColourTable, Skip };

bool IsText(Destination destination) { return destination == Destination::Body || destination == Destination::Side; }

// Everything a `}` restores.
struct GroupState {
  CharState chars;
  std::int32_t unicodeSkip = 1;  // \ucN: fallback characters after each \uN
  Destination destination = Destination::Body;
  // A `\upr` group: its branches are skipped except the one that begins with
  // `\ud`, which reads as the `\upr` group itself would have.
  bool unicodePair = false;
  Destination pairDestination = Destination::Body;
  // The group that opened a side story, whose end ends it as a paragraph.
  bool sideStoryRoot = false;
};

// The text of the body or of the side stories as it is read, with where
// each character came from when sourceSpans is on.
struct StoryText {
  std::u16string text;
  std::vector<FormatRun> runs;
  std::vector<SourceSpan> spans;
  CharState runState;
};

struct FontEntry {
  std::string name;  // UTF-8
  FontKind kind = FontKind::Other;
  FontDeclaration declared;
};

class RtfInterpreter {
 public:
  // `start` is the offset of the \rtf keyword, just inside the document's
  // own group, which is open from the outset.
  RtfInterpreter(std::string_view bytes, std::size_t start, const RtfReadOptions& options)
      : bytes_(bytes), tokens_(bytes, start), options_(options) {
    groups_.emplace_back();
    body_.text.reserve(bytes.size() / 2);
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
  void OnBinary(const RtfToken& token);
  void OnCharset(const RtfToken& token);
  void OnFontCodePage(const RtfToken& token);
  void OnDocumentCodePage(std::int64_t page, const RtfToken& token);
  void OnDestinationWord(WordAction action);
  void EndDocument();
  bool ConsumeFallback();

  void Emit(char16_t ch);
  void RecordSpans(StoryText& story, std::size_t begin, std::size_t end, bool fromText);
  void ExtendFallbackSpan(std::size_t end);
  void AppendBodyBytes(std::string_view bytes);
  void AppendEntryByte(char byte);
  void FlushBytes();
  void OpenRun(StoryText& story, const CharState& chars);
  void OpenSideStory();
  void EndSideStory();
  int CodePageOf(std::int32_t font);

  void StartFontEntry(std::int32_t number);
  void CommitFontEntry();
  const FontEntry* FindFont(std::int32_t font) const;
  void StartColourTable();
  void SetColourPart(std::uint16_t part, const RtfToken& token);
  void CommitColourEntry(bool evenIfEmpty);
  std::optional<Rgb> ColourOf(std::int32_t index) const;

  void WarnUnresolvedFonts();
  std::int32_t UnusedFontNumber() const;
  void ReadPrivateUseAsBytesOfLateFonts();
  void WarnAboutDecoding(const DecodeReport& report, int codePage);
  Document TakeDocument(StoryText& story, const std::vector<CharFormat>& formats);
  std::vector<CharFormat> ResolvedFormats() const;
  RtfReading Finish(std::optional<ParseError> error);
  RtfReading Fail(ParseErrorCode code, std::string message, std::size_t offset);

  GroupState& Group() { return groups_.back(); }

  std::string_view bytes_;
  RtfTokenizer tokens_;
  std::vector<GroupState> groups_;  // explicit, so that nesting depth costs heap, not stack
  bool atGroupStart_ = false;       // `\*` marks a destination only as a group's first token
  bool afterStar_ = false;          // the token before this one was a group's `\*`
  bool ended_ = false;              // the document's outermost group has closed
  RtfReadOptions options_;
  std::size_t tokenOffset_ = 0;     // where the token being read begins
  std::size_t tokenEnd_ = 0;        // and where it ends
  // The span of the last \uN, in the story it went to, grows over the
  // fallback it drops.
  StoryText* fallbackStory_ = nullptr;
  std::size_t fallbackSpan_ = std::numeric_limits<std::size_t>::max();
  std::optional<std::size_t> fontTableEnd_;
  std::int32_t highestFontNumber_ = -1;
  std::int64_t fallbackLeft_ = 0;   // characters of a \uN fallback still to drop
  ReadWarningLog warnings_;

  // The body and the side stories: text and runs of character states. Font
  // names and colours are looked up only at the end, so that a font or
  // colour table after the text still applies; runs index `runStates_`, one
  // slot per state used, shared by both stories.
  StoryText body_, side_;
  StoryText& Story() { return Group().destination == Destination::Side ? side_ : body_; }
  std::vector<CharState> runStates_;
  std::vector<std::size_t> runStateOffsets_;  // where each state first opened a run
  std::unordered_map<CharState, FormatId, CharStateHash> slotByState_;
  // The slots of recent states by font number: Rachana text switches back
  // and forth between a few fonts every few characters.
  struct RecentSlot {
    CharState chars;
    FormatId slot = kNoFormat;
  };
  std::array<RecentSlot, 64> recentSlots_{};

  // Bytes of a font with a code page, held until something else comes, so
  // that the two bytes of a double-byte character decode together. They
  // belong to a story in state `pendingState_`, or to the font entry.
  std::string pendingBytes_;
  StoryText* pendingStory_ = nullptr;
  std::size_t pendingOffset_ = 0;  // of the token the first of them came in
  int pendingCodePage_ = 0;
  CharState pendingState_;
  bool pendingInEntry_ = false;
  bool pendingTakesPrivateUseAsBytes_ = false;
  CodePageDecoder decoder_;

  std::unordered_map<std::int32_t, FontEntry> fonts_;
  std::int32_t defaultFont_ = 0;            // \deff0 when the header does not say
  int documentCodePage_ = kGlyphBytes;      // \ansicpgN, when it is one decoded
  // Code pages of font numbers 0-255 as found, -1 where not yet looked up;
  // forgotten whenever the font table or the document's code page changes.
  std::array<std::int32_t, 256> codePageByFont_ = MakeForgotten();
  static std::array<std::int32_t, 256> MakeForgotten() {
    std::array<std::int32_t, 256> forgotten;
    forgotten.fill(-1);
    return forgotten;
  }
  void ForgetCodePages();

  bool entryOpen_ = false;
  bool fontDefinedAfterText_ = false;  // text may have been read before its font was known
  std::int32_t entryNumber_ = 0;
  FontDeclaration entryDeclared_;
  std::u16string entryName_;

  // The first colour table stands, as the first definition of a font does.
  std::vector<std::optional<Rgb>> colours_;
  bool colourTableSeen_ = false;
  std::optional<Rgb> colourEntry_;  // set once the entry names a component
};

RtfReading RtfInterpreter::Run() {
  while (!ended_) {
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

// U+F020..U+F0FF in a symbol or legacy font, or in a font's name, stand for
// the font's bytes: the byte's character, or in the font "Symbol" what it
// draws. Whatever way they came, \uN or a code page's user-defined area,
// they read the same, since a writer has only \uN to carry them.
void ReadPrivateUseAsBytes(std::u16string& text, std::size_t begin, std::size_t end, bool symbolFont) {
  for (std::size_t i = begin; i < end; ++i) {
    const char16_t ch = text[i];
    if (ch < 0xF020 || ch > 0xF0FF) continue;
    const auto byte = static_cast<std::uint8_t>(ch - 0xF000);
    text[i] = symbolFont ? SymbolChar(byte) : GlyphChar(byte);
  }
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
        const WordRow* row = FindWord(token.text);
        if (row != nullptr && row->action == WordAction::Transparent) {
          OnDestinationWord(row->action);
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
  if (Group().destination == Destination::ColourTable) CommitColourEntry(false);
  if (Group().sideStoryRoot) EndSideStory();
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
  ExtendFallbackSpan(tokenEnd_);
  return true;
}

void RtfInterpreter::OnControlWord(const RtfToken& token) {
  GroupState& group = Group();
  const WordRow* row = FindWord(token.text);
  if (row == nullptr) return;
  // The text of a shape sits inside its skipped instructions.
  const bool opensSideStory = row->action == WordAction::SideStory && options_.sideStories;
  if (group.destination == Destination::Skip && row->action != WordAction::UnicodeBranch && !opensSideStory) return;
  if (group.destination == Destination::ColourTable) {
    if (row->action == WordAction::ColourPart) SetColourPart(row->value, token);
    return;
  }
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
        highestFontNumber_ = std::max(highestFontNumber_, group.chars.font);
      }
      break;
    case WordAction::DefaultFont:
      defaultFont_ = FontNumber(token);
      ForgetCodePages();
      break;
    case WordAction::Charset:
      if (group.destination == Destination::FontTable && entryOpen_) OnCharset(token);
      break;
    case WordAction::FontCodePage:
      if (group.destination == Destination::FontTable && entryOpen_) OnFontCodePage(token);
      break;
    case WordAction::DocCodePage:
      OnDocumentCodePage(row->value != 0 ? row->value : token.parameter, token);
      break;
    case WordAction::Plain:
      group.chars = CharState{};
      break;
    case WordAction::Bold:
      group.chars.bold = Toggle(token);
      break;
    case WordAction::Italic:
      group.chars.italic = Toggle(token);
      break;
    case WordAction::Underline:
      group.chars.underline = Toggle(token);
      break;
    case WordAction::NoUnderline:
      group.chars.underline = false;
      break;
    case WordAction::FontSize:
      group.chars.halfPoints = HalfPoints(token);
      break;
    case WordAction::Colour:
      group.chars.colour = ClampedParameter(token, -1, std::numeric_limits<std::int32_t>::max());
      break;
    case WordAction::ColourTable:
      StartColourTable();
      break;
    case WordAction::ColourPart:
      break;  // only inside the colour table, above
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
      if (opensSideStory) {
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

void RtfInterpreter::OnDestinationWord(WordAction action) {
  if (action != WordAction::Transparent || groups_.size() < 2) return;
  Group().destination = groups_[groups_.size() - 2].destination;
}

void RtfInterpreter::OpenSideStory() {
  GroupState& group = Group();
  if (group.destination == Destination::FontTable || group.destination == Destination::ColourTable) return;
  group.destination = Destination::Side;
  group.sideStoryRoot = true;
}

// Each side story ends as a paragraph, so that the text of one never runs
// into the next; the end is no markup's, and stands at the closing brace.
void RtfInterpreter::EndSideStory() {
  FlushBytes();
  if (Group().destination != Destination::Side || side_.text.empty() || side_.text.ends_with(u"\r\n")) return;
  Emit(u'\r');
  Emit(u'\n');
  if (!options_.sourceSpans) return;
  for (std::size_t i = side_.spans.size() - 2; i < side_.spans.size(); ++i) {
    side_.spans[i] = SourceSpan{static_cast<std::uint32_t>(tokenOffset_), static_cast<std::uint32_t>(tokenOffset_), 0};
  }
}

void RtfInterpreter::OnBinary(const RtfToken& token) {
  // Outside a skipped destination (a picture, an object) binary data sits
  // where text would be, and nothing in the model can hold it.
  if (!warnings_.Wants(ReadWarningCode::SkippedBinary, 0)) return;
  warnings_.Add(ReadWarningCode::SkippedBinary, 0,
                "binary data (\\bin" + std::to_string(token.parameter) + ") skipped", token.offset);
}

void RtfInterpreter::OnCharset(const RtfToken& token) {
  const std::optional<int> page = CodePageOfCharset(token.parameter);
  if (!page) {
    warnings_.Add(ReadWarningCode::UnknownCharset, token.parameter,
                  "unknown character set \\fcharset" + std::to_string(token.parameter) +
                      "; its font's text is read in the document's code page",
                  token.offset);
  }
  entryDeclared_.charset = page.value_or(kDocumentBytes);
  entryDeclared_.symbolCharset = token.parameter == 2;
}

void RtfInterpreter::OnFontCodePage(const RtfToken& token) {
  // A page not decoded here leaves the character set's choice.
  if (const std::optional<int> page = CodePageOfCpg(token.parameter)) {
    entryDeclared_.cpg = *page;
    return;
  }
  warnings_.Add(ReadWarningCode::UnknownCodePage, token.parameter,
                "code page " + std::to_string(token.parameter) +
                    " (\\cpg) is not known; its font's character set is used",
                token.offset);
}

void RtfInterpreter::OnDocumentCodePage(std::int64_t page, const RtfToken& token) {
  // \ansicpg0 names no code page; 1252 is the glyph convention's own.
  const std::optional<int> decoded = CodePageOfCpg(page);
  if (!decoded && page != 0) {
    warnings_.Add(ReadWarningCode::UnknownCodePage, page,
                  "code page " + std::to_string(page) + " (\\ansicpg) is not known; Windows-1252 is used",
                  token.offset);
  }
  documentCodePage_ = decoded.value_or(kGlyphBytes);
  ForgetCodePages();
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
    const FontEntry* font = IsText(Group().destination) ? FindFont(Group().chars.font) : nullptr;
    if (font == nullptr || TakesPrivateUseAsBytes(font->kind, font->declared)) {
      ch = font != nullptr && font->kind == FontKind::Symbol ? SymbolChar(byte) : GlyphChar(byte);
    }
  }
  StoryText& story = Story();
  const std::size_t before = story.text.size();
  Emit(ch);
  if (options_.sourceSpans && story.text.size() > before) {
    story.spans.back().fromText = 1;
    fallbackStory_ = &story;
    fallbackSpan_ = story.spans.size() - 1;
  }
  fallbackLeft_ = Group().unicodeSkip;
}

void RtfInterpreter::OnBreak() {
  // A page or section break ends the paragraph it interrupts; after a
  // paragraph end, or before any text, there is none to end.
  if (!IsText(Group().destination)) return;
  FlushBytes();
  const std::u16string& text = Story().text;
  if (text.empty() || text.ends_with(u"\r\n")) return;
  Emit(u'\r');
  Emit(u'\n');
}

void RtfInterpreter::OnText(std::string_view text) {
  const Destination destination = Group().destination;
  if (destination == Destination::Skip) return;
  std::size_t skipped = 0;
  while (skipped < text.size() && ConsumeFallback()) ++skipped;
  if (skipped > 0) ExtendFallbackSpan(static_cast<std::size_t>(text.data() - bytes_.data()) + skipped);
  text.remove_prefix(skipped);
  if (IsText(destination)) {
    AppendBodyBytes(text);
    return;
  }
  if (destination == Destination::ColourTable) {
    // Entries end with ';'; the table carries no other text.
    for (const char byte : text) {
      if (byte == ';') CommitColourEntry(true);
    }
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
    case Destination::Side:
      AppendBodyBytes(bytes);
      break;
    case Destination::FontTable:
      for (const char byte : bytes) AppendEntryByte(byte);
      break;
    case Destination::ColourTable:
    case Destination::Skip:
      break;
  }
}

void RtfInterpreter::Emit(char16_t ch) {
  switch (Group().destination) {
    case Destination::Body:
    case Destination::Side: {
      FlushBytes();
      StoryText& story = Story();
      OpenRun(story, Group().chars);
      story.text.push_back(ch);
      RecordSpans(story, tokenOffset_, tokenEnd_, false);
      break;
    }
    case Destination::FontTable:
      FlushBytes();
      if (entryOpen_) entryName_.push_back(ch);
      break;
    case Destination::ColourTable:
    case Destination::Skip:
      break;
  }
}

// Gives the characters added to the text since the last call the span
// [begin, end).
void RtfInterpreter::RecordSpans(StoryText& story, std::size_t begin, std::size_t end, bool fromText) {
  if (!options_.sourceSpans) return;
  fallbackSpan_ = std::numeric_limits<std::size_t>::max();
  for (std::size_t i = story.spans.size(); i < story.text.size(); ++i) {
    story.spans.push_back(SourceSpan{static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end),
                                static_cast<std::uint32_t>(fromText ? 1 : 0)});
  }
}

void RtfInterpreter::ExtendFallbackSpan(std::size_t end) {
  if (fallbackStory_ != nullptr && fallbackSpan_ < fallbackStory_->spans.size()) {
    fallbackStory_->spans[fallbackSpan_].end = static_cast<std::uint32_t>(end);
  }
}

void RtfInterpreter::AppendBodyBytes(std::string_view bytes) {
  if (bytes.empty()) return;
  const CharState& chars = Group().chars;
  StoryText& story = Story();
  const int codePage = CodePageOf(chars.font);
  if (codePage == kGlyphBytes || codePage == kSymbolBytes) {
    FlushBytes();
    OpenRun(story, chars);
    // Legacy-font text is most of a Rachana document: the characters are
    // written in place, without a capacity check each.
    const std::size_t at = story.text.size();
    story.text.resize(at + bytes.size());
    char16_t* out = story.text.data() + at;
    if (codePage == kGlyphBytes) {
      for (const char byte : bytes) *out++ = GlyphChar(static_cast<std::uint8_t>(byte));
    } else {
      for (const char byte : bytes) *out++ = SymbolChar(static_cast<std::uint8_t>(byte));
    }
    if (options_.sourceSpans) {
      // Plain text is a view of the markup, a byte at a time; a \'hh byte
      // is a copy, and its span the whole escape.
      const bool inMarkup = bytes.data() >= bytes_.data() && bytes.data() < bytes_.data() + bytes_.size();
      if (inMarkup) {
        const auto at = static_cast<std::uint32_t>(bytes.data() - bytes_.data());
        for (std::uint32_t i = 0; i < bytes.size(); ++i) story.spans.push_back(SourceSpan{at + i, at + i + 1, 1});
        fallbackSpan_ = std::numeric_limits<std::size_t>::max();
      } else {
        RecordSpans(story, tokenOffset_, tokenEnd_, true);
      }
    }
    return;
  }
  // A change of any attribute, not only of font, ends a double-byte pair:
  // its two halves would otherwise belong to different runs.
  if (pendingInEntry_ || pendingState_ != chars || pendingCodePage_ != codePage || pendingStory_ != &story) FlushBytes();
  if (pendingBytes_.empty()) {
    pendingOffset_ = tokenOffset_;
    pendingStory_ = &story;
    // A font declared a symbol font (\fcharset2) but given a code page.
    const FontEntry* font = FindFont(chars.font);
    pendingTakesPrivateUseAsBytes_ = font != nullptr && TakesPrivateUseAsBytes(font->kind, font->declared);
  }
  pendingInEntry_ = false;
  pendingState_ = chars;
  pendingCodePage_ = codePage;
  pendingBytes_.append(bytes);
}

void RtfInterpreter::AppendEntryByte(char byte) {
  if (!entryOpen_) return;
  // The \cpg or \fcharset before a name says its code page (legacy font
  // names are ASCII either way).
  const int codePage = BytesOfFontName(entryDeclared_, documentCodePage_);
  if (codePage == kGlyphBytes) {
    FlushBytes();
    entryName_.push_back(GlyphChar(static_cast<std::uint8_t>(byte)));
    return;
  }
  if (!pendingInEntry_ || pendingCodePage_ != codePage) FlushBytes();
  if (pendingBytes_.empty()) pendingOffset_ = tokenOffset_;
  pendingInEntry_ = true;
  pendingCodePage_ = codePage;
  pendingBytes_.push_back(byte);
}

void RtfInterpreter::FlushBytes() {
  if (pendingBytes_.empty()) return;
  DecodeReport report;
  if (pendingInEntry_) {
    const std::size_t begin = entryName_.size();
    report = decoder_.Append(pendingCodePage_, pendingBytes_, entryName_);
    ReadPrivateUseAsBytes(entryName_, begin, entryName_.size(), false);
  } else {
    StoryText& story = *pendingStory_;
    OpenRun(story, pendingState_);
    const std::size_t begin = story.text.size();
    report = decoder_.Append(pendingCodePage_, pendingBytes_, story.text);
    if (pendingTakesPrivateUseAsBytes_) ReadPrivateUseAsBytes(story.text, begin, story.text.size(), false);
    RecordSpans(story, pendingOffset_, tokenOffset_, false);
  }
  pendingBytes_.clear();
  WarnAboutDecoding(report, pendingCodePage_);
}

void RtfInterpreter::WarnAboutDecoding(const DecodeReport& report, int codePage) {
  if (report.noConverter) {
    warnings_.Add(ReadWarningCode::UnknownCodePage, codePage,
                  "the system cannot convert code page " + std::to_string(codePage) +
                      "; its bytes are kept as Windows-1252",
                  pendingOffset_);
  }
  if (report.undecodable > 0 && warnings_.Wants(ReadWarningCode::UndecodableBytes, codePage)) {
    warnings_.Add(ReadWarningCode::UndecodableBytes, codePage,
                  "bytes code page " + std::to_string(codePage) + " has no character for became U+FFFD",
                  pendingOffset_);
  }
}

void RtfInterpreter::OpenRun(StoryText& story, const CharState& chars) {
  // The common case, text going on in the state it began in, costs one
  // comparison; the table is consulted only when the state changes.
  if (!story.runs.empty() && story.runState == chars) return;
  RecentSlot& recent = recentSlots_[static_cast<std::uint32_t>(chars.font) % recentSlots_.size()];
  if (recent.slot == kNoFormat || !(recent.chars == chars)) {
    auto [slot, added] = slotByState_.try_emplace(chars, static_cast<FormatId>(runStates_.size()));
    if (added) {
      runStates_.push_back(chars);
      runStateOffsets_.push_back(tokenOffset_);
    }
    recent = {chars, slot->second};
  }
  if (story.text.size() > kMaxDocumentSize) throw std::length_error("document too large");
  story.runs.push_back({static_cast<TextIndex>(story.text.size()), recent.slot});
  story.runState = chars;
}

const FontEntry* RtfInterpreter::FindFont(std::int32_t font) const {
  // A number missing from the font table falls back to the default font.
  auto entry = fonts_.find(font == kDefaultFont ? defaultFont_ : font);
  if (entry == fonts_.end()) entry = fonts_.find(defaultFont_);
  return entry != fonts_.end() ? &entry->second : nullptr;
}

int RtfInterpreter::CodePageOf(std::int32_t font) {
  // Rachana text changes font every few characters, so each font number's
  // code page is remembered rather than looked up in the table each time.
  const bool cached = font >= 0 && static_cast<std::size_t>(font) < codePageByFont_.size();
  if (cached && codePageByFont_[font] >= 0) return codePageByFont_[font];
  // Text in no known font (no table yet, or none at all) is in the
  // document's code page.
  const FontEntry* entry = FindFont(font);
  const int codePage =
      entry != nullptr ? BytesOfFont(entry->kind, entry->declared, documentCodePage_) : documentCodePage_;
  if (cached) codePageByFont_[font] = codePage;
  return codePage;
}

void RtfInterpreter::ForgetCodePages() { codePageByFont_.fill(-1); }

void RtfInterpreter::StartFontEntry(std::int32_t number) {
  FlushBytes();
  // Tables written without braces around entries run one into the next.
  if (entryOpen_ && !entryName_.empty()) CommitFontEntry();
  entryOpen_ = true;
  entryNumber_ = number;
  highestFontNumber_ = std::max(highestFontNumber_, number);
  entryDeclared_ = FontDeclaration{};
  entryName_.clear();
}

void RtfInterpreter::CommitFontEntry() {
  FlushBytes();
  if (!entryOpen_) return;
  // The first definition of a number stands; the name is kept exactly as
  // spelled, spaces included, since the font names select glyph tables.
  std::string name = ToUtf8(entryName_);
  const FontKind kind = KindOfFont(name);
  const bool added = fonts_.try_emplace(entryNumber_, FontEntry{std::move(name), kind, entryDeclared_}).second;
  if (added && !(body_.text.empty() && side_.text.empty())) fontDefinedAfterText_ = true;
  ForgetCodePages();
  entryOpen_ = false;
  entryName_.clear();
}

void RtfInterpreter::StartColourTable() {
  if (colourTableSeen_) {
    Group().destination = Destination::Skip;
    return;
  }
  colourTableSeen_ = true;
  colourEntry_.reset();
  Group().destination = Destination::ColourTable;
}

void RtfInterpreter::SetColourPart(std::uint16_t part, const RtfToken& token) {
  if (!colourEntry_) colourEntry_ = Rgb{};
  const auto value = static_cast<std::uint8_t>(std::clamp<std::int64_t>(token.parameter, 0, 255));
  if (part == 0) colourEntry_->red = value;
  if (part == 1) colourEntry_->green = value;
  if (part == 2) colourEntry_->blue = value;
}

void RtfInterpreter::CommitColourEntry(bool evenIfEmpty) {
  // An entry without components, the usual first one, is the automatic
  // colour; one cut off by the table's end counts only if it named any.
  if (!evenIfEmpty && !colourEntry_) return;
  colours_.push_back(colourEntry_);
  colourEntry_.reset();
}

std::optional<Rgb> RtfInterpreter::ColourOf(std::int32_t index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= colours_.size()) return std::nullopt;
  return colours_[static_cast<std::size_t>(index)];
}

void RtfInterpreter::ReadPrivateUseAsBytesOfLateFonts() {
  // Text read before a table defined its font was read as if in the font
  // then in force, but is named by the later definition. If that names a
  // symbol or legacy font, U+F020..U+F0FF there stand for the font's bytes,
  // as they would have had the font been known: no writer could carry
  // them otherwise. Only a document with such a late definition pays for
  // this second look at its text.
  if (!fontDefinedAfterText_) return;
  for (StoryText* story : {&body_, &side_}) {
    const auto& runs = story->runs;
    for (std::size_t r = 0; r < runs.size(); ++r) {
      const FontEntry* font = FindFont(runStates_[runs[r].format].font);
      if (font == nullptr || !TakesPrivateUseAsBytes(font->kind, font->declared)) continue;
      const std::size_t end = r + 1 < runs.size() ? runs[r + 1].begin : story->text.size();
      ReadPrivateUseAsBytes(story->text, runs[r].begin, end, font->kind == FontKind::Symbol);
    }
  }
}

std::vector<CharFormat> RtfInterpreter::ResolvedFormats() const {
  // A document without a font table gets the empty font name.
  std::vector<CharFormat> formats;
  formats.reserve(runStates_.size());
  for (const CharState& chars : runStates_) {
    const FontEntry* entry = FindFont(chars.font);
    CharFormat format;
    if (entry != nullptr) format.fontName = entry->name;
    format.bold = chars.bold;
    format.italic = chars.italic;
    format.underline = chars.underline;
    format.halfPoints = chars.halfPoints;
    format.colour = ColourOf(chars.colour);
    formats.push_back(std::move(format));
  }
  return formats;
}

Document RtfInterpreter::TakeDocument(StoryText& story, const std::vector<CharFormat>& formats) {
  return Document::FromParts(std::move(story.text), std::move(story.runs), formats);
}

std::int32_t RtfInterpreter::UnusedFontNumber() const {
  if (highestFontNumber_ < std::numeric_limits<std::int32_t>::max()) return highestFontNumber_ + 1;
  // A document that numbers a font 2147483647, the most a number reads as:
  // the lowest number it leaves free.
  std::vector<std::int32_t> used;
  for (const auto& [number, entry] : fonts_) used.push_back(number);
  for (const CharState& chars : runStates_) used.push_back(chars.font);
  std::sort(used.begin(), used.end());
  std::int32_t free = 0;
  for (const std::int32_t number : used) {
    if (number == free) ++free;
    if (number > free) break;
  }
  return free;
}

void RtfInterpreter::WarnUnresolvedFonts() {
  // A font number the table does not list reads in the default font. Text
  // that never named a font is in the default font by right; it is only
  // unresolved when a table exists and lacks the \deff font.
  for (std::size_t i = 0; i < runStates_.size(); ++i) {
    const std::int32_t font = runStates_[i].font;
    const bool byDefault = font == kDefaultFont;
    const std::int32_t number = byDefault ? defaultFont_ : font;
    if ((byDefault && fonts_.empty()) || fonts_.contains(number)) continue;
    if (!warnings_.Wants(ReadWarningCode::UnresolvedFont, number)) continue;
    warnings_.Add(ReadWarningCode::UnresolvedFont, number,
                  "font " + std::to_string(number) + " is not in the font table; the default font stands in",
                  runStateOffsets_[i]);
  }
}

RtfReading RtfInterpreter::Finish(std::optional<ParseError> error) {
  FlushBytes();
  ReadPrivateUseAsBytesOfLateFonts();
  const std::vector<CharFormat> formats = ResolvedFormats();
  Document document = TakeDocument(body_, formats);
  Document side = TakeDocument(side_, formats);
  WarnUnresolvedFonts();
  RtfReading reading{std::move(document), std::move(error), warnings_.Take()};
  reading.side = std::move(side);
  if (options_.sourceSpans) {
    // A failed reading may stop mid-way.
    body_.spans.resize(reading.document.Size());
    reading.sourceSpans = std::move(body_.spans);
    side_.spans.resize(reading.side.Size());
    reading.sideSpans = std::move(side_.spans);
  }
  reading.fontTableEnd = fontTableEnd_;
  reading.unusedFontNumber = UnusedFontNumber();
  return reading;
}

RtfReading RtfInterpreter::Fail(ParseErrorCode code, std::string message, std::size_t offset) {
  return Finish(ParseError{code, std::move(message), offset});
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
