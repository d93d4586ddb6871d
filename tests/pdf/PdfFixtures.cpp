#include "pdf/PdfFixtures.h"

#include "office/LibreOfficeRun.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string_view>

namespace maravelundi::test {

namespace fs = std::filesystem;

namespace {

// The free font every stand-in is made from (Debian's fonts-liberation).
const fs::path kSourceFont = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";

// Making a font takes well under a second; the limit only keeps a run
// that never ends from hanging the suite.
constexpr int kHungAfterMs = 150000;

void Write(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void Log(const fs::path& log, std::string_view line) { std::ofstream(log, std::ios::app) << line << '\n'; }

std::string EscapeXml(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

// Debian's python3, which python3-fonttools installs into, before any other
// python3 on PATH (a version manager's may lack fontTools).
std::optional<fs::path> FindPython() {
  if (::access("/usr/bin/python3", X_OK) == 0) return fs::path("/usr/bin/python3");
  const char* path = std::getenv("PATH");
  std::string_view folders = path == nullptr ? "" : path;
  while (!folders.empty()) {
    const std::size_t colon = folders.find(':');
    const fs::path candidate = fs::path(folders.substr(0, colon)) / "python3";
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    folders = colon == std::string_view::npos ? "" : folders.substr(colon + 1);
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::string> PrepareFonts(const fs::path& folder, const std::vector<StandInFont>& fonts) {
  const fs::path log = folder / "fonts.log";
  const auto fail = [&log](std::string_view reason) {
    Log(log, reason);
    return std::vector<std::string>{};
  };
  const fs::path fontFolder = folder / "fonts", cache = folder / "cache", temporary = folder / "tmp";
  for (const fs::path& made : {fontFolder, cache, temporary, folder / "config", folder / "data"}) {
    fs::create_directories(made);
  }
  const std::optional<fs::path> python = FindPython();
  if (!python) return fail("no python3");
  if (!fs::exists(kSourceFont)) return fail("no " + kSourceFont.string());
  const fs::path script = fs::path(MARAVELUNDI_SOURCE_DIR) / "tools" / "pdf" / "make_standin_font.py";
  for (std::size_t index = 0; index < fonts.size(); ++index) {
    // Files are numbered rather than named after the family, which is free
    // text; fontconfig finds a font by its name table, not its file name.
    const fs::path output = fontFolder / ("standin-" + std::to_string(index) + ".ttf");
    // No bytecode is written, so that importing fontTools leaves the
    // system's folders untouched.
    const RunOutcome made = RunWithin(*python,
                                      {python->string(), script.string(), kSourceFont.string(), output.string(),
                                       fonts[index].family, fonts[index].symbol ? "symbol" : "unicode"},
                                      InheritedEnvironment({"PYTHONDONTWRITEBYTECODE=1"}), log, kHungAfterMs);
    if (made != RunOutcome::kSucceeded) return fail("cannot make " + fonts[index].family);
  }
  // The system's fonts are read as a folder rather than through
  // /etc/fonts/fonts.conf, which would also read the user's configuration;
  // the cache goes to the test's folder, which a fresh test starts empty.
  Write(folder / "fonts.conf",
        "<?xml version=\"1.0\"?>\n"
        "<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
        "<fontconfig>\n"
        "  <dir>/usr/share/fonts</dir>\n"
        "  <dir>" + EscapeXml(fontFolder.string()) + "</dir>\n"
        "  <cachedir>" + EscapeXml((cache / "fontconfig").string()) + "</cachedir>\n"
        "</fontconfig>\n");
  // LibreOffice's start-up script needs PATH; everything it may write to
  // (home, temporary files, caches, configuration) lies in the folder.
  const char* path = std::getenv("PATH");
  return {"PATH=" + std::string(path == nullptr ? "/usr/bin:/bin" : path),
          "HOME=" + folder.string(),
          "TMPDIR=" + temporary.string(),
          "XDG_CACHE_HOME=" + cache.string(),
          "XDG_CONFIG_HOME=" + (folder / "config").string(),
          "XDG_DATA_HOME=" + (folder / "data").string(),
          "FONTCONFIG_FILE=" + (folder / "fonts.conf").string()};
}

std::optional<fs::path> ExportPdf(const fs::path& soffice, const fs::path& folder, const std::string& fodt,
                                  const std::string& name, const std::vector<std::string>& environment,
                                  std::string_view filter) {
  const fs::path input = folder / (name + ".fodt"), pdf = folder / (name + ".pdf");
  Write(input, fodt);
  // A PDF left by an earlier export of the same name must not pass for
  // this one's.
  std::error_code ignored;
  fs::remove(pdf, ignored);
  // soffice also ends well when it could not load the input, so the PDF
  // itself is what tells.
  const LibreOffice office(soffice, folder, environment);
  if (office.Convert({input}, filter, folder) && fs::exists(pdf)) return pdf;
  return std::nullopt;
}

std::string FlatOdt(const std::vector<FontedParagraph>& paragraphs) {
  std::string faces, styles, body;
  std::vector<std::string> families;
  for (std::size_t index = 0; index < paragraphs.size(); ++index) {
    const std::string family = EscapeXml(paragraphs[index].family);
    bool declared = false;
    for (const std::string& known : families) declared = declared || known == family;
    if (!declared) {
      families.push_back(family);
      faces += "<style:font-face style:name=\"" + family + "\" svg:font-family=\"" + family + "\"/>";
    }
    // One paragraph style per paragraph keeps the font settings on the
    // paragraph alone, with no spans to split the text in the PDF.
    const std::string style = "P" + std::to_string(index + 1);
    styles += "<style:style style:name=\"" + style + "\" style:family=\"paragraph\"><style:paragraph-properties "
              "fo:margin-bottom=\"0.25cm\"" + std::string(paragraphs[index].newPage ? " fo:break-before=\"page\"" : "") +
              "/><style:text-properties style:font-name=\"" + family + "\"/></style:style>";
    body += "<text:p text:style-name=\"" + style + "\">" + EscapeXml(paragraphs[index].text) + "</text:p>";
  }
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
         "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
         "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
         "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" "
         "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" "
         "office:version=\"1.3\" office:mimetype=\"application/vnd.oasis.opendocument.text\">"
         "<office:font-face-decls>" + faces + "</office:font-face-decls>"
         "<office:automatic-styles>" + styles + "</office:automatic-styles>"
         "<office:body><office:text>" + body + "</office:text></office:body></office:document>\n";
}

}  // namespace maravelundi::test
