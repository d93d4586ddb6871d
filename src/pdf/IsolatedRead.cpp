#include "pdf/IsolatedRead.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

namespace maravelundi {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// The reading as bytes: a tag, then counted strings.
void PutNumber(std::string& out, std::uint64_t value) { out.append(reinterpret_cast<const char*>(&value), sizeof value); }
void PutString(std::string& out, std::string_view text) {
  PutNumber(out, text.size());
  out.append(text);
}

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool Number(std::uint64_t& value) {
    if (bytes_.size() < sizeof value) return false;
    std::memcpy(&value, bytes_.data(), sizeof value);
    bytes_.remove_prefix(sizeof value);
    return true;
  }
  bool String(std::string& text) {
    std::uint64_t size = 0;
    if (!Number(size) || size > bytes_.size()) return false;
    text.assign(bytes_.substr(0, size));
    bytes_.remove_prefix(size);
    return true;
  }

 private:
  std::string_view bytes_;
};

std::string Serialize(const Result<PdfReading>& result) {
  std::string out;
  if (!result.Ok()) {
    out += 'F';
    PutNumber(out, static_cast<std::uint64_t>(result.Error().code));
    PutString(out, result.Error().message);
    return out;
  }
  const PdfReading& reading = result.Value();
  out += 'R';
  for (const auto* lines : {&reading.notices, &reading.details}) {
    PutNumber(out, lines->size());
    for (const std::string& line : *lines) PutString(out, line);
  }
  const Document& document = reading.document;
  PutNumber(out, document.Runs().size());
  for (std::size_t r = 0; r < document.Runs().size(); ++r) {
    PutString(out, document.Format(document.Runs()[r].format).fontName);
    const std::u16string_view text =
        std::u16string_view(document.Text()).substr(document.Runs()[r].begin, document.RunEnd(r) - document.Runs()[r].begin);
    PutString(out, std::string_view(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t)));
  }
  return out;
}

std::optional<Result<PdfReading>> Deserialize(std::string_view bytes, const std::string& name) {
  if (bytes.empty()) return std::nullopt;
  Reader in(bytes.substr(1));
  if (bytes[0] == 'F') {
    std::uint64_t code = 0;
    std::string message;
    if (!in.Number(code) || !in.String(message)) return std::nullopt;
    const FailureCode known =
        code <= static_cast<std::uint64_t>(FailureCode::kCannotConvert) ? static_cast<FailureCode>(code) : FailureCode::kCannotConvert;
    return Result<PdfReading>(Failure{known, name, message, {}, std::nullopt});
  }
  PdfReading reading;
  for (auto* lines : {&reading.notices, &reading.details}) {
    std::uint64_t count = 0;
    if (!in.Number(count)) return std::nullopt;
    for (std::uint64_t i = 0; i < count; ++i) {
      std::string line;
      if (!in.String(line)) return std::nullopt;
      lines->push_back(std::move(line));
    }
  }
  std::uint64_t runs = 0;
  if (!in.Number(runs)) return std::nullopt;
  for (std::uint64_t r = 0; r < runs; ++r) {
    std::string font, text;
    if (!in.String(font) || !in.String(text) || text.size() % sizeof(char16_t) != 0) return std::nullopt;
    std::u16string characters(text.size() / sizeof(char16_t), u'\0');
    std::memcpy(characters.data(), text.data(), text.size());
    CharFormat format;
    format.fontName = std::move(font);
    reading.document.Append(characters, reading.document.Intern(format));
  }
  return Result<PdfReading>(std::move(reading));
}

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

Failure Killed(const std::string& name, int status, const ReadLimits& limits) {
  std::string why = "the PDF reader failed on it";
  if (WIFSIGNALED(status) && (WTERMSIG(status) == SIGXCPU || WTERMSIG(status) == SIGKILL)) {
    why = "reading it took more than " + std::to_string(limits.cpuSeconds) + " s of CPU time";
  } else if (WIFSIGNALED(status)) {
    why += " (signal " + std::to_string(WTERMSIG(status)) + ", or it needed more than " +
           std::to_string(limits.addressBytes >> 20) + " MB)";
  }
  return Failure{FailureCode::kCannotConvert, name, why + "; the PDF may be damaged", {}, std::nullopt};
}

}  // namespace

Result<PdfReading> ReadIsolated(const std::function<Result<PdfReading>()>& read, const std::string& name,
                                const ReadLimits& limits) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return read();  // no pipe: read here, unguarded, rather than not at all
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    return read();
  }
  if (child == 0) {
    ::close(pipeEnds[0]);
    const rlimit cpu{limits.cpuSeconds, limits.cpuSeconds + 1};
    ::setrlimit(RLIMIT_CPU, &cpu);
    if (!kAddressSanitizer) {  // the sanitizer's shadow memory alone is larger
      const rlimit address{limits.addressBytes, limits.addressBytes};
      ::setrlimit(RLIMIT_AS, &address);
    }
    std::string bytes;
    try {
      bytes = Serialize(read());
    } catch (const std::bad_alloc&) {
      bytes = Serialize(Result<PdfReading>(Failure{FailureCode::kOutOfMemory, name, "not enough memory to read the PDF",
                                                   {}, std::nullopt}));
    }
    WriteAll(pipeEnds[1], bytes);
    ::_exit(0);
  }
  ::close(pipeEnds[1]);
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(pipeEnds[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return Killed(name, status, limits);
  std::optional<Result<PdfReading>> result = Deserialize(bytes, name);
  if (!result) return Failure{FailureCode::kCannotConvert, name, "the PDF reader gave no reading", {}, std::nullopt};
  return std::move(*result);
}

}  // namespace maravelundi
