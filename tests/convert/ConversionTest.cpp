// A whole conversion as the command line and the window run it: the stages it
// announces to its progress sink, and the ML-TT document it hands back for the
// window to show and save.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TestDocuments.h"
#include "convert/Conversion.h"
#include "ism/FinishIsmText.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "transcode/Transcoder.h"

namespace maravelundi {
namespace {

// Every new file a Rich Text document can become: what is written and what
// its legacy text becomes.
struct Output {
  OutputKind kind;
  TextTarget target;
  bool Mltt() const { return target != TextTarget::kUnicode; }
};
constexpr Output kEveryOutput[] = {
    {OutputKind::kUnicodeHtml, TextTarget::kUnicode}, {OutputKind::kRichText, TextTarget::kIsm},
    {OutputKind::kRichText, TextTarget::kMltt},       {OutputKind::kRichText, TextTarget::kUnicode},
    {OutputKind::kHtml5, TextTarget::kUnicode},       {OutputKind::kText, TextTarget::kUnicode},
};

ConversionProfile ProfileOf(Generation generation, TextTarget target = TextTarget::kUnicode) {
  ConversionProfile profile;
  profile.generation = generation;
  profile.target = target;
  return profile;
}

Document Sample(const char* name) {
  std::ifstream in(std::string(MARAVELUNDI_SOURCE_DIR "/samples/") + name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  const RtfReading reading = ReadRtf(bytes.str());
  EXPECT_TRUE(reading.Ok()) << name;
  return reading.document;
}

// A conversion's stage announcements and reports, in order; a stretch of
// reports is one entry that remembers the last of them.
class StageLog : public ProgressSink {
 public:
  struct Entry {
    std::string what;  // "stage one", "stage two", "reports"
    std::size_t lastDone = 0, lastTotal = 0;
  };
  std::vector<Entry> entries;

  void EnterStage(ConversionStage stage) override {
    entries.push_back({stage == ConversionStage::kTranscode ? "stage one" : "stage two"});
  }
  void Advance(std::size_t done, std::size_t total) override {
    if (entries.empty() || entries.back().what != "reports") entries.push_back({"reports"});
    entries.back().lastDone = done;
    entries.back().lastTotal = total;
  }
};

TEST(ConvertDocument, AnnouncesStageTwoOnlyOnceStageOneHasReportedItsEnd) {
  const Document source = Sample("sample-v7.rtf");
  for (const Output output : kEveryOutput) {
    SCOPED_TRACE(static_cast<int>(output.kind) * 10 + static_cast<int>(output.target));
    StageLog log;
    StringSink sink;
    ConvertDocument(source, output.kind, ProfileOf(Generation::kVersion7, output.target), sink, &log);
    ASSERT_EQ(log.entries.size(), 4u);
    EXPECT_EQ(log.entries[0].what, "stage one");
    EXPECT_EQ(log.entries[1].what, "reports");
    EXPECT_EQ(log.entries[1].lastDone, source.Size());
    EXPECT_EQ(log.entries[1].lastTotal, source.Size());
    EXPECT_EQ(log.entries[2].what, "stage two");
    EXPECT_EQ(log.entries[3].what, "reports");
    EXPECT_EQ(log.entries[3].lastDone, log.entries[3].lastTotal);
  }
}

// What the window keeps after a conversion: stage one's ML-TT document, or for
// ISM the finished one, which is exactly what the ISM file holds.
TEST(ConvertDocument, HandsBackTheDocumentTheOutputWasMadeFrom) {
  const Document source = Sample("sample-v2.rtf");
  const Document mltt = Transcode(source, Generation::kVersion2);
  const Document finished = FinishIsmText(mltt);
  ASSERT_FALSE(mltt == finished);  // the sample has glyphs that get break marks
  for (const Output output : kEveryOutput) {
    SCOPED_TRACE(static_cast<int>(output.kind) * 10 + static_cast<int>(output.target));
    const ConversionProfile profile = ProfileOf(Generation::kVersion2, output.target);
    const std::string expectedBytes = ConvertDocument(source, output.kind, profile);
    const Document& expectedKept = output.target == TextTarget::kIsm ? finished : mltt;

    Document kept = testing::Doc({{"Arial", "41 42 43"}});  // an earlier result, to be replaced
    StringSink sink;
    ConvertDocument(source, output.kind, profile, sink, nullptr, kDefaultTitle, &kept);
    EXPECT_EQ(sink.Bytes(), expectedBytes);
    EXPECT_TRUE(kept == expectedKept) << testing::Describe(kept);

    Document released = source;
    Document keptFromReleased;
    StringSink releasedSink;
    ConvertDocument(std::move(released), output.kind, profile, releasedSink, nullptr, kDefaultTitle, &keptFromReleased);
    EXPECT_EQ(releasedSink.Bytes(), expectedBytes);
    EXPECT_TRUE(keptFromReleased == expectedKept) << testing::Describe(keptFromReleased);
    EXPECT_TRUE(released.Empty());  // let go of once stage one was done

    if (output.Mltt()) {
      EXPECT_EQ(expectedBytes, WriteRtf(kept) + "\r\n");  // one print line of the kept document
    }
  }
}

TEST(ConvertDocument, LetsGoOfAMovedSourceAlsoWhenNothingIsHandedBack) {
  Document source = Sample("sample-v7.rtf");
  const ConversionProfile ism = ProfileOf(Generation::kVersion7, TextTarget::kIsm);
  const std::string expected = ConvertDocument(source, OutputKind::kRichText, ism);
  StringSink sink;
  ConvertDocument(std::move(source), OutputKind::kRichText, ism, sink);
  EXPECT_EQ(sink.Bytes(), expected);
  EXPECT_TRUE(source.Empty());  // NOLINT(bugprone-use-after-move): emptied on purpose
}

}  // namespace
}  // namespace maravelundi
