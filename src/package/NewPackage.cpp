#include "package/NewPackage.h"
#include "package/ZipPackage.h"

#include <zip.h>

#include <ctime>
#include <memory>
#include <optional>

namespace maravelundi {
namespace {

PackageError WriteFailure(const std::string& part, const std::string& message) {
  return PackageError{PackageErrorCode::kWriteFailed, part, message};
}

// 1 January 2000, 00:00 local time: DOS times hold local time, and any fixed
// moment makes the package the same on every run.
std::time_t FixedTime() {
  std::tm moment{};
  moment.tm_year = 100;
  moment.tm_mday = 1;
  moment.tm_isdst = -1;
  return std::mktime(&moment);
}

std::optional<std::string> Drain(zip_source_t* source) {
  if (zip_source_open(source) < 0) return std::nullopt;
  std::string bytes;
  char buffer[1 << 16];
  for (;;) {
    const zip_int64_t got = zip_source_read(source, buffer, sizeof buffer);
    if (got < 0) {
      zip_source_close(source);
      return std::nullopt;
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  zip_source_close(source);
  return bytes;
}

}  // namespace

Outcome<std::string> BuildPackage(const std::vector<NewPart>& parts) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (source == nullptr) return WriteFailure("", "no memory for the package");
  zip_t* archive = zip_open_from_source(source, ZIP_TRUNCATE, &error);
  zip_error_fini(&error);
  if (archive == nullptr) {
    zip_source_free(source);
    return WriteFailure("", "the package cannot be started");
  }
  // The archive frees the source when closed; keep it to read the result.
  zip_source_keep(source);
  const std::time_t when = FixedTime();
  for (const NewPart& part : parts) {
    zip_source_t* content = zip_source_buffer(archive, part.content.data(), part.content.size(), 0);
    const zip_int64_t index = content == nullptr ? -1 : zip_file_add(archive, part.name.c_str(), content, ZIP_FL_ENC_UTF_8);
    if (index < 0 || zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), when, 0) < 0 ||
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), part.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                 part.stored ? 0 : kDeflateLevel) < 0) {
      if (index < 0 && content != nullptr) zip_source_free(content);
      zip_discard(archive);
      zip_source_free(source);
      return WriteFailure(part.name, "cannot be added to the package");
    }
  }
  if (zip_close(archive) < 0) {
    zip_discard(archive);
    zip_source_free(source);
    return WriteFailure("", "the package cannot be assembled");
  }
  std::optional<std::string> bytes = Drain(source);
  zip_source_free(source);
  if (!bytes) return WriteFailure("", "the assembled package cannot be read back");
  return std::move(*bytes);
}

}  // namespace maravelundi
