#pragma once
// The fonts of a Rich Text document by number, as its font table defines
// them, with the entry being read; and what the bytes of each font's text
// stand for, which follows from its name and declaration and from the
// document's code page. The Rich Text reader's own.

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "richtext/FontEncoding.h"
#include "richtext/GlyphString.h"
#include "richtext/ReadWarningLog.h"
#include "richtext/RtfGroupState.h"

namespace maravelundi::rtfread {

struct FontEntry {
  std::string name;  // UTF-8
  FontKind kind = FontKind::Other;
  FontDeclaration declared;
};

class FontTable {
 public:
  // The entry of a font number; a number missing from the table falls back
  // to the default font, and a document without a table has none.
  const FontEntry* Find(std::int32_t font) const {
    auto entry = fonts_.find(font == kDefaultFont ? defaultFont_ : font);
    if (entry == fonts_.end()) entry = fonts_.find(defaultFont_);
    return entry != fonts_.end() ? &entry->second : nullptr;
  }
  bool Contains(std::int32_t number) const { return fonts_.contains(number); }
  bool Empty() const { return fonts_.empty(); }
  std::int32_t DefaultFont() const { return defaultFont_; }

  // What the bytes of text in `font` stand for: kGlyphBytes, kSymbolBytes or
  // a code page. Rachana text changes font every few characters, so the
  // answer for each of the first 256 font numbers is kept until the table
  // or the document's code page changes.
  int CodePageOf(std::int32_t font) {
    const bool kept = font >= 0 && static_cast<std::size_t>(font) < codePageByFont_.size();
    if (kept && codePageByFont_[font] >= 0) return codePageByFont_[font];
    return LookUpCodePage(font, kept);
  }

  // Whether U+F020..U+F0FF in text of `font` stand for its bytes.
  bool TakesPrivateUseAsBytes(std::int32_t font) const {
    const FontEntry* entry = Find(font);
    return entry != nullptr && maravelundi::TakesPrivateUseAsBytes(entry->kind, entry->declared);
  }

  void SetDefaultFont(std::int32_t number) {
    defaultFont_ = number;
    Forget();
  }
  int DocumentCodePage() const { return documentCodePage_; }
  void SetDocumentCodePage(int codePage) {
    documentCodePage_ = codePage;
    Forget();
  }

  // Every font number the document names, in the table or in its text.
  void NoteNumber(std::int32_t number) { highestNumber_ = std::max(highestNumber_, number); }
  // A number neither the table nor the text uses, given the states text was
  // written in: where a writer may add a font of its own.
  std::int32_t UnusedNumber(const std::vector<CharState>& states) const;

  // The entry being read. Its bytes are those of its name; a ';' or the
  // end of its group commits it (the caller first decodes what it holds).
  bool EntryOpen() const { return entryOpen_; }
  void StartEntry(std::int32_t number, bool textRead) {
    // Tables written without braces around entries run one into the next.
    if (entryOpen_ && !entryName_.empty()) CommitEntry(textRead);
    entryOpen_ = true;
    entryNumber_ = number;
    NoteNumber(number);
    entryDeclared_ = FontDeclaration{};
    entryName_.clear();
  }
  void CommitEntry(bool textRead);
  std::u16string& EntryName() { return entryName_; }
  // The \cpg or \fcharset before a name says its code page (legacy font
  // names are ASCII either way).
  int EntryNameCodePage() const { return BytesOfFontName(entryDeclared_, documentCodePage_); }
  void DeclareCharset(std::int64_t charset, std::size_t offset, ReadWarningLog& warnings);
  void DeclareCodePage(std::int64_t codePage, std::size_t offset, ReadWarningLog& warnings);

  // Changes whenever what a font's bytes stand for may have changed.
  std::uint64_t Version() const { return version_; }

  // Whether a font was defined after text had been read, which may have been
  // read as if in the font then in force.
  bool DefinedAfterText() const { return definedAfterText_; }

 private:
  int LookUpCodePage(std::int32_t font, bool keep) {
    // Text in no known font (no table yet, or none at all) is in the
    // document's code page.
    const FontEntry* entry = Find(font);
    const int codePage =
        entry != nullptr ? BytesOfFont(entry->kind, entry->declared, documentCodePage_) : documentCodePage_;
    if (keep) codePageByFont_[font] = codePage;
    return codePage;
  }
  void Forget() {
    codePageByFont_.fill(-1);
    ++version_;
  }

  std::unordered_map<std::int32_t, FontEntry> fonts_;
  std::int32_t defaultFont_ = 0;        // \deff0 when the header does not say
  int documentCodePage_ = kGlyphBytes;  // \ansicpgN, when it is one decoded
  std::int32_t highestNumber_ = -1;
  std::uint64_t version_ = 0;
  std::array<std::int32_t, 256> codePageByFont_ = [] {
    std::array<std::int32_t, 256> unknown;
    unknown.fill(-1);
    return unknown;
  }();

  bool entryOpen_ = false;
  bool definedAfterText_ = false;
  std::int32_t entryNumber_ = 0;
  FontDeclaration entryDeclared_;
  std::u16string entryName_;
};

inline void FontTable::CommitEntry(bool textRead) {
  if (!entryOpen_) return;
  // The first definition of a number stands; the name is kept exactly as
  // spelled, spaces included, since the font names select glyph tables.
  std::string name = ToUtf8(entryName_);
  const FontKind kind = KindOfFont(name);
  const bool added = fonts_.try_emplace(entryNumber_, FontEntry{std::move(name), kind, entryDeclared_}).second;
  if (added && textRead) definedAfterText_ = true;
  Forget();
  entryOpen_ = false;
  entryName_.clear();
}

inline void FontTable::DeclareCharset(std::int64_t charset, std::size_t offset, ReadWarningLog& warnings) {
  const std::optional<int> page = CodePageOfCharset(charset);
  if (!page) {
    warnings.Add(ReadWarningCode::UnknownCharset, charset,
                 "unknown character set \\fcharset" + std::to_string(charset) +
                     "; its font's text is read in the document's code page",
                 offset);
  }
  entryDeclared_.charset = page.value_or(kDocumentBytes);
  entryDeclared_.symbolCharset = charset == 2;
}

inline void FontTable::DeclareCodePage(std::int64_t codePage, std::size_t offset, ReadWarningLog& warnings) {
  // A page not decoded here leaves the character set's choice.
  if (const std::optional<int> page = CodePageOfCpg(codePage)) {
    entryDeclared_.cpg = *page;
    return;
  }
  warnings.Add(ReadWarningCode::UnknownCodePage, codePage,
               "code page " + std::to_string(codePage) + " (\\cpg) is not known; its font's character set is used",
               offset);
}

inline std::int32_t FontTable::UnusedNumber(const std::vector<CharState>& states) const {
  if (highestNumber_ < std::numeric_limits<std::int32_t>::max()) return highestNumber_ + 1;
  // A document that numbers a font 2147483647, the most a number reads as:
  // the lowest number it leaves free.
  std::vector<std::int32_t> used;
  for (const auto& [number, entry] : fonts_) used.push_back(number);
  for (const CharState& chars : states) used.push_back(chars.font);
  std::sort(used.begin(), used.end());
  std::int32_t free = 0;
  for (const std::int32_t number : used) {
    if (number == free) ++free;
    if (number > free) break;
  }
  return free;
}

}  // namespace maravelundi::rtfread
