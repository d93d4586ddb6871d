#pragma once
// What can be wrong with a word processor's package (a DOCX or ODT zip
// archive): errors are values that name the part at fault, so the caller can
// say which file and which part, and write nothing.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

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

// A value or the error that prevented it.
template <typename T>
class Outcome {
 public:
  Outcome(T value) : state_(std::move(value)) {}                // NOLINT: implicit by design
  Outcome(PackageError error) : state_(std::move(error)) {}     // NOLINT: implicit by design

  bool Ok() const { return state_.index() == 0; }
  T& Value() { return std::get<0>(state_); }
  const T& Value() const { return std::get<0>(state_); }
  const PackageError& Error() const { return std::get<1>(state_); }

 private:
  std::variant<T, PackageError> state_;
};

}  // namespace maravelundi
