#include "transcode/Transcoder.h"

#include <stdexcept>
#include <vector>
#include <string>

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
  std::u16string out;
  out.reserve(total + total / 2);
  if (sourceOf != nullptr) sourceOf->clear();
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
      if (sourceOf != nullptr) sourceOf->resize(out.size(), static_cast<TextIndex>(i));
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
