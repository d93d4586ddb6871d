#pragma once
// The office formats that only another engine (LibreOffice) reads for us:
// each is converted to a package of ours of its kind (DOCX or ODT, XLSX or
// ODS, PPTX or ODP) by that engine,
// converted in place like any other, and written back in its own format
// where the engine writes it.
// What a document is comes from its content first (a compound file, a
// WordPerfect file, an OpenDocument template) and from its name's extension
// only where the content says nothing we know.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "package/DocumentFormat.h"

namespace maravelundi {

struct ForeignFormat {
  std::string_view extension;     // "doc": lower case, without the dot
  std::string_view name;          // "Word 97-2003", as messages call it
  DocumentFormat via;             // the package of ours LibreOffice converts it to, of its kind
  std::string_view exportFilter;  // --convert-to's argument that writes it; empty when LibreOffice only reads it
  bool Writable() const { return !exportFilter.empty(); }
};

std::span<const ForeignFormat> ForeignFormats();

// One of our own formats (Rich Text or a package) as LibreOffice writes it, for a
// document converted in its own format and then asked for in another: the
// converted document is handed to LibreOffice to be written in this one.
// Never a format detection finds.
const ForeignFormat& OwnFormatWritten(DocumentFormat format);
bool IsOwnFormat(const ForeignFormat& format);

// The format of an extension (".doc", "DOC" or "doc"), or null.
const ForeignFormat* ForeignFormatByExtension(std::string_view extension);

// The extension of a file name, lower case with its dot (".doc"); empty
// when there is none.
std::string LowerExtension(std::string_view path);

// A document as it is to be converted: Rich Text, DOCX or ODT natively, or a
// foreign format through LibreOffice (`foreign` set, `format` kForeign).
// kUnknown: nothing we know, refused as such (DescribeUnknownDocument); an
// empty input is left to the Rich Text reader, which says it is empty.
struct DocumentKind {
  DocumentFormat format = DocumentFormat::kUnknown;
  const ForeignFormat* foreign = nullptr;
};

// What the content (as DetectDocumentFormat found it) and the name say
// together. `name` may be empty or have no extension (standard input).
DocumentKind KindOfDocument(DocumentFormat detected, std::string_view bytes, std::string_view name);

// What the name alone says, for planning a batch before anything is read.
DocumentKind KindByName(std::string_view name);

// Why an input called `name` that begins with `firstBytes` is no document
// we know, or nothing when it may be one: its bytes begin as one of ours or
// another engine's does (MayBeginKnownDocument), or its name is a foreign
// format's, whose content (XML, say) need not say so at its start. Judged
// on a stream's first bytes, so that anything else is refused unread.
std::optional<std::string> NotADocumentWeKnow(std::string_view firstBytes, std::string_view name);

}  // namespace maravelundi
