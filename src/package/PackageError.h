#pragma once
// What can be wrong with a word processor's package (a DOCX or ODT zip
// archive): errors are values that name the part at fault, so the caller can
// say which file and which part, and write nothing.

#include <string>
#include <string_view>

#include "failure/Failure.h"

namespace maravelundi {

enum class PackageErrorCode {
  kNotAPackage,        // not a zip archive at all, or one too damaged to list
  kTooManyEntries,     // more entries than any document has
  kPartTooLarge,       // one part expands beyond the limit of a part
  kPackageTooLarge,    // all parts together expand beyond the limit
  kSuspiciousRatio,    // a part expands far more than documents do: a zip bomb
  kUnsafeName,         // an absolute name, or one that climbs out with ".."
  kDuplicateName,      // two entries of the same name (in any case)
  kMissingPart,        // a part the format requires, or one a relationship names
  kEncrypted,          // a password-protected document or entry
  kMalformedXml,       // a part that is not well-formed XML
  kXmlTooDeep,         // elements nested deeper than documents nest them
  kNotWordProcessing,  // a spreadsheet or presentation, not a text document
  kDamagedPart,        // compressed data that does not expand as declared
  kWriteFailed,        // the rewritten package could not be assembled
};

struct PackageError {
  PackageErrorCode code = PackageErrorCode::kNotAPackage;
  std::string part;     // the part's name inside the package; empty: the package as a whole
  std::string message;  // what is wrong, in words, without the part's name
};

// A stable name for each code ("unsafe-name", ...), for messages and tests.
std::string_view PackageErrorCodeName(PackageErrorCode code);

// "word/document.xml: <message>", or the message alone for the whole package.
std::string Describe(const PackageError& error);

// A value or the package error that prevented it: the one result type of
// the program (failure/Failure.h), with the package's own finer error.
template <typename T>
using Outcome = Result<T, PackageError>;

// The failure a package error is to the layers above: what kind of failure
// (a damaged document, a refused package, a password, a spreadsheet rather
// than a text) and its part; `subject` names the document.
Failure AsFailure(const PackageError& error, std::string subject = {});

}  // namespace maravelundi
