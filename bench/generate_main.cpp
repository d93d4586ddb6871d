// maravelundi-bench-generate GENERATION MEGABYTES SEED OUTPUT
//   Writes a realistic document of about that size for the benchmarks: Rich
//   Text, or a Word package when OUTPUT ends in ".docx" (then MEGABYTES is
//   the size of its document XML, and the exact size is printed).
// maravelundi-bench-generate --words|--held-out-words DICTIONARY MEGABYTES SEED OUTPUT
//   Writes Rich Text of real words from a hunspell dictionary, typed in an
//   ML-TT font: any of its words, or only those the plain-text character
//   models were not trained on.
// maravelundi-bench-generate --xlsx GENERATION CELLS SEED OUTPUT
//   Writes a workbook of that many cells and prints the size of its XML.
// maravelundi-bench-generate --folder GENERATION COUNT SEED FOLDER
//   Writes COUNT Rich Text documents of 10 to 200 KB into FOLDER, as a batch
//   of office documents would be.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "GenerateDocument.h"
#include "GenerateDocx.h"
#include "GenerateWords.h"
#include "GenerateWorkbook.h"
#include "fileio/FileIo.h"

namespace {

using maravelundi::Generation;

Generation GenerationOf(const std::string& argument) {
  return argument == "2" ? Generation::kVersion2 : Generation::kVersion7;
}

int Write(const std::filesystem::path& path, const std::string& bytes) {
  const auto failure = maravelundi::WriteFileAtomically(path, bytes);
  if (!failure) return 0;
  std::fprintf(stderr, "%s\n", maravelundi::Describe(*failure).c_str());
  return 1;
}

int WriteDocx(Generation generation, std::size_t xmlBytes, std::uint64_t seed, const std::filesystem::path& path) {
  // Word markup is many times the size of the Rich Text of the same text, by
  // a ratio that a small sample tells.
  constexpr std::size_t kSample = 200'000;
  const double ratio = static_cast<double>(maravelundi::bench::GenerateDocumentXml(generation, kSample, seed).size()) / kSample;
  const std::string xml =
      maravelundi::bench::GenerateDocumentXml(generation, static_cast<std::size_t>(xmlBytes / ratio), seed);
  if (maravelundi::bench::WriteDocx(path, xml)) {
    std::printf("%zu\n", xml.size());  // what the speed of a package is measured by
    return 0;
  }
  std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return 1;
}

int WriteWorkbook(Generation generation, std::size_t cells, std::uint64_t seed, const std::filesystem::path& path) {
  const auto parts = maravelundi::bench::GenerateWorkbookParts(generation, cells, seed);
  std::size_t xml = 0;
  for (const auto& [name, bytes] : parts) xml += bytes.size();
  if (!maravelundi::bench::WritePackage(path, parts)) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 1;
  }
  std::printf("%zu\n", xml);  // what the speed of a package is measured by
  return 0;
}

int WriteFolder(Generation generation, int count, std::uint64_t seed, const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  std::mt19937_64 random(seed);
  std::uniform_int_distribution<std::size_t> size(10'000, 200'000);
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "doc%04d.rtf", i);
    const std::string rtf = maravelundi::bench::GenerateRtf(generation, size(random), seed + static_cast<std::uint64_t>(i));
    if (const int status = Write(folder / name, rtf); status != 0) return status;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 6 && std::string(argv[1]) == "--folder") {
    return WriteFolder(GenerationOf(argv[2]), std::atoi(argv[3]), std::strtoull(argv[4], nullptr, 10), argv[5]);
  }
  if (argc == 6 && std::string(argv[1]) == "--xlsx") {
    return WriteWorkbook(GenerationOf(argv[2]), std::strtoull(argv[3], nullptr, 10), std::strtoull(argv[4], nullptr, 10),
                         argv[5]);
  }
  if (argc == 6 && (std::string(argv[1]) == "--words" || std::string(argv[1]) == "--held-out-words")) {
    const auto bytes = static_cast<std::size_t>(std::atof(argv[3]) * 1000 * 1000);
    const auto choice = std::string(argv[1]) == "--words" ? maravelundi::bench::WordChoice::kEvery
                                                          : maravelundi::bench::WordChoice::kHeldOut;
    const auto rtf =
        maravelundi::bench::GenerateWordsRtf(argv[2], bytes, std::strtoull(argv[4], nullptr, 10), choice);
    if (!rtf) {
      std::fprintf(stderr, "%s: no Malayalam words to read\n", argv[2]);
      return 1;
    }
    return Write(argv[5], *rtf);
  }
  if (argc != 5) {
    std::fprintf(stderr,
                 "usage: %s 2|7 MEGABYTES SEED OUTPUT\n       %s --words|--held-out-words DICTIONARY MEGABYTES SEED OUTPUT\n"
                 "       %s --folder 2|7 COUNT SEED FOLDER\n       %s --xlsx 2|7 CELLS SEED OUTPUT\n",
                 argv[0], argv[0], argv[0], argv[0]);
    return 2;
  }
  const Generation generation = GenerationOf(argv[1]);
  const auto bytes = static_cast<std::size_t>(std::atof(argv[2]) * 1000 * 1000);
  const std::uint64_t seed = std::strtoull(argv[3], nullptr, 10);
  const std::filesystem::path output = argv[4];
  if (output.extension() == ".docx") return WriteDocx(generation, bytes, seed, output);
  return Write(output, maravelundi::bench::GenerateRtf(generation, bytes, seed));
}
