#include "package/ForeignFormat.h"

#include <array>
#include <string>

namespace maravelundi {
namespace {

constexpr std::array<ForeignFormat, 20> kForeignFormats = {{
    {"doc", "Word 97-2003", DocumentFormat::kDocx, "doc:MS Word 97"},
    {"dot", "Word 97-2003 template", DocumentFormat::kDocx, "dot:MS Word 97 Vorlage"},
    {"wps", "Works", DocumentFormat::kDocx, ""},
    {"wpd", "WordPerfect", DocumentFormat::kDocx, ""},
    {"wri", "Windows Write", DocumentFormat::kDocx, ""},
    {"abw", "AbiWord", DocumentFormat::kDocx, ""},
    {"lwp", "Lotus Word Pro", DocumentFormat::kDocx, ""},
    {"ott", "OpenDocument text template", DocumentFormat::kOdt, "ott:writer8_template"},
    {"fodt", "flat OpenDocument text", DocumentFormat::kOdt, "fodt:OpenDocument Text Flat XML"},
    {"sxw", "OpenOffice.org 1 text", DocumentFormat::kOdt, ""},
    // Read as ODS, not XLSX: a workbook's font has one slot, and LibreOffice
    // gives Malayalam its complex-script font, which only ODS names.
    {"xls", "Excel 97-2003", DocumentFormat::kOds, "xls:MS Excel 97"},
    {"xlt", "Excel 97-2003 template", DocumentFormat::kOds, "xlt:MS Excel 97 Vorlage/Template"},
    {"ots", "OpenDocument spreadsheet template", DocumentFormat::kOds, "ots:calc8_template"},
    {"fods", "flat OpenDocument spreadsheet", DocumentFormat::kOds, "fods:OpenDocument Spreadsheet Flat XML"},
    {"ppt", "PowerPoint 97-2003", DocumentFormat::kPptx, "ppt:MS PowerPoint 97"},
    {"pps", "PowerPoint 97-2003 slide show", DocumentFormat::kPptx, "pps:MS PowerPoint 97 Autoplay"},
    {"pot", "PowerPoint 97-2003 template", DocumentFormat::kPptx, "pot:MS PowerPoint 97 Vorlage"},
    {"otp", "OpenDocument presentation template", DocumentFormat::kOdp, "otp:impress8_template"},
    {"fodp", "flat OpenDocument presentation", DocumentFormat::kOdp, "fodp:OpenDocument Presentation Flat XML"},
    {"sxc", "OpenOffice.org 1 spreadsheet", DocumentFormat::kOds, ""},
}};

constexpr std::array<ForeignFormat, 7> kOwnFormats = {{
    {"rtf", "Rich Text", DocumentFormat::kRtf, "rtf:Rich Text Format"},
    {"docx", "DOCX", DocumentFormat::kDocx, "docx:MS Word 2007 XML"},
    {"odt", "ODT", DocumentFormat::kOdt, "odt:writer8"},
    {"xlsx", "XLSX", DocumentFormat::kXlsx, "xlsx:Calc MS Excel 2007 XML"},
    {"ods", "ODS", DocumentFormat::kOds, "ods:calc8"},
    {"pptx", "PPTX", DocumentFormat::kPptx, "pptx:Impress MS PowerPoint 2007 XML"},
    {"odp", "ODP", DocumentFormat::kOdp, "odp:impress8"},
}};

constexpr std::string_view kCompoundFileMagic = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr std::string_view kWordPerfectMagic = "\xFFWPC";

// The streams that say what a compound file holds, as its directory names
// them (UTF-16LE).
constexpr std::string_view kWorkbookStream{"W\0o\0r\0k\0b\0o\0o\0k\0", 16};
constexpr std::string_view kOldWorkbookStream{"B\0o\0o\0k\0", 8};
constexpr std::string_view kSlidesStream{"P\0o\0w\0e\0r\0P\0o\0i\0n\0t\0 \0D\0o\0c\0u\0m\0e\0n\0t\0", 38};
constexpr std::string_view kWordStream{"W\0o\0r\0d\0D\0o\0c\0u\0m\0e\0n\0t\0", 24};

// A compound file by the stream its application writes: Word, Excel or
// PowerPoint.
const ForeignFormat* CompoundFileFormat(std::string_view bytes) {
  if (bytes.find(kWordStream) != std::string_view::npos) return ForeignFormatByExtension("doc");
  if (bytes.find(kSlidesStream) != std::string_view::npos) return ForeignFormatByExtension("ppt");
  if (bytes.find(kWorkbookStream) != std::string_view::npos || bytes.find(kOldWorkbookStream) != std::string_view::npos) {
    return ForeignFormatByExtension("xls");
  }
  return ForeignFormatByExtension("doc");
}

// The format the content alone points to, when the name does not say.
const ForeignFormat* ForeignFormatOfContent(std::string_view bytes) {
  if (bytes.starts_with(kCompoundFileMagic)) return CompoundFileFormat(bytes);
  if (bytes.starts_with(kWordPerfectMagic)) return ForeignFormatByExtension("wpd");
  // A template of OpenDocument, whose mimetype entry comes first, stored.
  if (bytes.substr(0, 200).find("opendocument.spreadsheet") != std::string_view::npos) {
    return ForeignFormatByExtension("ots");
  }
  if (bytes.substr(0, 200).find("opendocument.presentation") != std::string_view::npos) {
    return ForeignFormatByExtension("otp");
  }
  return ForeignFormatByExtension("ott");
}

}  // namespace

std::span<const ForeignFormat> ForeignFormats() { return kForeignFormats; }

const ForeignFormat& OwnFormatWritten(DocumentFormat format) {
  switch (format) {
    case DocumentFormat::kRtf: return kOwnFormats[0];
    case DocumentFormat::kOdt: return kOwnFormats[2];
    case DocumentFormat::kXlsx: return kOwnFormats[3];
    case DocumentFormat::kOds: return kOwnFormats[4];
    case DocumentFormat::kPptx: return kOwnFormats[5];
    case DocumentFormat::kOdp: return kOwnFormats[6];
    default: return kOwnFormats[1];
  }
}

bool IsOwnFormat(const ForeignFormat& format) {
  return &format >= kOwnFormats.data() && &format < kOwnFormats.data() + kOwnFormats.size();
}

std::string LowerExtension(std::string_view path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of('/');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  std::string extension(path.substr(dot));
  for (char& c : extension) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  return extension;
}

const ForeignFormat* ForeignFormatByExtension(std::string_view extension) {
  const std::string dotted = extension.starts_with('.') ? std::string(extension) : "." + std::string(extension);
  const std::string lower = LowerExtension(dotted);
  for (const ForeignFormat& format : kForeignFormats) {
    if (lower == "." + std::string(format.extension)) return &format;
  }
  return nullptr;
}

DocumentKind KindOfDocument(DocumentFormat detected, std::string_view bytes, std::string_view name) {
  const ForeignFormat* byName = ForeignFormatByExtension(LowerExtension(name));
  switch (detected) {
    case DocumentFormat::kForeign:
      return {DocumentFormat::kForeign, byName != nullptr ? byName : ForeignFormatOfContent(bytes)};
    case DocumentFormat::kUnknown:
      if (byName != nullptr) return {DocumentFormat::kForeign, byName};
      return {};
    default:
      return {detected, nullptr};
  }
}

DocumentKind KindByName(std::string_view name) {
  const std::string extension = LowerExtension(name);
  if (extension == ".rtf") return {DocumentFormat::kRtf, nullptr};
  if (extension == ".docx") return {DocumentFormat::kDocx, nullptr};
  if (extension == ".odt") return {DocumentFormat::kOdt, nullptr};
  if (extension == ".txt") return {DocumentFormat::kText, nullptr};
  if (extension == ".xlsx") return {DocumentFormat::kXlsx, nullptr};
  if (extension == ".ods") return {DocumentFormat::kOds, nullptr};
  if (extension == ".pptx") return {DocumentFormat::kPptx, nullptr};
  if (extension == ".odp") return {DocumentFormat::kOdp, nullptr};
  if (extension == ".pdf") return {DocumentFormat::kPdf, nullptr};
  if (const ForeignFormat* foreign = ForeignFormatByExtension(extension)) return {DocumentFormat::kForeign, foreign};
  return {};
}

std::optional<std::string> NotADocumentWeKnow(std::string_view firstBytes, std::string_view name) {
  if (MayBeginKnownDocument(firstBytes)) return std::nullopt;
  if (ForeignFormatByExtension(LowerExtension(name)) != nullptr) return std::nullopt;
  return DescribeUnknownDocument(firstBytes);
}

}  // namespace maravelundi
