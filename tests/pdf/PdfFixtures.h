#pragma once
// PDFs whose text layer is set in fonts bearing legacy names ("ML-TTKarthika",
// "rl1"), made in the tests without any legacy font: a free font is copied
// under the legacy name (tools/pdf/make_standin_font.py), a private
// fontconfig set-up makes it visible to LibreOffice alone, and LibreOffice
// exports a flat ODT set in it to PDF. Everything is written inside the
// test's own folder; programs get their arguments as a list, no shell.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace maravelundi::test {

// A font to stand in for a legacy one. A symbol stand-in has only a Windows
// Symbol cmap (codes U+F020..U+F0FF) and is flagged as a symbol font, as
// many legacy fonts are; the other keeps its Unicode cmap and so puts its
// glyphs at the Windows-1252 characters, as the rest do.
struct StandInFont {
  std::string family;
  bool symbol = false;
};

// Makes the fonts into folder/fonts and writes folder/fonts.conf, which
// reads the system's fonts and folder/fonts but none of the user's or the
// system's font configuration, and keeps its cache in folder/cache. Returns
// the environment ("NAME=value" entries) to run LibreOffice with: HOME,
// TMPDIR and the XDG folders inside `folder` too. Empty when the fonts could
// not be made (no python3 with fontTools, no source font): the reasons are
// then in folder/fonts.log.
std::vector<std::string> PrepareFonts(const std::filesystem::path& folder, const std::vector<StandInFont>& fonts);

// Writes `fodt` (flat ODT XML text) to folder/name.fodt and exports it to
// folder/name.pdf with `soffice` --convert-to pdf, run with `environment`
// (from PrepareFonts) and a private profile; `filter` may add the PDF
// export's options. The PDF's path, or nothing when the export failed
// (soffice's output is in folder/soffice.log).
std::optional<std::filesystem::path> ExportPdf(const std::filesystem::path& soffice,
                                               const std::filesystem::path& folder, const std::string& fodt,
                                               const std::string& name, const std::vector<std::string>& environment,
                                               std::string_view filter = "pdf");

// One paragraph of a flat ODT: its text (UTF-8, escaped here) set in a font
// family. Text for a symbol font is written as LibreOffice keeps it, in the
// private-use characters U+F020..U+F0FF.
struct FontedParagraph {
  std::string family;
  std::string text;
  bool newPage = false;  // begins a page
};

// A flat ODT holding the paragraphs, each in its own font and followed by
// a gap of half a line, for ExportPdf.
std::string FlatOdt(const std::vector<FontedParagraph>& paragraphs);

}  // namespace maravelundi::test
