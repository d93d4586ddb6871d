// The bundled samples: each converts to the Unicode text it was typed from,
// and to exactly the reviewed HTML beside it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "cli/CliRunner.h"

namespace maravelundi {
namespace {

using testing::ReadFile;
using testing::RunCli;
using testing::ScratchFolder;

// The text a reader of the HTML body sees: references decoded, a paragraph
// tag as a line end, the line-feed break after it dropped.
std::string ReadableText(const std::string& html) {
  const auto begin = html.find("<body>") + 6;
  const auto end = html.find("\r\n</font></body>");
  std::string body = html.substr(begin, end - begin);
  std::string text;
  for (std::size_t i = 0; i < body.size();) {
    if (body.compare(i, 2, "&#") == 0) {
      const auto semicolon = body.find(';', i);
      const unsigned long cp = std::stoul(body.substr(i + 2, semicolon - i - 2));
      if (cp < 0x80) text += static_cast<char>(cp);
      else if (cp < 0x800) text += {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))};
      else text += {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                    static_cast<char>(0x80 | (cp & 0x3F))};
      i = semicolon + 1;
    } else if (body.compare(i, 5, "<p>\r\n") == 0) {
      text += '\n';
      i += 5;
    } else if (body.compare(i, 6, "<br>\r\n") == 0) {
      i += 6;
    } else if (body.compare(i, 4, "&lt;") == 0) {
      text += '<', i += 4;
    } else if (body.compare(i, 4, "&gt;") == 0) {
      text += '>', i += 4;
    } else if (body.compare(i, 5, "&amp;") == 0) {
      text += '&', i += 5;
    } else {
      text += body[i++];
    }
  }
  return text;
}

struct Sample {
  const char* name;
  const char* fonts;
};

const Sample kSamples[] = {
    {"sample-v7", "7"}, {"sample-v2", "2"}, {"sample-mltt", "7"}, {"sample-mixed", "auto"}};

TEST(Samples, ConvertToTheirUnicodeText) {
  ScratchFolder scratch;
  for (const Sample& sample : kSamples) {
    const std::string base = std::string(MARAVELUNDI_SOURCE_DIR "/samples/") + sample.name;
    const auto result = RunCli(scratch, std::string("--fonts ") + sample.fonts + " '" + base + ".rtf'");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadableText(result.out), ReadFile(base + ".txt")) << sample.name;
  }
}

// Every output of every sample against its reviewed golden file. With
// MARAVELUNDI_REGENERATE_GOLDEN set, the files are written anew for review.
TEST(Samples, MatchTheirGoldenOutputs) {
  ScratchFolder scratch;
  const bool regenerate = std::getenv("MARAVELUNDI_REGENERATE_GOLDEN") != nullptr;
  for (const Sample& sample : kSamples) {
    for (const char* to : {"unicode", "ism", "mltt", "rtf", "html5", "text"}) {
      const std::string input = std::string(MARAVELUNDI_SOURCE_DIR "/samples/") + sample.name + ".rtf";
      const std::string golden = std::string(MARAVELUNDI_SOURCE_DIR "/tests/cli/golden/") + sample.name + "." + to;
      const auto result = RunCli(scratch, std::string("--fonts ") + sample.fonts + " --to " + to + " '" + input + "'");
      ASSERT_EQ(result.exitCode, 0) << result.err;
      if (regenerate) std::ofstream(golden, std::ios::binary) << result.out;
      EXPECT_EQ(result.out, ReadFile(golden)) << sample.name << " --to " << to;
    }
  }
}

TEST(Samples, UnicodeOutputIsTheBundledHtml) {
  ScratchFolder scratch;
  for (const char* name : {"sample-v7", "sample-v2"}) {
    const std::string base = std::string(MARAVELUNDI_SOURCE_DIR "/samples/") + name;
    EXPECT_EQ(ReadFile(base + ".html"), ReadFile(std::string(MARAVELUNDI_SOURCE_DIR "/tests/cli/golden/") + name +
                                                 ".unicode"));
  }
}

TEST(Samples, AutomaticGenerationMatchesTheNamedOne) {
  ScratchFolder scratch;
  for (const Sample& sample : {kSamples[0], kSamples[1]}) {
    const std::string input = std::string(MARAVELUNDI_SOURCE_DIR "/samples/") + sample.name + ".rtf";
    EXPECT_EQ(RunCli(scratch, "--fonts auto '" + input + "'").out,
              RunCli(scratch, std::string("--fonts ") + sample.fonts + " '" + input + "'").out)
        << sample.name;
  }
}

TEST(Samples, OtherGenerationLeavesTheTextAlone) {
  // Typed in version 7 fonts, read as version 2: nothing is converted, so
  // the Rachana codes come through as they were typed.
  ScratchFolder scratch;
  const auto result = RunCli(scratch, "--fonts 2 '" MARAVELUNDI_SOURCE_DIR "/samples/sample-v7.rtf'");
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(ReadableText(result.out).substr(0, 11), "adbnjw Ft\xC3\x82");
}

}  // namespace
}  // namespace maravelundi
