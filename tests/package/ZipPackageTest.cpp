// The zip package: reading parts, finding them as the packaging conventions
// name them, and rewriting some parts while every other entry keeps its
// compressed bytes, its place and (for an ODT's mimetype) its storage.

#include <gtest/gtest.h>

#include "package/PartName.h"
#include "package/ZipBuilder.h"
#include "package/ZipPackage.h"

namespace maravelundi {
namespace {

using test::BuildZip;
using test::ZipEntry;

const std::vector<ZipEntry> kEntries = {
    {"mimetype", "application/vnd.oasis.opendocument.text", true},
    {"content.xml", "<doc>" + std::string(5000, 'x') + "</doc>"},
    {"Pictures/a.png", test::LiteralBytes("\x89PNG picture bytes \x00\x01\x02")},
    {"styles.xml", "<styles/>"},
};

TEST(ZipPackageTest, ReadsEveryPartAndFindsNamesWithoutRegardToCase) {
  const std::string zip = BuildZip(kEntries);
  Outcome<ZipPackage> package = ZipPackage::Open(zip);
  ASSERT_TRUE(package.Ok()) << Describe(package.Error());
  ASSERT_EQ(package.Value().Entries().size(), kEntries.size());
  for (const ZipEntry& entry : kEntries) {
    Outcome<std::string> read = package.Value().Read(entry.name);
    ASSERT_TRUE(read.Ok()) << entry.name;
    EXPECT_EQ(read.Value(), entry.content) << entry.name;
  }
  EXPECT_TRUE(package.Value().Contains("CONTENT.XML"));
  EXPECT_EQ(package.Value().Read("Styles.Xml").Value(), "<styles/>");
  const Outcome<std::string> missing = package.Value().Read("settings.xml");
  ASSERT_FALSE(missing.Ok());
  EXPECT_EQ(missing.Error().code, PackageErrorCode::kMissingPart);
  EXPECT_EQ(missing.Error().part, "settings.xml");
}

TEST(ZipPackageTest, RewriteReplacesPartsAndCopiesTheOthersCompressedBytes) {
  const std::string zip = BuildZip(kEntries);
  Outcome<ZipPackage> package = ZipPackage::Open(zip);
  ASSERT_TRUE(package.Ok());
  const Outcome<std::string> rewritten = package.Value().Rewrite({{"content.xml", "<doc>new</doc>"}});
  ASSERT_TRUE(rewritten.Ok()) << Describe(rewritten.Error());
  const std::string& out = rewritten.Value();

  EXPECT_EQ(test::EntryNames(out), test::EntryNames(zip));
  EXPECT_EQ(test::ReadEntry(out, "content.xml"), "<doc>new</doc>");
  for (std::string_view kept : {"mimetype", "Pictures/a.png", "styles.xml"}) {
    EXPECT_EQ(test::StoredBytes(out, kept), test::StoredBytes(zip, kept)) << kept;
  }
  // OpenDocument readers find the type at a fixed offset: the first entry,
  // stored, without an extra field.
  ASSERT_GE(out.size(), 38u + 39u);
  EXPECT_EQ(out.substr(0, 4), std::string("PK\x03\x04"));
  EXPECT_EQ(out[8], 0) << "compression method";
  EXPECT_EQ(out[28], 0) << "extra field length";
  EXPECT_EQ(out.substr(30, 8), "mimetype");
  EXPECT_EQ(out.substr(38, 39), "application/vnd.oasis.opendocument.text");
}

// A converted document is the same bytes whenever it is converted: a
// replaced part keeps the time its original has, rather than taking the
// moment of the conversion.
TEST(ZipPackageTest, RewriteKeepsTheTimeOfEachReplacedPart) {
  const std::string zip = BuildZip(kEntries);
  ASSERT_EQ(test::EntryDosTime(zip, "content.xml"), std::uint32_t{test::kFixtureDosDate} << 16 | test::kFixtureDosTime);
  Outcome<ZipPackage> package = ZipPackage::Open(zip);
  ASSERT_TRUE(package.Ok());
  const Outcome<std::string> rewritten = package.Value().Rewrite({{"content.xml", "<doc>new</doc>"}});
  ASSERT_TRUE(rewritten.Ok()) << Describe(rewritten.Error());
  EXPECT_EQ(test::EntryDosTime(rewritten.Value(), "content.xml"), test::EntryDosTime(zip, "content.xml"));
}

TEST(ZipPackageTest, RewriteWithNothingToReplaceGivesTheSameParts) {
  const std::string zip = BuildZip(kEntries);
  Outcome<ZipPackage> package = ZipPackage::Open(zip);
  ASSERT_TRUE(package.Ok());
  const Outcome<std::string> rewritten = package.Value().Rewrite({});
  ASSERT_TRUE(rewritten.Ok());
  for (const ZipEntry& entry : kEntries) {
    EXPECT_EQ(test::StoredBytes(rewritten.Value(), entry.name), test::StoredBytes(zip, entry.name)) << entry.name;
  }
}

struct TargetCase {
  std::string_view source, target, expected;  // expected empty: climbs out
};

TEST(PartNameTest, RelationshipTargetsResolveAgainstTheirSource) {
  const TargetCase cases[] = {
      {"", "word/document.xml", "word/document.xml"},
      {"", "/word/document.xml", "word/document.xml"},
      {"word/document.xml", "styles.xml", "word/styles.xml"},
      {"word/document.xml", "media/image1.png", "word/media/image1.png"},
      {"word/document.xml", "../customXml/item1.xml", "customXml/item1.xml"},
      {"word/document.xml", "./header1.xml", "word/header1.xml"},
      {"word/document.xml", "/word/footer1.xml", "word/footer1.xml"},
      {"word/document.xml", "../../etc/passwd", ""},
  };
  for (const TargetCase& c : cases) {
    const auto resolved = ResolvePartTarget(c.source, c.target);
    if (c.expected.empty()) {
      EXPECT_FALSE(resolved) << c.target;
    } else {
      EXPECT_EQ(resolved.value_or("(none)"), c.expected) << c.source << " + " << c.target;
    }
  }
  EXPECT_EQ(RelationshipsPartOf("word/document.xml"), "word/_rels/document.xml.rels");
  EXPECT_EQ(RelationshipsPartOf(""), "_rels/.rels");
}

TEST(PartNameTest, NamesThatWouldLandOutsideAFolderAreUnsafe) {
  for (std::string_view unsafe : {"/etc/passwd", "\\evil.xml", "C:/evil.xml", "../evil.xml", "word/../../evil.xml",
                                  "word\\..\\..\\evil.xml", ""}) {
    EXPECT_TRUE(UnsafeNameReason(unsafe)) << unsafe;
  }
  for (std::string_view safe : {"word/document.xml", "[Content_Types].xml", "a..b/c.xml", "Pictures/x..png"}) {
    EXPECT_FALSE(UnsafeNameReason(safe)) << safe;
  }
}

}  // namespace
}  // namespace maravelundi
