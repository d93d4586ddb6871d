#pragma once
// The word processors' formats that only another engine (LibreOffice) reads
// for us: each is converted to a DOCX or ODT package by that engine,
// converted in place like any other, and written back in its own format
// where the engine writes it.
// What a document is comes from its content first (a compound file, a
// WordPerfect file, an OpenDocument template) and from its name's extension
// only where the content says nothing we know.

#include <span>
#include <string_view>

#include "package/DocumentFormat.h"

namespace maravelundi {

struct ForeignFormat {
  std::string_view extension;     // "doc": lower case, without the dot
  std::string_view name;          // "Word 97-2003", as messages call it
  DocumentFormat via;             // the package LibreOffice converts it to: kDocx or kOdt
  std::string_view exportFilter;  // --convert-to's argument that writes it; empty when LibreOffice only reads it
  bool Writable() const { return !exportFilter.empty(); }
};

std::span<const ForeignFormat> ForeignFormats();

// The format of an extension (".doc", "DOC" or "doc"), or null.
const ForeignFormat* ForeignFormatByExtension(std::string_view extension);

// The extension of a file name, lower case with its dot (".doc"); empty
// when there is none.
std::string LowerExtension(std::string_view path);

// A document as it is to be converted: Rich Text, DOCX or ODT natively, or a
// foreign format through LibreOffice (`foreign` set, `format` kForeign).
// kUnknown: nothing we know; it is read as Rich Text, which says what is
// wrong with it.
struct DocumentKind {
  DocumentFormat format = DocumentFormat::kUnknown;
  const ForeignFormat* foreign = nullptr;
};

// What the content (as DetectDocumentFormat found it) and the name say
// together. `name` may be empty or have no extension (standard input).
DocumentKind KindOfDocument(DocumentFormat detected, std::string_view bytes, std::string_view name);

// What the name alone says, for planning a batch before anything is read.
DocumentKind KindByName(std::string_view name);

}  // namespace maravelundi
