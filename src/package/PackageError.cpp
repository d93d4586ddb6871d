#include "package/PackageError.h"

#include <array>

namespace maravelundi {
namespace {

struct CodeName {
  PackageErrorCode code;
  std::string_view name;
};

constexpr std::array kCodeNames = {
    CodeName{PackageErrorCode::kNotAPackage, "not-a-package"},
    CodeName{PackageErrorCode::kTooManyEntries, "too-many-entries"},
    CodeName{PackageErrorCode::kPartTooLarge, "part-too-large"},
    CodeName{PackageErrorCode::kPackageTooLarge, "package-too-large"},
    CodeName{PackageErrorCode::kSuspiciousRatio, "suspicious-ratio"},
    CodeName{PackageErrorCode::kUnsafeName, "unsafe-name"},
    CodeName{PackageErrorCode::kDuplicateName, "duplicate-name"},
    CodeName{PackageErrorCode::kMissingPart, "missing-part"},
    CodeName{PackageErrorCode::kEncrypted, "encrypted"},
    CodeName{PackageErrorCode::kMalformedXml, "malformed-xml"},
    CodeName{PackageErrorCode::kXmlTooDeep, "xml-too-deep"},
    CodeName{PackageErrorCode::kNotWordProcessing, "not-word-processing"},
    CodeName{PackageErrorCode::kDamagedPart, "damaged-part"},
    CodeName{PackageErrorCode::kWriteFailed, "write-failed"},
};

}  // namespace

std::string_view PackageErrorCodeName(PackageErrorCode code) {
  for (const CodeName& row : kCodeNames) {
    if (row.code == code) return row.name;
  }
  return "unknown";
}

std::string Describe(const PackageError& error) {
  if (error.part.empty()) return error.message;
  return error.part + ": " + error.message;
}

}  // namespace maravelundi
