#include "transcode/Transcoder.h"

#include <array>
#include <stdexcept>
#include <vector>
#include <string>

#include "richtext/GlyphString.h"
#include "transcode/GlyphTables.h"

namespace maravelundi {
namespace {

struct FontRow {
  std::string_view names[2];
  const FontTable& (*table)();
};

constexpr std::array<FontRow, 6> kVersion2Fonts = {{
    {{"ra1", "rkr1"}, MapV2Font1Table}, {{"ra2", "rkr2"}, MapV2Font2Table},
    {{"ra3", "rkr3"}, MapV2Font3Table}, {{"ra4", "rkr4"}, MapV2Font4Table},
    {{"ra5", "rkr5"}, MapV2Font5Table}, {{"ra6", "rkr6"}, MapV2Font6Table},
}};

constexpr std::array<FontRow, 6> kVersion7Fonts = {{
    {{"rc1", "rl1"}, MapV7Font1Table}, {{"rc2", "rl2"}, MapV7Font2Table},
    {{"rc3", "rl3"}, MapV7Font3Table}, {{"rc4", "rl4"}, MapV7Font4Table},
    {{"rc5", "rl5"}, MapV7Font5Table}, {{"rc6", "rl6"}, MapV7Font6Table},
}};

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
  const auto find = [&](const std::array<FontRow, 6>& rows) -> const FontTable* {
    for (const FontRow& row : rows) {
      if (NameEquals(lowered, row.names[0]) || NameEquals(lowered, row.names[1])) return &row.table();
    }
    return nullptr;
  };
  switch (generation) {
    case Generation::kVersion2: return find(kVersion2Fonts);
    case Generation::kVersion7: return find(kVersion7Fonts);
    case Generation::kAuto: break;
  }
  // The two generations' names are distinct, so the order does not matter.
  if (const FontTable* table = find(kVersion2Fonts)) return table;
  return find(kVersion7Fonts);
}

Document Transcode(const Document& source, Generation generation, ProgressSink* progress) {
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
  std::u16string out;
  out.reserve(total + total / 2);
  std::vector<FormatRun> runs;
  runs.reserve(source.Runs().size());
  std::size_t nextReport = kProgressStride;
  for (std::size_t r = 0; r < source.Runs().size(); ++r) {
    const FormatId format = source.Runs()[r].format;
    if (out.size() > kMaxDocumentSize) throw std::length_error("document too large");
    runs.push_back({static_cast<TextIndex>(out.size()), format});
    const FontTable* table = tables[format];
    const std::size_t end = source.RunEnd(r);
    for (std::size_t i = source.Runs()[r].begin; i < end; ++i) {
      if (i >= nextReport) {
        ReportProgress(progress, i, total);
        nextReport += kProgressStride;
      }
      if (table != nullptr) out.append(table->Lookup(text[i]));
      else out.push_back(text[i]);
    }
  }
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
