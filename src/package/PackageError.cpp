#include "package/PackageError.h"

#include <array>
#include <utility>

namespace maravelundi {
namespace {

// Each package error's name, and the kind of failure it is above this
// layer: a package that does not read as a document is damaged; one made
// past what documents are (a zip bomb, unsafe names) is refused as a fault.
struct CodeName {
  PackageErrorCode code;
  std::string_view name;
  FailureCode failure;
};

constexpr std::array kCodeNames = {
    CodeName{PackageErrorCode::kNotAPackage, "not-a-package", FailureCode::kDamagedDocument},
    CodeName{PackageErrorCode::kTooManyEntries, "too-many-entries", FailureCode::kPackageFault},
    CodeName{PackageErrorCode::kPartTooLarge, "part-too-large", FailureCode::kPackageFault},
    CodeName{PackageErrorCode::kPackageTooLarge, "package-too-large", FailureCode::kPackageFault},
    CodeName{PackageErrorCode::kSuspiciousRatio, "suspicious-ratio", FailureCode::kPackageFault},
    CodeName{PackageErrorCode::kUnsafeName, "unsafe-name", FailureCode::kPackageFault},
    CodeName{PackageErrorCode::kDuplicateName, "duplicate-name", FailureCode::kPackageFault},
    CodeName{PackageErrorCode::kMissingPart, "missing-part", FailureCode::kDamagedDocument},
    CodeName{PackageErrorCode::kEncrypted, "encrypted", FailureCode::kEncrypted},
    CodeName{PackageErrorCode::kMalformedXml, "malformed-xml", FailureCode::kDamagedDocument},
    CodeName{PackageErrorCode::kXmlTooDeep, "xml-too-deep", FailureCode::kPackageFault},
    CodeName{PackageErrorCode::kNotWordProcessing, "not-word-processing", FailureCode::kNotADocument},
    CodeName{PackageErrorCode::kDamagedPart, "damaged-part", FailureCode::kDamagedDocument},
    CodeName{PackageErrorCode::kWriteFailed, "write-failed", FailureCode::kPackageFault},
};

}  // namespace

std::string_view PackageErrorCodeName(PackageErrorCode code) {
  for (const CodeName& row : kCodeNames) {
    if (row.code == code) return row.name;
  }
  return "unknown";
}

Failure AsFailure(const PackageError& error, std::string subject) {
  FailureCode code = FailureCode::kPackageFault;
  for (const CodeName& row : kCodeNames) {
    if (row.code == error.code) code = row.failure;
  }
  return Failure{code, std::move(subject), error.message, error.part, std::nullopt};
}

std::string Describe(const PackageError& error) {
  if (error.part.empty()) return error.message;
  return error.part + ": " + error.message;
}

}  // namespace maravelundi
