#pragma once
// A DOCX or ODT package held open over bytes of its own, so that it can be
// handed on (from format detection to the conversion, from the reading of a
// document to each of its conversions) without being opened again: the bytes
// stay where libzip reads them however the holder moves.

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "package/PackageError.h"
#include "package/PackageLimits.h"
#include "package/ZipPackage.h"

namespace maravelundi {

class OpenPackage {
 public:
  static Outcome<OpenPackage> Open(std::string&& bytes, const PackageLimits& limits = {}) {
    auto owned = std::make_unique<const std::string>(std::move(bytes));
    Outcome<ZipPackage> package = ZipPackage::Open(*owned, limits);
    if (!package.Ok()) return package.Error();
    return OpenPackage(std::move(owned), std::move(package.Value()));
  }

  // Over bytes that `package` was opened over, which it now owns.
  OpenPackage(std::unique_ptr<const std::string> bytes, ZipPackage&& package)
      : bytes_(std::move(bytes)), package_(std::move(package)) {}

  OpenPackage(OpenPackage&&) noexcept = default;
  // The package goes before the bytes it was reading.
  OpenPackage& operator=(OpenPackage&& other) noexcept {
    package_ = std::move(other.package_);
    bytes_ = std::move(other.bytes_);
    return *this;
  }

  const ZipPackage& Package() const { return package_; }
  std::string_view Bytes() const { return *bytes_; }

 private:
  std::unique_ptr<const std::string> bytes_;
  ZipPackage package_;  // after bytes_: closed before they go
};

}  // namespace maravelundi
