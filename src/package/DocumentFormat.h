#pragma once
// What a document is, from its bytes rather than its name: Rich Text starts
// "{\rtf"; a DOCX, XLSX or PPTX is a zip package with [Content_Types].xml
// whose main part is a word-processing document, a workbook or a
// presentation; an ODT, ODS or ODP is a zip package whose "mimetype" entry
// says OpenDocument text, spreadsheet or presentation. A document only another engine reads for us
// is recognised too: a compound file (Word 97-2003 and Works write them),
// a WordPerfect file, an OpenDocument text template or master document.

#include <optional>
#include <string>
#include <string_view>

#include "package/OpenPackage.h"
#include "package/PackageError.h"
#include "package/PackageLimits.h"

namespace maravelundi {

enum class DocumentFormat {
  kUnknown,  // nothing we know
  kRtf,
  kDocx,
  kOdt,
  kForeign,  // a word processor's document that another engine reads for us (LibreOffice)
  kText,     // plain text: never detected, but asked for or named so (*.txt)
  kXlsx,     // an Excel workbook (SpreadsheetML)
  kOds,      // an OpenDocument spreadsheet
  kPptx,     // a PowerPoint presentation (PresentationML)
  kOdp,      // an OpenDocument presentation
  kPdf,      // a PDF: its text layer is read, into a new document
};

// What a document holds, which decides what it can become: a word
// processor's text has a body that every output can be made of; a
// spreadsheet or a presentation converts whole, in its own kind.
enum class DocumentClass { kText, kSpreadsheet, kPresentation };
DocumentClass ClassOf(DocumentFormat format);

// The zip packages our own office layer converts in place.
bool IsOwnPackage(DocumentFormat format);

struct FormatDetection {
  DocumentFormat format = DocumentFormat::kUnknown;
  // Set when the bytes are recognisably an office document that cannot be
  // converted: a spreadsheet in a DOCX's clothes, an encrypted document, a
  // package that fails its limits. The format is then kUnknown.
  std::optional<PackageError> error;
};

FormatDetection DetectDocumentFormat(std::string_view bytes, const PackageLimits& limits = {});

// What DetectDocumentFormat finds, with the package it opened to find it
// when that is a DOCX or ODT, handed on so that the conversion does not open
// it again.
struct DetectedDocument {
  FormatDetection detection;
  std::string bytes;                   // the input; empty when `package` holds it
  std::optional<OpenPackage> package;  // a DOCX or ODT, open over the input
};

DetectedDocument DetectDocument(std::string&& bytes, const PackageLimits& limits = {});

// Whether these first bytes of a stream may begin a document that
// DetectDocumentFormat knows: they begin with its signature, or, fewer than
// it, with the beginning of one. Nothing has to be read past them to refuse
// a stream that fails this.
bool MayBeginKnownDocument(std::string_view firstBytes);

// "not a document we know (it begins with ...)": why bytes in which
// DetectDocumentFormat found nothing are refused, saying what they begin
// with (their text, else their first bytes in hex) and what is accepted.
std::string DescribeUnknownDocument(std::string_view bytes);

// Whether a main part of this content type is a WordprocessingML document
// or template, with or without macros.
bool IsWordprocessingMainType(std::string_view contentType);
// The same for a SpreadsheetML workbook or template.
bool IsSpreadsheetMainType(std::string_view contentType);
// The same for a PresentationML presentation, slide show or template.
bool IsPresentationMainType(std::string_view contentType);

// "rtf", "docx", "odt", "foreign", "text", "xlsx", "ods", "pptx", "odp", "pdf" or "unknown".
std::string_view DocumentFormatName(DocumentFormat format);

}  // namespace maravelundi
