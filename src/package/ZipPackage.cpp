#include "package/ZipPackage.h"

#include <zip.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "package/PartName.h"

namespace maravelundi {
namespace {

PackageError Refused(PackageErrorCode code, std::string part, std::string message) {
  return PackageError{code, std::move(part), std::move(message)};
}

std::string Megabytes(std::uint64_t bytes) { return std::to_string((bytes + (1 << 20) - 1) >> 20) + " MB"; }

// libzip's words for what went wrong, owned by us.
std::string ZipMessage(zip_error_t* error) {
  std::string message = zip_error_strerror(error);
  zip_error_fini(error);
  return message;
}

// libzip keeps the archive's error; zip_strerror's text lives until the next call.
std::string ArchiveMessage(zip_t* archive) { return zip_strerror(archive); }

// A source over bytes we keep; libzip neither copies nor frees them.
zip_source_t* BorrowedSource(std::string_view bytes, zip_error_t* error) {
  return zip_source_buffer_create(bytes.empty() ? nullptr : bytes.data(), bytes.size(), 0, error);
}

// A source over a copy of the bytes that libzip owns: once a rewrite is
// committed, libzip frees the data the source started from.
zip_source_t* OwnedSource(std::string_view bytes, zip_error_t* error) {
  void* copy = std::malloc(std::max<std::size_t>(bytes.size(), 1));
  if (copy == nullptr) return nullptr;
  if (!bytes.empty()) std::memcpy(copy, bytes.data(), bytes.size());
  zip_source_t* source = zip_source_buffer_create(copy, bytes.size(), 1, error);
  if (source == nullptr) std::free(copy);
  return source;
}

// Everything a source holds, read from its start.
std::optional<std::string> DrainSource(zip_source_t* source) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_source_open(source) < 0) return std::nullopt;
  std::string bytes;
  if (zip_source_stat(source, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE)) bytes.reserve(stat.size);
  char buffer[1 << 16];
  zip_int64_t got = 0;
  while ((got = zip_source_read(source, buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<std::size_t>(got));
  zip_source_close(source);
  if (got < 0) return std::nullopt;
  return bytes;
}

}  // namespace

void ZipPackage::ArchiveCloser::operator()(zip* archive) const { zip_discard(archive); }

ZipPackage::ZipPackage(std::string_view bytes, zip* archive, const PackageLimits& limits)
    : bytes_(bytes), archive_(archive), limits_(limits) {}
ZipPackage::ZipPackage(ZipPackage&&) noexcept = default;
ZipPackage& ZipPackage::operator=(ZipPackage&&) noexcept = default;
ZipPackage::~ZipPackage() = default;

Outcome<ZipPackage> ZipPackage::Open(std::string_view bytes, const PackageLimits& limits) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = BorrowedSource(bytes, &error);
  if (source == nullptr) return Refused(PackageErrorCode::kNotAPackage, "", ZipMessage(&error));
  zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
  if (archive == nullptr) {
    zip_source_free(source);
    return Refused(PackageErrorCode::kNotAPackage, "", "not a zip archive (" + ZipMessage(&error) + ")");
  }
  zip_error_fini(&error);
  ZipPackage package(bytes, archive, limits);
  if (auto failure = package.IndexEntries()) return std::move(*failure);
  return package;
}

std::optional<PackageError> ZipPackage::IndexEntries() {
  const zip_int64_t count = zip_get_num_entries(archive_.get(), 0);
  if (count < 0) return Refused(PackageErrorCode::kNotAPackage, "", "the list of entries cannot be read");
  if (static_cast<std::uint64_t>(count) > limits_.maxEntries) {
    return Refused(PackageErrorCode::kTooManyEntries, "",
                   std::to_string(count) + " entries, more than the " + std::to_string(limits_.maxEntries) +
                       " a document may have");
  }
  entries_.reserve(static_cast<std::size_t>(count));
  std::uint64_t total = 0;
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive_.get(), static_cast<zip_uint64_t>(i), 0, &stat) < 0 || !(stat.valid & ZIP_STAT_NAME)) {
      return Refused(PackageErrorCode::kNotAPackage, "", "entry " + std::to_string(i) + " cannot be read");
    }
    PackageEntry entry{stat.name, stat.size, stat.comp_size};
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE) {
      return Refused(PackageErrorCode::kEncrypted, entry.name, "is encrypted; the document needs its password");
    }
    if (auto failure = CheckEntry(entry, total)) return failure;
    const std::size_t index = entries_.size();
    if (!indexByFoldedName_.emplace(FoldedName(entry.name), index).second) {
      return Refused(PackageErrorCode::kDuplicateName, entry.name, "appears twice in the package");
    }
    indexByName_.emplace(entry.name, index);
    entries_.push_back(std::move(entry));
  }
  return std::nullopt;
}

std::optional<PackageError> ZipPackage::CheckEntry(const PackageEntry& entry, std::uint64_t& total) const {
  if (auto reason = UnsafeNameReason(entry.name)) {
    return Refused(PackageErrorCode::kUnsafeName, entry.name, std::string(*reason));
  }
  if (entry.size > limits_.maxPartSize) {
    return Refused(PackageErrorCode::kPartTooLarge, entry.name,
                   "expands to " + Megabytes(entry.size) + ", more than the " + Megabytes(limits_.maxPartSize) +
                       " a part may hold");
  }
  total += entry.size;
  if (total > limits_.maxTotalSize) {
    return Refused(PackageErrorCode::kPackageTooLarge, entry.name,
                   "brings the package to more than the " + Megabytes(limits_.maxTotalSize) + " it may expand to");
  }
  if (entry.size > limits_.ratioFloor && entry.size / std::max<std::uint64_t>(entry.compressedSize, 1) > limits_.maxRatio) {
    return Refused(PackageErrorCode::kSuspiciousRatio, entry.name,
                   "expands " + std::to_string(entry.size / std::max<std::uint64_t>(entry.compressedSize, 1)) +
                       " times, more than documents do (a zip bomb?)");
  }
  return std::nullopt;
}

std::size_t ZipPackage::Find(std::string_view name) const {
  if (auto exact = indexByName_.find(std::string(name)); exact != indexByName_.end()) return exact->second;
  if (auto folded = indexByFoldedName_.find(FoldedName(name)); folded != indexByFoldedName_.end()) return folded->second;
  return kNone;
}

Outcome<std::string> ZipPackage::Read(std::string_view name) const {
  const std::size_t index = Find(name);
  if (index == kNone) return Refused(PackageErrorCode::kMissingPart, std::string(name), "is missing from the package");
  const PackageEntry& entry = entries_[index];
  zip_file_t* file = zip_fopen_index(archive_.get(), index, 0);
  if (file == nullptr) return Refused(PackageErrorCode::kDamagedPart, entry.name, "cannot be opened: " + ArchiveMessage(archive_.get()));
  // One byte more than declared: a part that delivers it lied about its size.
  std::string bytes(entry.size + 1, '\0');
  std::uint64_t filled = 0;
  zip_int64_t got = 0;
  while (filled < bytes.size() && (got = zip_fread(file, bytes.data() + filled, bytes.size() - filled)) > 0) {
    filled += static_cast<std::uint64_t>(got);
  }
  const std::string message = got < 0 ? zip_file_strerror(file) : "";
  zip_fclose(file);
  if (got < 0) return Refused(PackageErrorCode::kDamagedPart, entry.name, "does not expand: " + message);
  if (filled != entry.size) {
    return Refused(PackageErrorCode::kDamagedPart, entry.name,
                   filled > entry.size ? "expands beyond its declared size" : "expands short of its declared size");
  }
  bytes.resize(entry.size);
  return bytes;
}

Outcome<std::string> ZipPackage::Rewrite(const std::vector<PartReplacement>& replacements) const {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = OwnedSource(bytes_, &error);
  if (source == nullptr) return Refused(PackageErrorCode::kWriteFailed, "", "no memory for the package: " + ZipMessage(&error));
  zip_t* archive = zip_open_from_source(source, 0, &error);
  if (archive == nullptr) {
    zip_source_free(source);
    return Refused(PackageErrorCode::kWriteFailed, "", ZipMessage(&error));
  }
  zip_error_fini(&error);
  // The archive frees the source when closed; keep it to read the result.
  zip_source_keep(source);
  for (const auto& [name, content] : replacements) {
    const std::size_t index = Find(name);
    zip_source_t* part = index == kNone ? nullptr : zip_source_buffer(archive, content.data(), content.size(), 0);
    zip_stat_t original;
    zip_stat_init(&original);
    // The part keeps its original's time rather than taking the moment of
    // the conversion, so the same document converts to the same bytes on
    // every run, here and in the browser. libzip drops the level asked for
    // when the method is the one the part had (deflate): "default", which it
    // writes as deflate, keeps it.
    if (part == nullptr || zip_stat_index(archive, index, ZIP_FL_UNCHANGED, &original) < 0 ||
        zip_file_replace(archive, index, part, 0) < 0 ||
        ((original.valid & ZIP_STAT_MTIME) && zip_file_set_mtime(archive, index, original.mtime, 0) < 0) ||
        zip_set_file_compression(archive, index, ZIP_CM_DEFAULT, kDeflateLevel) < 0) {
      if (part != nullptr) zip_source_free(part);
      zip_discard(archive);
      zip_source_free(source);
      return Refused(PackageErrorCode::kWriteFailed, name, "cannot be replaced");
    }
  }
  if (zip_close(archive) < 0) {
    const std::string message = ArchiveMessage(archive);
    zip_discard(archive);
    zip_source_free(source);
    return Refused(PackageErrorCode::kWriteFailed, "", "the package cannot be assembled: " + message);
  }
  std::optional<std::string> bytes = DrainSource(source);
  zip_source_free(source);
  if (!bytes) return Refused(PackageErrorCode::kWriteFailed, "", "the assembled package cannot be read back");
  return std::move(*bytes);
}

}  // namespace maravelundi
