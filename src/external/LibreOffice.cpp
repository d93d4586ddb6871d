#include "external/LibreOffice.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "external/ChildProcess.h"
#include "external/PrivateFolder.h"
#include "fileio/FileIo.h"
#include "fileio/TemporaryFolder.h"

namespace maravelundi {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLongestDetail = 400;

std::vector<std::string> EnvironmentOf(const LibreOfficeSettings& settings) {
  return settings.environment.empty() ? ProcessEnvironment() : settings.environment;
}

std::optional<std::string> Variable(const std::vector<std::string>& environment, std::string_view name) {
  for (const std::string& entry : environment) {
    if (entry.size() > name.size() && entry.starts_with(name) && entry[name.size()] == '=') {
      return entry.substr(name.size() + 1);
    }
  }
  return std::nullopt;
}

// A file: URL of a path, each byte but the unreserved ones and "/" escaped.
std::string FileUrl(const fs::path& path) {
  std::string url = "file://";
  for (const unsigned char c : path.string()) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' ||
                       c == '-' || c == '_' || c == '.' || c == '~';
    if (plain) {
      url += static_cast<char>(c);
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      url += escaped;
    }
  }
  return url;
}

// Its standard error on one line, without the warnings it gives on every
// run whatever the document (no Java, say).
std::string Detail(const std::string& errors) {
  std::string detail;
  std::size_t start = 0;
  while (start < errors.size()) {
    std::size_t end = errors.find('\n', start);
    if (end == std::string::npos) end = errors.size();
    std::string line = errors.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (line.empty() || line.find("javaldx") != std::string::npos) continue;
    detail += (detail.empty() ? "" : "; ") + line;
  }
  if (detail.size() > kLongestDetail) detail = detail.substr(0, kLongestDetail) + "...";
  return detail;
}

LibreOfficeRun Failed(LibreOfficeFailure failure, std::string detail) {
  LibreOfficeRun run;
  run.failure = failure;
  run.detail = std::move(detail);
  return run;
}

LibreOfficeRun Judge(const ChildOutcome& outcome) {
  switch (outcome.end) {
    case ChildEnd::kExited:
      if (outcome.code == 0) return {};
      return Failed(LibreOfficeFailure::kFailed, "soffice ended with status " + std::to_string(outcome.code) +
                                                      (Detail(outcome.errors).empty() ? "" : ": " + Detail(outcome.errors)));
    case ChildEnd::kSignalled:
      return Failed(LibreOfficeFailure::kFailed, "soffice was ended by signal " + std::to_string(outcome.code) +
                                                      (Detail(outcome.errors).empty() ? "" : ": " + Detail(outcome.errors)));
    case ChildEnd::kTimedOut: return Failed(LibreOfficeFailure::kTimedOut, Detail(outcome.errors));
    case ChildEnd::kStopped: return Failed(LibreOfficeFailure::kStopped, "");
    case ChildEnd::kNotStarted: break;
  }
  return Failed(LibreOfficeFailure::kCannotRun, "soffice cannot be started: " + std::string(std::strerror(outcome.code)));
}

}  // namespace

std::optional<fs::path> FindLibreOffice(const std::vector<std::string>& environment) {
  const std::optional<std::string> path = Variable(environment.empty() ? EnvironmentOf({}) : environment, "PATH");
  std::string_view folders = path ? std::string_view(*path) : std::string_view();
  while (!folders.empty()) {
    const std::size_t colon = folders.find(':');
    const std::string_view folder = folders.substr(0, colon);
    folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
    if (folder.empty()) continue;  // the current folder is never searched for a program we run
    const fs::path candidate = fs::path(folder) / "soffice";
    std::error_code error;
    if (fs::is_regular_file(candidate, error) && ::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::nullopt;
}

LibreOfficeRun RunLibreOffice(std::string_view document, std::string_view extension, std::string_view filter,
                              std::string_view resultExtension, const LibreOfficeSettings& settings) {
  const std::vector<std::string> environment = EnvironmentOf(settings);
  const std::optional<fs::path> soffice = FindLibreOffice(environment);
  if (!soffice) return Failed(LibreOfficeFailure::kNotInstalled, "");

  const PrivateFolder folder(TemporaryFolder(environment), "maravelundi-libreoffice");
  if (folder.Error()) return Failed(LibreOfficeFailure::kCannotRun, Describe(*folder.Error()));
  const fs::path input = folder.Path() / ("document." + std::string(extension));
  const fs::path outFolder = folder.Path() / "out";
  if (const auto failure = WriteFileAtomically(input, document)) {
    return Failed(LibreOfficeFailure::kCannotRun, Describe(*failure));
  }

  ChildRequest request;
  request.program = *soffice;
  request.arguments = {"-env:UserInstallation=" + FileUrl(folder.Path() / "profile"),
                       "--headless",
                       "--norestore",
                       "--nolockcheck",
                       "--convert-to",
                       std::string(filter),
                       "--outdir",
                       outFolder.string(),
                       input.string()};
  request.environment = environment;
  request.timeLimit = settings.timeLimit;
  request.keepGoing = settings.keepGoing;
  const ChildOutcome outcome = RunChild(request);
  LibreOfficeRun run = Judge(outcome);
  if (!run.Ok()) return run;

  const fs::path result = outFolder / ("document." + std::string(resultExtension));
  std::error_code error;
  if (!fs::is_regular_file(result, error)) {
    const std::string said = Detail(outcome.errors);
    return Failed(LibreOfficeFailure::kNoResult, said.empty() ? "it wrote no document and said nothing" : said);
  }
  if (const auto failure = ReadWholeFile(result, run.bytes)) {
    return Failed(LibreOfficeFailure::kCannotRun, Describe(*failure));
  }
  return run;
}

}  // namespace maravelundi
