// Plain text on the command line: legacy-font text in each form people hold
// it in, read in a named font or in the font found from the text, to every
// output; text that is no legacy text kept; and the way back, from Unicode
// to a legacy font's codes, read back to the Unicode it came from.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/CliRunner.h"

namespace maravelundi {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::RunCli;
using testing::ScratchFolder;

// Twenty-three words of ordinary Malayalam, in the modern spelling the text
// output writes (atomic chillus).
const std::string kParagraph =
    "കേരളം ഇന്ത്യയുടെ തെക്കേ അറ്റത്തുള്ള ഒരു സംസ്ഥാനമാണ്. ഇവിടെ മലയാളമാണ് പ്രധാന ഭാഷ.\n"
    "കുട്ടികൾ രാവിലെ സ്കൂളിൽ പോകുന്നു. മഴക്കാലത്ത് പുഴകൾ നിറഞ്ഞൊഴുകും. നമ്മുടെ നാട്ടിലെ കൃഷിക്കാർ നെല്ലും "
    "തെങ്ങും വളർത്തുന്നു.\n";

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

void WriteFile(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// UTF-8 of a code point below U+10000.
std::string Utf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
  return out;
}

// The forms a file of codes comes in, from the raw codes.
std::string AsPrivateUse(const std::string& codes) {
  std::string out;
  for (const unsigned char code : codes) out += code == '\n' ? std::string("\n") : Utf8(0xF000 + code);
  return out;
}

std::string AsUtf16LittleEndian(const std::string& utf8Codes) {
  // The codes as Windows-1252 characters, decoded from UTF-8 (all below U+10000).
  std::string out = "\xFF\xFE";
  for (std::size_t i = 0; i < utf8Codes.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8Codes[i]);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : 3;
    char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : lead & 0x0F;
    for (int k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8Codes[i + k]) & 0x3F);
    i += static_cast<std::size_t>(length);
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

// The way back to each kind of writable font, and its codes read back in
// every form the decoder knows, by name and by the font found.
TEST(PlainTextCli, TheWayBackReadsBackInEveryFormAndFont) {
  ScratchFolder scratch;
  WriteFile(scratch / "unicode.txt", kParagraph);
  for (const std::string font : {"ML-TTKarthika", "ML-Mayoori", "MLB-Ambili-BoldItalic", "GIST-MLTTAswathi"}) {
    const auto characters = RunCli(scratch, "--to legacy --legacy-font " + font + " " + Quoted(scratch / "unicode.txt"));
    const auto bytes =
        RunCli(scratch, "--to legacy --legacy-bytes --legacy-font " + font + " " + Quoted(scratch / "unicode.txt"));
    ASSERT_EQ(characters.exitCode, 0) << characters.err;
    ASSERT_EQ(bytes.exitCode, 0) << bytes.err;
    EXPECT_NE(characters.out, kParagraph) << font;
    const std::vector<std::pair<std::string, std::string>> forms = {
        {"windows-1252.txt", characters.out},
        {"bytes.txt", bytes.out},
        {"private-use.txt", AsPrivateUse(bytes.out)},
        {"utf-16.txt", AsUtf16LittleEndian(characters.out)},
    };
    for (const auto& [name, content] : forms) {
      WriteFile(scratch / name, content);
      for (const std::string& options : {"--font " + font, std::string("--font auto")}) {
        const auto back = RunCli(scratch, options + " " + Quoted(scratch / name));
        EXPECT_EQ(back.exitCode, 0) << font << " " << name << " " << options << ": " << back.err;
        EXPECT_EQ(back.out, kParagraph) << font << " " << name << " " << options;
      }
    }
  }
}

// Any name but .txt reads as text with --from text, standard input too;
// --verbose says the font, its encoding as --list-fonts prints it and how
// sure the finding is.
TEST(PlainTextCli, FromTextReadsAnyNameAndSaysWhatItFound) {
  ScratchFolder scratch;
  WriteFile(scratch / "unicode.txt", kParagraph);
  const auto codes = RunCli(scratch, "--to legacy " + Quoted(scratch / "unicode.txt"));
  WriteFile(scratch / "pasted.dat", codes.out);
  const auto named = RunCli(scratch, "--from text --verbose " + Quoted(scratch / "pasted.dat"));
  EXPECT_EQ(named.out, kParagraph);
  EXPECT_NE(named.err.find("pasted.dat: font ML-TT"), std::string::npos) << named.err;
  EXPECT_NE(named.err.find("(ML-TT"), std::string::npos) << named.err;
  EXPECT_NE(named.err.find("% sure"), std::string::npos) << named.err;
  const auto piped = RunCli(scratch, "--from text - <" + Quoted(scratch / "pasted.dat"));
  EXPECT_EQ(piped.out, kParagraph);
  EXPECT_TRUE(piped.err.empty()) << piped.err;
  const auto notText = RunCli(scratch, Quoted(scratch / "pasted.dat"));
  EXPECT_EQ(notText.exitCode, 1);
  EXPECT_NE(notText.err.find("not a document we know"), std::string::npos) << notText.err;
}

// Text that is no legacy text comes out as it went in, with a warning, and
// succeeds; English words in legacy text stay unless all is converted.
TEST(PlainTextCli, WhatIsNoLegacyTextIsKept) {
  ScratchFolder scratch;
  const std::string english = "Minutes of the meeting held on Monday.\nAll members were present.\n";
  WriteFile(scratch / "english.txt", english);
  WriteFile(scratch / "unicode.txt", kParagraph);
  for (const auto& [name, content, why] :
       std::vector<std::tuple<std::string, std::string, std::string>>{
           {"english.txt", english, "is not legacy-font Malayalam"},
           {"unicode.txt", kParagraph, "is Malayalam Unicode already"}}) {
    const auto result = RunCli(scratch, Quoted(scratch / name));
    EXPECT_EQ(result.exitCode, 0) << name;
    EXPECT_EQ(result.out, content) << name;
    EXPECT_NE(result.err.find(name + ": warning: the text " + why), std::string::npos) << result.err;
  }
  const auto codes = RunCli(scratch, "--to legacy " + Quoted(scratch / "unicode.txt"));
  WriteFile(scratch / "mixed.txt", codes.out + "Report submitted by the Secretary\n");
  const auto kept = RunCli(scratch, Quoted(scratch / "mixed.txt"));
  EXPECT_EQ(kept.out, kParagraph + "Report submitted by the Secretary\n");
  const auto all = RunCli(scratch, "--convert-all " + Quoted(scratch / "mixed.txt"));
  EXPECT_TRUE(all.out.starts_with(kParagraph)) << all.out;
  EXPECT_EQ(all.out.find("Report"), std::string::npos) << all.out;
}

// Each document output of plain text is a new document whose text is the
// text output's: read back by the converter itself.
TEST(PlainTextCli, DocumentOutputsHoldTheTextOutput) {
  ScratchFolder scratch;
  WriteFile(scratch / "unicode.txt", kParagraph);
  const auto codes = RunCli(scratch, "--to legacy " + Quoted(scratch / "unicode.txt"));
  WriteFile(scratch / "in.txt", codes.out);
  for (const std::string extension : {".docx", ".odt", ".rtf"}) {
    const fs::path out = scratch / ("out" + extension);
    const auto made = RunCli(scratch, "-o " + Quoted(out) + " " + Quoted(scratch / "in.txt"));
    ASSERT_EQ(made.exitCode, 0) << extension << ": " << made.err;
    const auto back = RunCli(scratch, "--to text " + Quoted(out));
    EXPECT_EQ(back.exitCode, 0) << extension << ": " << back.err;
    std::string text = back.out;
    std::erase(text, '\r');
    EXPECT_EQ(text, kParagraph) << extension;
  }
  const auto html = RunCli(scratch, "--to html5 " + Quoted(scratch / "in.txt"));
  EXPECT_NE(html.out.find("കൃഷിക്കാർ"), std::string::npos);
  EXPECT_NE(html.out.find("<!DOCTYPE html>"), std::string::npos) << html.out.substr(0, 80);
}

// Usage errors before anything is read, and conversions that cannot be.
TEST(PlainTextCli, FontsAreCheckedAndListedWithWhetherTheyAreWritten) {
  ScratchFolder scratch;
  WriteFile(scratch / "unicode.txt", kParagraph);
  const auto fonts = RunCli(scratch, "--list-fonts");
  for (const char* line : {"\nML-TTKarthika\tML-TT\tread, written\n", "\nrc1\tRachana 7\tread, written as rc\n"}) {
    EXPECT_NE(("\n" + fonts.out).find(line), std::string::npos) << line;
  }
  EXPECT_EQ(RunCli(scratch, "--font Nonesuch " + Quoted(scratch / "unicode.txt")).exitCode, 2);
  EXPECT_EQ(RunCli(scratch, "--to legacy --legacy-font Nonesuch " + Quoted(scratch / "unicode.txt")).exitCode, 2);
  // A Rachana family needs a font per glyph, which text cannot hold.
  const auto rachana = RunCli(scratch, "--to legacy --legacy-font rl " + Quoted(scratch / "unicode.txt"));
  EXPECT_EQ(rachana.exitCode, 1);
  EXPECT_NE(rachana.err.find("six fonts"), std::string::npos) << rachana.err;
  // In any letter case.
  const auto codes = RunCli(scratch, "--to legacy --legacy-font ml-ttkarthika " + Quoted(scratch / "unicode.txt"));
  EXPECT_EQ(codes.exitCode, 0) << codes.err;
}

// A Unicode document goes back to the legacy font in place, and reads back
// as the Unicode it was.
TEST(PlainTextCli, ADocumentGoesBackInPlace) {
  ScratchFolder scratch;
  WriteFile(scratch / "unicode.txt", kParagraph);
  ASSERT_EQ(RunCli(scratch, "-o " + Quoted(scratch / "unicode.docx") + " " + Quoted(scratch / "unicode.txt")).exitCode,
            0);
  for (const std::string extension : {".docx", ".rtf"}) {
    const fs::path unicode = scratch / ("unicode" + extension), legacy = scratch / ("legacy" + extension);
    if (extension == ".rtf") {
      ASSERT_EQ(RunCli(scratch, "-o " + Quoted(unicode) + " " + Quoted(scratch / "unicode.txt")).exitCode, 0);
    }
    const auto back = RunCli(scratch, "--to legacy -o " + Quoted(legacy) + " " + Quoted(unicode));
    ASSERT_EQ(back.exitCode, 0) << back.err;
    EXPECT_NE(ReadFile(legacy), ReadFile(unicode));
    std::string text = RunCli(scratch, "--to text " + Quoted(legacy)).out;
    std::erase(text, '\r');
    EXPECT_EQ(text, kParagraph) << extension;
  }
}

// Characters the font has no glyph for stay as they are, and --verbose
// lists them with how often each came, for text and documents alike.
TEST(PlainTextCli, WhatAFontCannotWriteIsKeptAndListed) {
  ScratchFolder scratch;
  const std::string rare = "\xE0\xB5\x9F";  // U+0D5F, an archaic letter no ML-TT font draws
  WriteFile(scratch / "unicode.txt", "കേരളം " + rare + " " + rare + "\n");
  ASSERT_EQ(RunCli(scratch, "-o " + Quoted(scratch / "unicode.odt") + " " + Quoted(scratch / "unicode.txt")).exitCode,
            0);
  for (const std::string input : {"unicode.txt", "unicode.odt"}) {
    const auto result =
        RunCli(scratch, "--verbose --to legacy -o " + Quoted(scratch / ("out-" + input)) + " " + Quoted(scratch / input));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find(input + ": 2 characters with no glyph in ML-TTKarthika, kept as they are: " + rare +
                              " U+0D5F (2)"),
              std::string::npos)
        << result.err;
  }
  EXPECT_EQ(ReadFile(scratch / "out-unicode.txt"), "tIcfw " + rare + " " + rare + "\n");
  const auto quiet = RunCli(scratch, "--to legacy " + Quoted(scratch / "unicode.txt"));
  EXPECT_TRUE(quiet.err.empty()) << quiet.err;
}

}  // namespace
}  // namespace maravelundi
