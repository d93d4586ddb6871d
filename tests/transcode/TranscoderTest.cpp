// Stage one: which fonts go through which table, what other fonts keep, and
// where the results land.

#include <gtest/gtest.h>

#include "TestDocuments.h"
#include "transcode/GlyphTables.h"
#include "transcode/Transcoder.h"

namespace maravelundi {
namespace {

using testing::Describe;
using testing::Doc;

struct Case {
  const char* what;
  Generation generation;
  Document source;
  std::string expected;  // runs of the result, as Describe writes them
};

TEST(Transcoder, ConvertsRachanaRunsAndCopiesOthers) {
  const Case cases[] = {
      {"three characters in three fonts", Generation::kVersion2,
       Doc({{"ra2", "21"}, {"Arial", "41"}, {"rkr2", "2F"}}),
       "ML-TTRevathi:49 70 | Arial:41 | ML-TTRevathi:49 76 57"},
      {"empty document", Generation::kVersion2, Doc({}), ""},
      {"font names compare in lower case", Generation::kVersion2,
       Doc({{"RA1", "41"}, {"Rkr1", "6C"}}), "ML-TTRevathi:41 64"},
      {"no trimming, no prefixes", Generation::kVersion2,
       Doc({{"ra1 ", "6C"}, {"ra12", "6C"}, {"xra1", "6C"}, {"ra", "6C"}}),
       "ra1 :6C | ra12:6C | xra1:6C | ra:6C"},
      {"version 7 fonts are not version 2 fonts", Generation::kVersion2,
       Doc({{"rc1", "6C"}, {"rl2", "39"}}), "rc1:6C | rl2:39"},
      {"version 2 fonts are not version 7 fonts", Generation::kVersion7,
       Doc({{"ra1", "6C"}, {"rkr2", "39"}}), "ra1:6C | rkr2:39"},
      {"unlisted codes: nothing in version 2", Generation::kVersion2,
       Doc({{"ra2", "09 2D 21"}}), "ML-TTRevathi:49 70"},
      {"unlisted codes: the code itself in font 1 of version 7", Generation::kVersion7,
       Doc({{"rc1", "09 2D 7E"}}), "ML-TTRevathi:09 2D 7E"},
      {"unlisted codes: a space in fonts 2 to 6 of version 7", Generation::kVersion7,
       Doc({{"rl4", "2D"}, {"rc6", "6A"}}), "ML-TTRevathi:20 20"},
      {"an explicit empty row writes nothing", Generation::kVersion7,
       Doc({{"rc4", "61 21"}}), "ML-TTRevathi:5D 70"},
      {"line breaks survive in Rachana fonts and elsewhere", Generation::kVersion7,
       Doc({{"rc2", "21 0D 0A"}, {"Times New Roman", "0D 0A 41"}}),
       "ML-TTRevathi:49 70 0D 0A | Times New Roman:0D 0A 41"},
      {"Latin runs between Rachana runs stay in place", Generation::kVersion7,
       Doc({{"rc1", "49"}, {"Arial", "20 4B 3C 26"}, {"rl1", "6C"}}),
       "ML-TTRevathi:49 | Arial:20 4B 3C 26 | ML-TTRevathi:64"},
      {"the Kelvin sign lower-cases to k", Generation::kVersion2,
       Doc({{"R\xE2\x84\xAAR2", "21"}}), "ML-TTRevathi:49 70"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Describe(Transcode(c.source, c.generation)), c.expected) << c.what;
  }
}

TEST(Transcoder, DispatchesEveryFontNameToItsTable) {
  for (int k = 1; k <= 6; ++k) {
    const std::string digit = std::to_string(k);
    const FontTable* v2 = TableForFont(Generation::kVersion2, "ra" + digit);
    const FontTable* v7 = TableForFont(Generation::kVersion7, "rc" + digit);
    ASSERT_NE(v2, nullptr);
    ASSERT_NE(v7, nullptr);
    EXPECT_EQ(TableForFont(Generation::kVersion2, "RKR" + digit), v2);
    EXPECT_EQ(TableForFont(Generation::kVersion7, "Rl" + digit), v7);
    EXPECT_EQ(TableForFont(Generation::kVersion2, "rc" + digit), nullptr);
    EXPECT_EQ(TableForFont(Generation::kVersion7, "ra" + digit), nullptr);
  }
  EXPECT_EQ(TableForFont(Generation::kVersion2, "ra1"), &GlyphTable(*FindGlyphTable("MapV2Font1")));
  EXPECT_EQ(TableForFont(Generation::kVersion2, "rkr6"), &GlyphTable(*FindGlyphTable("MapV2Font6")));
  EXPECT_EQ(TableForFont(Generation::kVersion7, "rl5"), &GlyphTable(*FindGlyphTable("MapV7Font5")));
  EXPECT_EQ(TableForFont(Generation::kVersion7, "rc7"), nullptr);
  EXPECT_EQ(TableForFont(Generation::kVersion7, ""), nullptr);
}

class RecordingProgress : public ProgressSink {
 public:
  void Advance(std::size_t done, std::size_t total) override {
    EXPECT_GE(done, last_);
    EXPECT_LE(done, total);
    last_ = done;
    total_ = total;
    ++calls_;
  }
  std::size_t last_ = 0, total_ = 0, calls_ = 0;
};

TEST(Transcoder, ReportsProgressUpToTheSourceLength) {
  Document source;
  const FormatId font = source.InternFont("rc2");
  for (std::size_t i = 0; i < 3 * kProgressStride + 5; ++i) source.Append(u'!', font);
  RecordingProgress progress;
  const Document result = Transcode(source, Generation::kVersion7, &progress);
  EXPECT_EQ(progress.last_, source.Size());
  EXPECT_EQ(progress.total_, source.Size());
  EXPECT_GE(progress.calls_, 3u);
  EXPECT_EQ(result.Size(), 2 * source.Size());  // 0x21 is KA with vowel sign U in font 2
}

}  // namespace
}  // namespace maravelundi
