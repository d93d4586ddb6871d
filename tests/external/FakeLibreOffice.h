#pragma once
// A stand-in for LibreOffice's soffice, for the tests of what happens around
// it: it writes the arguments it was given, one a line, to a log, then does
// what the test asks. Converting, it follows a rule of its own: its ".doc"
// is the eight bytes "FAKEDOC!" followed by a DOCX, so --convert-to docx
// takes them off and any other filter puts them on.

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace maravelundi::test {

inline constexpr std::string_view kFakeDocMark = "FAKEDOC!";

enum class FakeSoffice {
  kConverts,             // as above
  kReadsButCannotWrite,  // converts to docx; for any other filter says why it wrote nothing
  kSleeps,               // for ever, as a hung LibreOffice does
  kAnnouncesThenSleeps,  // writes "started" to the FIFO named `fifo`, then sleeps
  kSaysErrorWritesNothing,  // "Error: source file could not be loaded", status 0, as LibreOffice does
  kFails,                // status 81 with a message
};

// soffice in `folder`; `log` gets its arguments.
inline void WriteFakeSoffice(const std::filesystem::path& folder, const std::filesystem::path& log, FakeSoffice what,
                             const std::filesystem::path& fifo = {}) {
  std::filesystem::create_directories(folder);
  std::string script =
      "#!/bin/sh\n"
      "PATH=/usr/bin:/bin\n"
      "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + log.string() + "'\n"
      "echo 'Warning: failed to launch javaldx - java may not function correctly' >&2\n";
  switch (what) {
    case FakeSoffice::kConverts:
      script +=
          "while [ $# -gt 1 ]; do\n"
          "  case \"$1\" in --convert-to) filter=$2; shift;; --outdir) outdir=$2; shift;; esac\n"
          "  shift\n"
          "done\n"
          "name=$(basename \"$1\"); stem=${name%.*}; ext=${filter%%:*}\n"
          "mkdir -p \"$outdir\"\n"
          "if [ \"$ext\" = docx ]; then tail -c +9 \"$1\"; else printf FAKEDOC!; cat \"$1\"; fi > \"$outdir/$stem.$ext\"\n";
      break;
    case FakeSoffice::kReadsButCannotWrite:
      script +=
          "while [ $# -gt 1 ]; do\n"
          "  case \"$1\" in --convert-to) filter=$2; shift;; --outdir) outdir=$2; shift;; esac\n"
          "  shift\n"
          "done\n"
          "name=$(basename \"$1\"); stem=${name%.*}\n"
          "mkdir -p \"$outdir\"\n"
          "if [ \"$filter\" = docx ]; then tail -c +9 \"$1\" > \"$outdir/$stem.docx\"; "
          "else echo 'Error: no export filter' >&2; fi\n";
      break;
    case FakeSoffice::kSleeps: script += "sleep 300 & wait\n"; break;
    case FakeSoffice::kAnnouncesThenSleeps:
      script += "echo started > '" + fifo.string() + "'\nsleep 300 & wait\n";
      break;
    case FakeSoffice::kSaysErrorWritesNothing: script += "echo 'Error: source file could not be loaded' >&2\n"; break;
    case FakeSoffice::kFails: script += "echo 'soffice.bin: cannot open display' >&2\nexit 81\n"; break;
  }
  const std::filesystem::path program = folder / "soffice";
  std::ofstream(program, std::ios::binary) << script;
  ::chmod(program.c_str(), 0755);
}

// The arguments the fake was last given.
inline std::vector<std::string> FakeSofficeArguments(const std::filesystem::path& log) {
  std::ifstream in(log);
  std::vector<std::string> arguments;
  for (std::string line; std::getline(in, line);) arguments.push_back(line);
  return arguments;
}

}  // namespace maravelundi::test
