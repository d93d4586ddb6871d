// Packages made to hurt: zip bombs, names that climb out, duplicated or
// missing parts, malformed or deeply nested XML, encryption, a spreadsheet
// passed off as a document. Each is refused with its code, naming the part,
// and no output is made.

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "office/OfficeConversion.h"
#include "office/OfficeFixtures.h"
#include "package/DocumentFormat.h"

namespace maravelundi {
namespace {

using test::DocxParts;
using test::OdtParts;
using test::ZipEntry;

const DocxParts kDocx = DocxParts().Body("<w:p><w:r><w:t>plain</w:t></w:r></w:p>").Styles("<w:docDefaults/>");

std::vector<ZipEntry> DocxWith(std::function<void(std::vector<ZipEntry>&)> change) {
  std::vector<ZipEntry> entries = test::DocxEntries(kDocx);
  change(entries);
  return entries;
}

ZipEntry& Entry(std::vector<ZipEntry>& entries, std::string_view name) {
  for (ZipEntry& entry : entries) {
    if (entry.name == name) return entry;
  }
  throw std::invalid_argument("no entry " + std::string(name));
}

void Erase(std::vector<ZipEntry>& entries, std::string_view name) {
  std::erase_if(entries, [&](const ZipEntry& entry) { return entry.name == name; });
}

std::string Incompressible(std::size_t size) {
  std::mt19937 random(7);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

std::string NestedXml(std::size_t depth) {
  std::string xml = "<w:document " + std::string(test::kWordNamespaces) + "><w:body>";
  for (std::size_t i = 0; i < depth; ++i) xml += "<w:sdt>";
  for (std::size_t i = 0; i < depth; ++i) xml += "</w:sdt>";
  return xml + "</w:body></w:document>";
}

PackageLimits Limits(void (*lower)(PackageLimits&)) {
  PackageLimits limits;
  lower(limits);
  return limits;
}

struct HostileCase {
  HostileCase(std::string_view name, std::function<std::string()> bytes, DocumentFormat format, PackageErrorCode code,
              std::string_view part, PackageLimits limits = {})
      : name(name), bytes(std::move(bytes)), format(format), code(code), part(part), limits(limits) {}

  std::string_view name;
  std::function<std::string()> bytes;
  DocumentFormat format;  // what the package claims to be
  PackageErrorCode code;
  std::string_view part;
  PackageLimits limits;
};

const std::vector<HostileCase>& Cases() {
  static const std::vector<HostileCase> cases = {
      {"a zip bomb", [] { return test::BuildZip(DocxWith([](auto& e) {
         Entry(e, "word/document.xml").content += "<!--" + std::string(8 << 20, 'a') + "-->"; })); },
       DocumentFormat::kDocx, PackageErrorCode::kSuspiciousRatio, "word/document.xml"},
      {"a part over the limit", [] { return test::BuildZip(DocxWith([](auto& e) {
         e.push_back({"word/media/big.bin", Incompressible(100 << 10)}); })); },
       DocumentFormat::kDocx, PackageErrorCode::kPartTooLarge, "word/media/big.bin", Limits([](PackageLimits& l) { l.maxPartSize = 64 << 10; })},
      {"parts together over the limit", [] { return test::BuildZip(DocxWith([](auto& e) {
         e.push_back({"word/media/a.bin", Incompressible(60 << 10)});
         e.push_back({"word/media/b.bin", Incompressible(60 << 10)}); })); },
       DocumentFormat::kDocx, PackageErrorCode::kPackageTooLarge, "word/media/b.bin", Limits([](PackageLimits& l) { l.maxTotalSize = 100 << 10; })},
      {"too many entries", [] { return test::BuildDocx(kDocx); },
       DocumentFormat::kDocx, PackageErrorCode::kTooManyEntries, "", Limits([](PackageLimits& l) { l.maxEntries = 4; })},
      {"a name that climbs out", [] { return test::PatchName(test::BuildZip(DocxWith([](auto& e) {
         e.push_back({"xx/evil.xml", "<x/>"}); })), "xx/evil.xml", "../evil.xml"); },
       DocumentFormat::kDocx, PackageErrorCode::kUnsafeName, "../evil.xml"},
      {"an absolute name", [] { return test::PatchName(test::BuildZip(DocxWith([](auto& e) {
         e.push_back({"xetc/passwd", "x"}); })), "xetc/passwd", "/etc/passwd"); },
       DocumentFormat::kDocx, PackageErrorCode::kUnsafeName, "/etc/passwd"},
      {"a duplicated part", [] { return test::PatchName(test::BuildZip(DocxWith([](auto& e) {
         e.push_back({"word/documenX.xml", "<w:document/>"}); })), "word/documenX.xml", "word/document.xml"); },
       DocumentFormat::kDocx, PackageErrorCode::kDuplicateName, "word/document.xml"},
      {"a part duplicated in another case", [] { return test::BuildZip(DocxWith([](auto& e) {
         e.push_back({"Word/Document.xml", "<w:document/>"}); })); },
       DocumentFormat::kDocx, PackageErrorCode::kDuplicateName, "Word/Document.xml"},
      {"no main document part", [] { return test::BuildZip(DocxWith([](auto& e) { Erase(e, "word/document.xml"); })); },
       DocumentFormat::kDocx, PackageErrorCode::kMissingPart, "word/document.xml"},
      {"a header the document names but lacks", [] {
         DocxParts parts = kDocx;
         parts.header = "<w:p/>";
         std::vector<ZipEntry> entries = test::DocxEntries(parts);
         Erase(entries, "word/header1.xml");
         return test::BuildZip(entries); },
       DocumentFormat::kDocx, PackageErrorCode::kMissingPart, "word/header1.xml"},
      {"an ODT without content.xml", [] {
         std::vector<ZipEntry> entries = test::OdtEntries(OdtParts{});
         Erase(entries, "content.xml");
         return test::BuildZip(entries); },
       DocumentFormat::kOdt, PackageErrorCode::kMissingPart, "content.xml"},
      {"malformed XML", [] { return test::BuildZip(DocxWith([](auto& e) {
         Entry(e, "word/document.xml").content = "<w:document><w:body><w:p></w:body>"; })); },
       DocumentFormat::kDocx, PackageErrorCode::kMalformedXml, "word/document.xml"},
      {"malformed styles in an ODT", [] {
         std::vector<ZipEntry> entries = test::OdtEntries(OdtParts{});
         Entry(entries, "styles.xml").content = "<office:document-styles>&bogus;";
         return test::BuildZip(entries); },
       DocumentFormat::kOdt, PackageErrorCode::kMalformedXml, "styles.xml"},
      {"XML nested a hundred thousand deep", [] { return test::BuildZip(DocxWith([](auto& e) {
         Entry(e, "word/document.xml").content = NestedXml(100000); })); },
       // Deflated, such nesting is a bomb too; the ratio is let pass to reach the parser.
       DocumentFormat::kDocx, PackageErrorCode::kXmlTooDeep, "word/document.xml",
       Limits([](PackageLimits& l) { l.maxRatio = 1 << 30; })},
      {"an encrypted entry", [] { return test::BuildZip(DocxWith([](auto& e) {
         Entry(e, "word/document.xml").password = "secret"; })); },
       DocumentFormat::kDocx, PackageErrorCode::kEncrypted, "word/document.xml"},
      {"an ODT encrypted by its manifest", [] {
         std::vector<ZipEntry> entries = test::OdtEntries(OdtParts{});
         std::string& manifest = Entry(entries, "META-INF/manifest.xml").content;
         manifest.replace(manifest.find("media-type=\"text/xml\"/>"), 23,
                          "media-type=\"text/xml\"><manifest:encryption-data/></manifest:file-entry>");
         return test::BuildZip(entries); },
       DocumentFormat::kOdt, PackageErrorCode::kEncrypted, "content.xml"},
      {"an encrypted Word document", [] {
         return test::LiteralBytes("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") + std::string(200, '\0') +
                test::LiteralBytes("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0"); },
       DocumentFormat::kDocx, PackageErrorCode::kEncrypted, "EncryptedPackage"},
      {"a drawing in a DOCX's clothes", [] {
         DocxParts parts = kDocx;
         parts.mainContentType = "application/vnd.ms-visio.drawing.main+xml";
         return test::BuildDocx(parts); },
       DocumentFormat::kDocx, PackageErrorCode::kNotWordProcessing, "word/document.xml"},
      {"an OpenDocument drawing", [] {
         return test::BuildOdt(OdtParts().Mimetype("application/vnd.oasis.opendocument.graphics")); },
       DocumentFormat::kOdt, PackageErrorCode::kNotWordProcessing, "mimetype"},
      {"a part that lies about its size", [] {
         return test::PatchDeclaredSize(test::BuildDocx(kDocx), "word/document.xml", 10); },
       DocumentFormat::kDocx, PackageErrorCode::kDamagedPart, "word/document.xml"},
      {"not a zip archive at all", [] { return std::string("PK\x03\x04 and then nothing a zip would hold"); },
       DocumentFormat::kDocx, PackageErrorCode::kNotAPackage, ""},
  };
  return cases;
}

// The error for `bytes`: from detection when it finds one, else from the
// conversion of the format the package claims, which then must fail for
// every output alike.
std::optional<PackageError> ErrorOf(const HostileCase& c, const std::string& bytes) {
  const FormatDetection detected = DetectDocumentFormat(bytes, c.limits);
  if (detected.error) return detected.error;
  EXPECT_EQ(detected.format, c.format);
  OfficeOptions options;
  options.limits = c.limits;
  const OfficeResult inPlace = ConvertOfficeDocument(bytes, c.format, OutputKind::kInPlace, ConversionProfile{}, options);
  const OfficeResult flat = ConvertOfficeDocument(bytes, c.format, OutputKind::kText, ConversionProfile{}, options);
  EXPECT_FALSE(flat.Ok()) << "the text output was made";
  if (inPlace.Ok()) return std::nullopt;
  if (!flat.Ok()) {
    EXPECT_EQ(flat.Error().code, inPlace.Error().code);
  }
  return inPlace.Error();
}

TEST(HostilePackageTest, EachIsRefusedWithItsCodeAndPart) {
  for (const HostileCase& c : Cases()) {
    SCOPED_TRACE(std::string(c.name));
    const std::optional<PackageError> error = ErrorOf(c, c.bytes());
    ASSERT_TRUE(error) << "converted without complaint";
    EXPECT_EQ(PackageErrorCodeName(error->code), PackageErrorCodeName(c.code)) << Describe(*error);
    EXPECT_EQ(error->part, c.part) << Describe(*error);
    EXPECT_FALSE(error->message.empty());
  }
}

TEST(HostilePackageTest, TheSamePackagesWithinLimitsConvert) {
  // The limits above were lowered for small fixtures; the fixtures
  // themselves are sound.
  for (const auto& bytes : {test::BuildDocx(kDocx), test::BuildOdt(OdtParts{})}) {
    const FormatDetection detected = DetectDocumentFormat(bytes);
    ASSERT_FALSE(detected.error) << Describe(*detected.error);
    const OfficeResult result = ConvertOfficeDocument(bytes, detected.format, OutputKind::kInPlace, ConversionProfile{});
    EXPECT_TRUE(result.Ok()) << Describe(result.Error());
  }
}

}  // namespace
}  // namespace maravelundi
