// One document through the job layer as every program takes it: each failure
// comes back as a value with its kind, its document and its place; the
// page's text comes from the conversion that made the result; and a document
// kept for the window converts as often as asked, as a single conversion
// would.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "job/DocumentJob.h"
#include "office/OfficeFixtures.h"

namespace maravelundi {
namespace {

const std::filesystem::path kSamples = MARAVELUNDI_SOURCE_DIR "/samples";

std::string ReadSample(const char* name) {
  std::ifstream in(kSamples / name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string WordDocument() {
  return test::BuildDocx(test::DocxParts().Body(
      "<w:p><w:r><w:rPr><w:rFonts w:ascii=\"rc1\" w:hAnsi=\"rc1\"/></w:rPr><w:t>uIcj\xC2\xBFo\xC2\xB2</w:t></w:r>"
      "<w:r><w:t xml:space=\"preserve\"> in English</w:t></w:r></w:p>"));
}

std::string OpenDocument() {
  return test::BuildOdt(test::OdtParts()
                            .AutomaticStyles("<style:style style:name=\"T1\" style:family=\"text\">"
                                             "<style:text-properties style:font-name=\"rc1\"/></style:style>")
                            .Body("<text:p><text:span text:style-name=\"T1\">ae hfn</text:span> in English</text:p>"));
}

ConversionSettings Settings(const std::string& to, const std::string& spelling = "") {
  NamedOptions named;
  named.to = to;
  named.spelling = spelling;
  return std::get<ConversionSettings>(SettingsNamed(named));
}

// The document's failure, from its reading or else from its conversion.
std::optional<Failure> FailureOf(const std::string& bytes, const std::string& name, const std::string& to) {
  const ConversionSettings settings = Settings(to);
  Result<SourceDocument> source = ParseDocument(std::string(bytes), name, settings);
  if (!source.Ok()) return source.Error();
  StringSink out;
  std::optional<Failure> failure = ConvertSource(std::move(source.Value()), settings, "title", out);
  if (failure) {
    EXPECT_TRUE(out.Bytes().empty()) << "a failed conversion wrote " << out.Bytes().size() << " bytes";
  }
  return failure;
}

TEST(DocumentJob, EachFailureSaysWhatKindAndWhere) {
  const std::string sheet = test::BuildDocx(test::DocxParts().Body("<w:p/>").MainContentType(
      "application/vnd.ms-visio.drawing.main+xml"));
  // Two megabytes of one paragraph repeated deflate far more than documents do.
  std::string repeated;
  for (int i = 0; i < 300000; ++i) repeated += "<w:p/>";
  const std::string bomb = test::BuildDocx(test::DocxParts().Body(repeated));
  const std::string encrypted = test::LiteralBytes("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") + std::string(100, '\0') +
                                std::string("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
  const struct {
    const char* what;
    std::string name;
    std::string bytes;
    std::string to;
    FailureCode code;
    std::string part;
    bool hasByte;
    std::string described;  // how Describe begins
  } cases[] = {
      {"Rich Text cut short", "cut.rtf", "{\\rtf1 an unfinished group", "unicode", FailureCode::kDamagedDocument, "",
       true, "cut.rtf: "},
      {"nothing at all", "empty.rtf", "", "unicode", FailureCode::kNotADocument, "", true, "empty.rtf: "},
      {"plain text", "notes.rtf", "just some words", "unicode", FailureCode::kNotADocument, "", false,
       "notes.rtf: not a document we know (it begins with the text \"just some words\""},
      {"a drawing", "sheet.docx", sheet, "unicode", FailureCode::kNotADocument, "word/document.xml", false,
       "sheet.docx: word/document.xml: is application/vnd.ms-visio.drawing.main+xml"},
      {"a password", "secret.doc", encrypted, "unicode", FailureCode::kEncrypted, "EncryptedPackage", false,
       "secret.doc: EncryptedPackage: the document is encrypted"},
      {"a zip bomb", "bomb.docx", bomb, "unicode", FailureCode::kPackageFault, "word/document.xml", false,
       "bomb.docx: word/document.xml: expands "},
      {"a part that lies about its size", "lies.docx",
       test::PatchDeclaredSize(WordDocument(), "word/document.xml", 10), "docx", FailureCode::kDamagedDocument,
       "word/document.xml", false, "lies.docx: word/document.xml: expands beyond its declared size"},
      {"Rich Text asked for as DOCX without LibreOffice", "letter.rtf", ReadSample("sample-v7.rtf"), "docx",
       FailureCode::kNeedsLibreOffice, "", false,
       "letter.rtf: making DOCX (.docx) of a document of another format needs LibreOffice"},
      {"a .doc without LibreOffice", "letter.doc",
       test::LiteralBytes("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") + std::string(500, '\0'), "unicode",
       FailureCode::kNeedsLibreOffice, "", false,
       "letter.doc: Word 97-2003 documents (.doc) need LibreOffice, which is not available here"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<Failure> failure = FailureOf(c.bytes, c.name, c.to);
    ASSERT_TRUE(failure) << "converted without complaint";
    EXPECT_EQ(FailureCodeName(failure->code), FailureCodeName(c.code)) << Describe(*failure);
    EXPECT_EQ(failure->subject, c.name);
    EXPECT_EQ(failure->part, c.part);
    EXPECT_EQ(failure->byte.has_value(), c.hasByte) << Describe(*failure);
    EXPECT_TRUE(Describe(*failure).starts_with(c.described)) << Describe(*failure);
    if (failure->byte) {
      EXPECT_TRUE(Describe(*failure).ends_with(" (at byte " + std::to_string(*failure->byte) + ")"));
    }
  }
}

std::string SpellingName(Spelling spelling) { return spelling == Spelling::kModern ? "modern" : "legacy"; }

// The page's preview: the text the same call makes from the same reading of
// the document is what the text output of the same options writes, spelled
// as the result is; the result is byte for byte the conversion's without
// it, and complete before the text begins.
TEST(DocumentJob, TheTextComesAlongsideTheResult) {
  const struct {
    const char* name;
    std::string bytes;
    std::vector<std::string> outputs;
  } inputs[] = {
      {"sample-v7.rtf", ReadSample("sample-v7.rtf"), {"unicode", "html5", "text", "rtf", "ism", "mltt"}},
      {"sample-v2.rtf", ReadSample("sample-v2.rtf"), {"unicode", "rtf"}},
      {"letter.docx", WordDocument(), {"unicode", "text", "html5", "docx", "ism"}},
      {"notes.odt", OpenDocument(), {"html5", "odt", "mltt"}},
  };
  for (const auto& input : inputs) {
    for (const std::string& to : input.outputs) {
      for (const std::string spelling : {"", "legacy", "modern"}) {
        SCOPED_TRACE(std::string(input.name) + " --to " + to + " --spelling " + spelling);
        const ConversionSettings settings = Settings(to, spelling);
        Result<SourceDocument> alone = ParseDocument(std::string(input.bytes), input.name, settings);
        ASSERT_TRUE(alone.Ok()) << Describe(alone.Error());
        const std::string spelled = SpellingName(alone.Value().conversion.profile.spelling);
        StringSink expected;
        ASSERT_FALSE(ConvertSource(std::move(alone.Value()), settings, "title", expected));

        const ConversionSettings textSettings = Settings("text", spelled);
        Result<SourceDocument> text = ParseDocument(std::string(input.bytes), input.name, textSettings);
        ASSERT_TRUE(text.Ok());
        StringSink expectedText;
        ASSERT_FALSE(ConvertSource(std::move(text.Value()), textSettings, "title", expectedText));

        Result<SourceDocument> source = ParseDocument(std::string(input.bytes), input.name, settings);
        ASSERT_TRUE(source.Ok());
        // A package is converted as detection opened it.
        EXPECT_EQ(source.Value().package.has_value(), source.Value().conversion.route.has_value());
        StringSink out, preview;
        std::size_t outputWhenDone = 0, textWhenDone = 0;
        int told = 0;
        TextAlongside alongside{preview, [&] {
                                  ++told;
                                  outputWhenDone = out.Bytes().size();
                                  textWhenDone = preview.Bytes().size();
                                }};
        ASSERT_FALSE(ConvertSource(std::move(source.Value()), settings, "title", out, nullptr, &alongside));
        EXPECT_TRUE(out.Bytes() == expected.Bytes());
        EXPECT_TRUE(alongside.made);
        EXPECT_EQ(preview.Bytes(), expectedText.Bytes());
        EXPECT_EQ(told, 1);
        EXPECT_EQ(outputWhenDone, expected.Bytes().size());
        EXPECT_EQ(textWhenDone, to == "text" ? expectedText.Bytes().size() : 0u);
      }
    }
  }
}

// The window reads a document once, for its own format, and converts it
// with each choice as the command line converts it with the same options;
// converting leaves it as it was.
TEST(DocumentJob, AKeptDocumentConvertsAsOftenAsAsked) {
  const struct {
    const char* name;
    std::string bytes;
  } inputs[] = {
      {"sample-v7.rtf", ReadSample("sample-v7.rtf")},
      {"letter.docx", WordDocument()},
      {"notes.odt", OpenDocument()},
  };
  for (const auto& input : inputs) {
    SCOPED_TRACE(input.name);
    ConversionSettings ownFormat;
    ownFormat.output = DefaultOutput("", true);
    Result<SourceDocument> kept = ParseDocument(std::string(input.bytes), input.name, ownFormat);
    ASSERT_TRUE(kept.Ok()) << Describe(kept.Error());
    ASSERT_FALSE(ReadBody(kept.Value(), nullptr));
    EXPECT_GE(kept.Value().reading.document.Size(), 2u);
    const bool whole = kept.Value().conversion.route.has_value();
    for (int round = 0; round < 2; ++round) {
      for (const std::string to : {"unicode", "ism"}) {
        SCOPED_TRACE(to + " round " + std::to_string(round));
        // The window's Unicode keeps a word processor's document in its format.
        const ConversionSettings settings = whole && to == "unicode" ? ownFormat : Settings(to);
        Result<PlannedConversion> planned = PlanConversion(settings, kept.Value().kind);
        ASSERT_TRUE(planned.Ok());
        StringSink out;
        Document mltt;
        ASSERT_FALSE(ConvertKept(kept.Value(), planned.Value(), nullptr, out, nullptr, &mltt));

        Result<SourceDocument> single = ParseDocument(std::string(input.bytes), input.name, settings);
        ASSERT_TRUE(single.Ok());
        StringSink expected;
        ASSERT_FALSE(ConvertSource(std::move(single.Value()), settings, std::string(kDefaultTitle), expected));
        EXPECT_TRUE(out.Bytes() == expected.Bytes());
        EXPECT_GE(mltt.Size(), 2u);
      }
    }
  }
}

}  // namespace
}  // namespace maravelundi
