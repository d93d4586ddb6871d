#include "transcode/Transcoder.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <stdexcept>
#include <string>
#include <vector>

#include "richtext/GlyphString.h"
#include "transcode/GlyphTables.h"

namespace maravelundi {
namespace {

// Lower-cases a font name as the platform's string lower-casing does for the
// characters that can end up as a Rachana name: ASCII letters, and the Kelvin
// sign, whose lower case is the ASCII 'k'. Other characters never lower-case
// into ASCII, so they can stay as they are.
std::u16string LowerCaseName(std::string_view utf8Name) {
  std::u16string name = FromUtf8(utf8Name);
  for (char16_t& ch : name) {
    if (ch >= u'A' && ch <= u'Z') ch = static_cast<char16_t>(ch - u'A' + u'a');
    else if (ch == 0x212A) ch = u'k';
  }
  return name;
}

bool NameEquals(std::u16string_view name, std::string_view ascii) {
  if (name.size() != ascii.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] != static_cast<char16_t>(ascii[i])) return false;
  }
  return true;
}

}  // namespace

const FontTable* TableForFont(Generation generation, std::string_view fontName) {
  const std::u16string lowered = LowerCaseName(fontName);
  // The two generations' names are distinct, so with kAuto the first table
  // that names the font is the only one.
  for (const GlyphTableDescriptor& table : kGlyphTables) {
    if (generation != Generation::kAuto && table.generation != generation) continue;
    if (NameEquals(lowered, table.fontNames[0]) || NameEquals(lowered, table.fontNames[1])) return &GlyphTable(table);
  }
  return nullptr;
}

namespace {

// The glyph characters that are their own code, which nearly every
// character of a document is.
bool IsOwnCode(char16_t ch) { return ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF); }

std::size_t ResultLength(const FontTable& table, const char16_t& ch) {
  return IsOwnCode(ch) ? table.ForCode(static_cast<std::uint8_t>(ch)).length : table.Lookup(ch).size();
}

// Writes the table's result for `ch` at `at`, which has room for the longest
// result whatever this one's length, and returns where it ends.
char16_t* WriteResult(const FontTable& table, const char16_t& ch, char16_t* at) {
  if (IsOwnCode(ch)) {
    const FontTable::Packed& packed = table.ForCode(static_cast<std::uint8_t>(ch));
    std::memcpy(at, packed.units.data(), sizeof packed.units);
    return at + packed.length;
  }
  for (const char16_t unit : table.Lookup(ch)) *at++ = unit;
  return at;
}

}  // namespace

Document Transcode(const Document& source, Generation generation, ProgressSink* progress,
                   std::vector<TextIndex>* sourceOf) {
  const std::u16string& text = source.Text();
  const std::size_t total = text.size();
  // Each source format decides once which table serves it and what format
  // its results take: glyphs go into the ML-TT font and keep the rest of the
  // source's format.
  std::vector<const FontTable*> tables(source.FormatCount());
  std::vector<CharFormat> targetFormats(source.FormatCount());
  for (std::size_t f = 0; f < tables.size(); ++f) {
    targetFormats[f] = source.Format(static_cast<FormatId>(f));
    tables[f] = TableForFont(generation, targetFormats[f].fontName);
    if (tables[f] != nullptr) targetFormats[f].fontName = kMlttFontName;
  }
  const auto& sourceRuns = source.Runs();
  // The result's length first, so that it is written in place, once.
  std::size_t length = 0;
  for (std::size_t r = 0; r < sourceRuns.size(); ++r) {
    const FontTable* table = tables[sourceRuns[r].format];
    const std::size_t end = source.RunEnd(r);
    if (table == nullptr) {
      length += end - sourceRuns[r].begin;
      continue;
    }
    for (std::size_t i = sourceRuns[r].begin; i < end; ++i) length += ResultLength(*table, text[i]);
  }
  if (length > kMaxDocumentSize) throw std::length_error("document too large");
  // Room for one result more, which each write may fill before it steps.
  std::u16string out(length + FontTable::kMaxResult, u'\0');
  if (sourceOf != nullptr) sourceOf->assign(length, 0);
  std::vector<FormatRun> runs;
  runs.reserve(sourceRuns.size());
  char16_t* const first = out.data();
  char16_t* at = first;
  for (std::size_t r = 0; r < sourceRuns.size(); ++r) {
    const FormatId format = sourceRuns[r].format;
    runs.push_back({static_cast<TextIndex>(at - first), format});
    const FontTable* table = tables[format];
    const std::size_t end = source.RunEnd(r);
    // A long run goes a stride at a time, with a report after each.
    for (std::size_t begin = sourceRuns[r].begin; begin < end;) {
      const std::size_t stop = std::min(end, (begin / kProgressStride + 1) * kProgressStride);
      if (table == nullptr) {
        char16_t* const from = at;
        at = std::copy(text.begin() + static_cast<std::ptrdiff_t>(begin), text.begin() + static_cast<std::ptrdiff_t>(stop), at);
        if (sourceOf != nullptr) std::iota(sourceOf->begin() + (from - first), sourceOf->begin() + (at - first), static_cast<TextIndex>(begin));
      } else if (sourceOf == nullptr) {
        for (std::size_t i = begin; i < stop; ++i) at = WriteResult(*table, text[i], at);
      } else {
        for (std::size_t i = begin; i < stop; ++i) {
          char16_t* const from = at;
          at = WriteResult(*table, text[i], at);
          std::fill(sourceOf->begin() + (from - first), sourceOf->begin() + (at - first), static_cast<TextIndex>(i));
        }
      }
      if (stop % kProgressStride == 0) ReportProgress(progress, stop, total);
      begin = stop;
    }
  }
  out.resize(length);
  ReportProgress(progress, total, total);
  return Document::FromParts(std::move(out), std::move(runs), targetFormats);
}

Document TranscodeVersion2(const Document& source, ProgressSink* progress) {
  return Transcode(source, Generation::kVersion2, progress);
}

Document TranscodeVersion7(const Document& source, ProgressSink* progress) {
  return Transcode(source, Generation::kVersion7, progress);
}

}  // namespace maravelundi
