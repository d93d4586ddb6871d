#include "pdf/PdfFixtures.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string_view>

extern char** environ;

namespace maravelundi::test {

namespace fs = std::filesystem;

namespace {

// The free font every stand-in is made from (Debian's fonts-liberation).
const fs::path kSourceFont = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";

// How long one soffice run may take before it is taken for hung: headless
// LibreOffice now and then never returns from a conversion, most often on a
// profile's first start. The limit only keeps such a run from hanging the
// suite; a hung run is tried once more, in a fresh profile (the killed one
// leaves its lock behind). Making a font takes well under a second; its
// limit is there for the same reason.
constexpr int kHungAfterMs = 150000;
constexpr int kAttempts = 2;

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

// Waits for the child to end: its status, or nothing once the limit has
// passed without it ending (the child is then killed with its group).
std::optional<int> WaitWithin(pid_t child, int limitMs) {
  const int process = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
  if (process >= 0) {
    pollfd ended{process, POLLIN, 0};
    int ready = 0;
    while ((ready = ::poll(&ended, 1, limitMs)) < 0 && errno == EINTR) {
    }
    ::close(process);
    if (ready == 0) {
      ::kill(-child, SIGKILL);
      ::waitpid(child, nullptr, 0);
      return std::nullopt;
    }
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return -1;
  return status;
}

enum class Outcome { kSucceeded, kFailed, kHung };

// Runs `program` with `arguments` (argv[0] included) and `environment`,
// reading nothing, its output appended to `log`, in a process group of its
// own so that a hung run goes whole.
Outcome Run(const fs::path& program, std::vector<std::string> arguments, std::vector<std::string> environment,
            const fs::path& log) {
  std::vector<char*> argv, envp;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, &attributes, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (spawned != 0) return Outcome::kFailed;
  const std::optional<int> status = WaitWithin(child, kHungAfterMs);
  if (!status) return Outcome::kHung;
  return WIFEXITED(*status) && WEXITSTATUS(*status) == 0 ? Outcome::kSucceeded : Outcome::kFailed;
}

// The calling process's environment, plus `extra`.
std::vector<std::string> InheritedEnvironment(std::vector<std::string> extra) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) environment.emplace_back(*entry);
  environment.insert(environment.end(), extra.begin(), extra.end());
  return environment;
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
    const Outcome made = Run(*python,
                             {python->string(), script.string(), kSourceFont.string(), output.string(),
                              fonts[index].family, fonts[index].symbol ? "symbol" : "unicode"},
                             InheritedEnvironment({"PYTHONDONTWRITEBYTECODE=1"}), log);
    if (made != Outcome::kSucceeded) return fail("cannot make " + fonts[index].family);
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
                                  const std::string& name, const std::vector<std::string>& environment) {
  const fs::path input = folder / (name + ".fodt"), pdf = folder / (name + ".pdf");
  const fs::path log = folder / "soffice.log";
  Write(input, fodt);
  // A PDF left by an earlier export of the same name must not pass for
  // this one's.
  std::error_code ignored;
  fs::remove(pdf, ignored);
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    const std::string profile = (folder / (attempt == 1 ? "profile" : "profile-again")).string();
    const Outcome outcome =
        Run(soffice,
            {soffice.string(), "-env:UserInstallation=file://" + profile, "--headless", "--norestore",
             "--convert-to", "pdf", "--outdir", folder.string(), input.string()},
            environment, log);
    // soffice also ends well when it could not load the input, so the PDF
    // itself is what tells.
    if (outcome == Outcome::kSucceeded && fs::exists(pdf)) return pdf;
    if (outcome != Outcome::kHung) return std::nullopt;
    Log(log, "soffice did not end within " + std::to_string(kHungAfterMs / 1000) + " s and was stopped (attempt " +
                 std::to_string(attempt) + ")");
  }
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
