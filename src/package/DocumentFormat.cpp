#include "package/DocumentFormat.h"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

#include "package/OpcPackage.h"
#include "package/ZipPackage.h"

namespace maravelundi {
namespace {

constexpr std::string_view kOdtMimetype = "application/vnd.oasis.opendocument.text";
constexpr std::string_view kOdsMimetype = "application/vnd.oasis.opendocument.spreadsheet";
constexpr std::string_view kOdpMimetype = "application/vnd.oasis.opendocument.presentation";
constexpr std::string_view kOpenDocumentPrefix = "application/vnd.oasis.opendocument.";
constexpr std::string_view kZipMagic = "PK\x03\x04";
constexpr std::string_view kEmptyZipMagic = "PK\x05\x06";
constexpr std::string_view kCompoundFileMagic = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr std::string_view kWordPerfectMagic = "\xFFWPC";
constexpr std::string_view kPdfMagic = "%PDF-";
// An encrypted DOCX is a compound file holding the package encrypted in a
// stream of this name (UTF-16LE in the file's directory).
constexpr std::string_view kEncryptedPackageStream{"E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32};

// Main-part content types of WordprocessingML: documents and templates,
// with and without macros.
constexpr std::array<std::string_view, 4> kWordMainTypes = {
    "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml",
    "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml",
    "application/vnd.ms-word.document.macroEnabled.main+xml",
    "application/vnd.ms-word.template.macroEnabledTemplate.main+xml",
};

// Main-part content types of SpreadsheetML: workbooks and templates, with
// and without macros.
constexpr std::array<std::string_view, 4> kSheetMainTypes = {
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml",
    "application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml",
    "application/vnd.ms-excel.sheet.macroEnabled.main+xml",
    "application/vnd.ms-excel.template.macroEnabled.main+xml",
};

// Main-part content types of PresentationML: presentations, slide shows and
// templates, with and without macros.
constexpr std::array<std::string_view, 6> kPresentationMainTypes = {
    "application/vnd.openxmlformats-officedocument.presentationml.presentation.main+xml",
    "application/vnd.openxmlformats-officedocument.presentationml.slideshow.main+xml",
    "application/vnd.openxmlformats-officedocument.presentationml.template.main+xml",
    "application/vnd.ms-powerpoint.presentation.macroEnabled.main+xml",
    "application/vnd.ms-powerpoint.slideshow.macroEnabled.main+xml",
    "application/vnd.ms-powerpoint.template.macroEnabled.main+xml",
};

// The signatures our own readers and another engine's documents begin with.
constexpr std::array<std::string_view, 5> kSignatures = {kZipMagic, kEmptyZipMagic, kCompoundFileMagic,
                                                         kWordPerfectMagic, kPdfMagic};
constexpr std::string_view kRtfKeyword = "\\rtf";
constexpr std::string_view kRtfSpace = " \t\r\n";

// As the RTF reader accepts it: a brace, perhaps a line end, then \rtf.
bool IsRtf(std::string_view bytes) {
  if (!bytes.starts_with('{')) return false;
  const std::size_t keyword = bytes.find_first_not_of(kRtfSpace, 1);
  return keyword != std::string_view::npos && bytes.substr(keyword).starts_with(kRtfKeyword);
}

// Whether `bytes` begin with `signature`, or are its beginning.
bool BeginsAs(std::string_view bytes, std::string_view signature) {
  const std::size_t common = std::min(bytes.size(), signature.size());
  return bytes.substr(0, common) == signature.substr(0, common);
}

// The brace of Rich Text may be followed by any run of space before \rtf;
// bytes that end inside that run may still be Rich Text.
bool MayBeginRtf(std::string_view bytes) {
  if (!bytes.starts_with('{')) return false;
  const std::size_t keyword = bytes.find_first_not_of(kRtfSpace, 1);
  return keyword == std::string_view::npos || BeginsAs(bytes.substr(keyword), kRtfKeyword);
}

// What bytes begin with, in the words of a message: the text of their first
// line when it is plain ASCII, else their first bytes in hex.
std::string DescribeBeginning(std::string_view bytes) {
  constexpr std::size_t kTextShown = 24, kBytesShown = 8;
  if (bytes.starts_with(kZipMagic) || bytes.starts_with(kEmptyZipMagic)) {
    return "is a zip package, but no office document we know";
  }
  const std::string_view line = bytes.substr(0, std::min(bytes.find_first_of("\r\n"), kTextShown));
  const bool text = !line.empty() && std::all_of(line.begin(), line.end(), [](char c) { return c >= ' ' && c <= '~'; });
  if (text) {
    const bool cut = line.size() == kTextShown && bytes.size() > kTextShown;
    return "begins with the text \"" + std::string(line) + (cut ? "...\"" : "\"");
  }
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown = "begins with the bytes";
  for (const char c : bytes.substr(0, kBytesShown)) {
    const auto byte = static_cast<unsigned char>(c);
    shown += {' ', kHex[byte >> 4], kHex[byte & 0xF]};
  }
  return shown;
}

FormatDetection Failed(PackageError error) { return FormatDetection{DocumentFormat::kUnknown, std::move(error)}; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.remove_suffix(1);
  return text;
}

FormatDetection DetectOpenDocument(const ZipPackage& package) {
  Outcome<std::string> mimetype = package.Read("mimetype");
  if (!mimetype.Ok()) return Failed(mimetype.Error());
  const std::string_view type = Trimmed(mimetype.Value());
  if (type == kOdtMimetype) return FormatDetection{DocumentFormat::kOdt, std::nullopt};
  if (type == kOdsMimetype) return FormatDetection{DocumentFormat::kOds, std::nullopt};
  if (type == kOdpMimetype) return FormatDetection{DocumentFormat::kOdp, std::nullopt};
  // Templates, and master documents of text, are another engine's to convert.
  for (const std::string_view known : {kOdtMimetype, kOdsMimetype, kOdpMimetype}) {
    if (type.starts_with(known)) return FormatDetection{DocumentFormat::kForeign, std::nullopt};
  }
  if (type.starts_with(kOpenDocumentPrefix)) {
    return Failed(PackageError{PackageErrorCode::kNotWordProcessing, "mimetype",
                               "says " + std::string(type) +
                                   ", not an OpenDocument text, spreadsheet or presentation"});
  }
  return FormatDetection{};
}

FormatDetection DetectOfficeOpenXml(const ZipPackage& package, const PackageLimits& limits) {
  Outcome<MainPart> main = FindMainPart(package, limits);
  if (!main.Ok()) return Failed(main.Error());
  if (IsWordprocessingMainType(main.Value().contentType)) return FormatDetection{DocumentFormat::kDocx, std::nullopt};
  if (IsSpreadsheetMainType(main.Value().contentType)) return FormatDetection{DocumentFormat::kXlsx, std::nullopt};
  if (IsPresentationMainType(main.Value().contentType)) return FormatDetection{DocumentFormat::kPptx, std::nullopt};
  const std::string& type = main.Value().contentType;
  return Failed(PackageError{PackageErrorCode::kNotWordProcessing, main.Value().name,
                             "is " + (type.empty() ? std::string("of no content type") : type) +
                                 ", not a document, workbook or presentation"});
}

FormatDetection DetectPackage(const ZipPackage& package, const PackageLimits& limits) {
  if (package.Contains("mimetype")) return DetectOpenDocument(package);
  if (package.Contains(kContentTypesPart)) return DetectOfficeOpenXml(package, limits);
  return FormatDetection{};
}

bool IsZip(std::string_view bytes) { return bytes.starts_with(kZipMagic) || bytes.starts_with(kEmptyZipMagic); }

}  // namespace

FormatDetection DetectDocumentFormat(std::string_view bytes, const PackageLimits& limits) {
  if (IsRtf(bytes)) return FormatDetection{DocumentFormat::kRtf, std::nullopt};
  if (IsZip(bytes)) {
    Outcome<ZipPackage> package = ZipPackage::Open(bytes, limits);
    return package.Ok() ? DetectPackage(package.Value(), limits) : Failed(package.Error());
  }
  if (bytes.starts_with(kCompoundFileMagic)) {
    if (bytes.find(kEncryptedPackageStream) != std::string_view::npos) {
      return Failed(PackageError{PackageErrorCode::kEncrypted, "EncryptedPackage",
                                 "the document is encrypted; it needs its password"});
    }
    return FormatDetection{DocumentFormat::kForeign, std::nullopt};
  }
  if (bytes.starts_with(kWordPerfectMagic)) return FormatDetection{DocumentFormat::kForeign, std::nullopt};
  if (bytes.starts_with(kPdfMagic)) return FormatDetection{DocumentFormat::kPdf, std::nullopt};
  return FormatDetection{};
}

DetectedDocument DetectDocument(std::string&& bytes, const PackageLimits& limits) {
  DetectedDocument detected;
  if (!IsZip(bytes)) {
    detected.detection = DetectDocumentFormat(bytes, limits);
    detected.bytes = std::move(bytes);
    return detected;
  }
  auto owned = std::make_unique<std::string>(std::move(bytes));
  {
    Outcome<ZipPackage> package = ZipPackage::Open(*owned, limits);
    detected.detection = package.Ok() ? DetectPackage(package.Value(), limits) : Failed(package.Error());
    const DocumentFormat format = detected.detection.format;
    if (IsOwnPackage(format)) {
      detected.package.emplace(std::move(owned), std::move(package.Value()));
      return detected;
    }
  }  // the package is closed before its bytes are handed back
  detected.bytes = std::move(*owned);
  return detected;
}

bool MayBeginKnownDocument(std::string_view firstBytes) {
  if (MayBeginRtf(firstBytes)) return true;
  return std::any_of(kSignatures.begin(), kSignatures.end(),
                     [&](std::string_view signature) { return BeginsAs(firstBytes, signature); });
}

std::string DescribeUnknownDocument(std::string_view bytes) {
  return "not a document we know (it " + DescribeBeginning(bytes) +
         "; Rich Text, DOCX, ODT, XLSX, ODS, PPTX, ODP, PDF and the formats LibreOffice reads are converted, and "
         "plain text with --from text)";
}

bool IsWordprocessingMainType(std::string_view contentType) {
  return std::find(kWordMainTypes.begin(), kWordMainTypes.end(), contentType) != kWordMainTypes.end();
}

bool IsSpreadsheetMainType(std::string_view contentType) {
  return std::find(kSheetMainTypes.begin(), kSheetMainTypes.end(), contentType) != kSheetMainTypes.end();
}

bool IsPresentationMainType(std::string_view contentType) {
  return std::find(kPresentationMainTypes.begin(), kPresentationMainTypes.end(), contentType) !=
         kPresentationMainTypes.end();
}

DocumentClass ClassOf(DocumentFormat format) {
  switch (format) {
    case DocumentFormat::kXlsx:
    case DocumentFormat::kOds: return DocumentClass::kSpreadsheet;
    case DocumentFormat::kPptx:
    case DocumentFormat::kOdp: return DocumentClass::kPresentation;
    default: return DocumentClass::kText;
  }
}

bool IsOwnPackage(DocumentFormat format) {
  switch (format) {
    case DocumentFormat::kDocx:
    case DocumentFormat::kOdt:
    case DocumentFormat::kXlsx:
    case DocumentFormat::kOds:
    case DocumentFormat::kPptx:
    case DocumentFormat::kOdp: return true;
    default: return false;
  }
}

std::string_view DocumentFormatName(DocumentFormat format) {
  switch (format) {
    case DocumentFormat::kRtf: return "rtf";
    case DocumentFormat::kDocx: return "docx";
    case DocumentFormat::kOdt: return "odt";
    case DocumentFormat::kForeign: return "foreign";
    case DocumentFormat::kText: return "text";
    case DocumentFormat::kXlsx: return "xlsx";
    case DocumentFormat::kOds: return "ods";
    case DocumentFormat::kPptx: return "pptx";
    case DocumentFormat::kOdp: return "odp";
    case DocumentFormat::kPdf: return "pdf";
    case DocumentFormat::kUnknown: break;
  }
  return "unknown";
}

}  // namespace maravelundi
