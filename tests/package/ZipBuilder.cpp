#include "package/ZipBuilder.h"

#include <zip.h>

#include <cstring>
#include <ctime>
#include <stdexcept>

namespace maravelundi::test {
namespace {

std::string Drain(zip_source_t* source) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_source_open(source) < 0) throw std::runtime_error("cannot reopen the archive");
  std::string bytes;
  char buffer[1 << 16];
  zip_int64_t got = 0;
  while ((got = zip_source_read(source, buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<std::size_t>(got));
  zip_source_close(source);
  return bytes;
}

// An archive over `zip`'s bytes, for reading.
zip_t* OpenForReading(const std::string& zip) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(zip.data(), zip.size(), 0, &error);
  zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
  if (archive == nullptr) throw std::runtime_error("not a zip archive");
  return archive;
}

std::string ReadWhole(zip_t* archive, zip_int64_t index, zip_flags_t flags) {
  zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), flags);
  if (file == nullptr) throw std::runtime_error("cannot open the entry");
  std::string bytes;
  char buffer[1 << 16];
  zip_int64_t got = 0;
  while ((got = zip_fread(file, buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<std::size_t>(got));
  zip_fclose(file);
  return bytes;
}

}  // namespace

std::string BuildZip(const std::vector<ZipEntry>& entries) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
  if (archive == nullptr) throw std::runtime_error("cannot make an archive");
  zip_source_keep(target);
  for (const ZipEntry& entry : entries) {
    zip_source_t* data = zip_source_buffer(archive, entry.content.data(), entry.content.size(), 0);
    const zip_int64_t index = zip_file_add(archive, entry.name.c_str(), data, ZIP_FL_ENC_UTF_8);
    if (index < 0) throw std::runtime_error("cannot add " + entry.name + ": " + zip_strerror(archive));
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), entry.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    zip_file_set_dostime(archive, static_cast<zip_uint64_t>(index), kFixtureDosTime, kFixtureDosDate, 0);
    if (!entry.password.empty()) {
      zip_file_set_encryption(archive, static_cast<zip_uint64_t>(index), ZIP_EM_AES_256, entry.password.c_str());
    }
  }
  if (zip_close(archive) < 0) throw std::runtime_error(std::string("cannot close the archive: ") + zip_strerror(archive));
  std::string bytes = Drain(target);
  zip_source_free(target);
  return bytes;
}

std::string PatchName(std::string zip, std::string_view from, std::string_view to) {
  if (from.size() != to.size()) throw std::invalid_argument("names must be as long");
  for (std::size_t at = zip.find(from); at != std::string::npos; at = zip.find(from, at + to.size())) {
    zip.replace(at, from.size(), to);
  }
  return zip;
}

std::string PatchDeclaredSize(std::string zip, std::string_view name, std::uint32_t size) {
  // Central directory header: signature, ..., uncompressed size at 24, name
  // length at 28, name at 46.
  for (std::size_t at = zip.find("PK\x01\x02"); at != std::string::npos; at = zip.find("PK\x01\x02", at + 4)) {
    const auto u16 = [&](std::size_t offset) {
      return static_cast<std::size_t>(static_cast<unsigned char>(zip[at + offset]) |
                                      static_cast<unsigned char>(zip[at + offset + 1]) << 8);
    };
    if (std::string_view(zip).substr(at + 46, u16(28)) != name) continue;
    for (int k = 0; k < 4; ++k) zip[at + 24 + k] = static_cast<char>((size >> (8 * k)) & 0xFF);
  }
  return zip;
}

std::string StoredBytes(const std::string& zip, std::string_view name) {
  zip_t* archive = OpenForReading(zip);
  const zip_int64_t index = zip_name_locate(archive, std::string(name).c_str(), 0);
  std::string bytes = index < 0 ? "" : ReadWhole(archive, index, ZIP_FL_COMPRESSED);
  zip_discard(archive);
  return bytes;
}

std::uint32_t EntryDosTime(const std::string& zip, std::string_view name) {
  zip_t* archive = OpenForReading(zip);
  zip_stat_t stat;
  zip_stat_init(&stat);
  const bool found = zip_stat(archive, std::string(name).c_str(), 0, &stat) == 0;
  zip_discard(archive);
  if (!found) throw std::runtime_error("no entry " + std::string(name));
  // Back to the DOS fields, as the archive keeps them, in the local time
  // libzip read them in.
  std::tm local{};
  localtime_r(&stat.mtime, &local);
  const auto date = static_cast<std::uint32_t>(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
  const auto time = static_cast<std::uint32_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
  return date << 16 | time;
}

std::vector<std::string> EntryNames(const std::string& zip) {
  zip_t* archive = OpenForReading(zip);
  std::vector<std::string> names;
  for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
    names.emplace_back(zip_get_name(archive, static_cast<zip_uint64_t>(i), 0));
  }
  zip_discard(archive);
  return names;
}

std::string ReadEntry(const std::string& zip, std::string_view name) {
  zip_t* archive = OpenForReading(zip);
  const zip_int64_t index = zip_name_locate(archive, std::string(name).c_str(), 0);
  std::string bytes = index < 0 ? "" : ReadWhole(archive, index, 0);
  zip_discard(archive);
  return bytes;
}

}  // namespace maravelundi::test
