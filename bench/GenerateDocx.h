#pragma once
// The same realistic documents as Word packages: each paragraph a w:p, each
// stretch of one font a w:r naming that font, the way Word writes a document
// typed in Rachana fonts.

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "transcode/Transcoder.h"

namespace maravelundi::bench {

// The body of word/document.xml for a document of about `textBytes` bytes of
// Rich Text: the same text and fonts.
std::string GenerateDocumentXml(Generation generation, std::size_t textBytes, std::uint64_t seed);

// Appends a character to XML text, escaped; control characters, which no
// XML text may hold, are left out.
void AppendEscaped(std::string& xml, char16_t ch);

// Writes a zip package of these parts (name, bytes); false if libzip could
// not.
bool WritePackage(const std::filesystem::path& path, const std::vector<std::pair<std::string, std::string>>& parts);

// Writes a whole .docx package around `documentXml`; false if libzip could
// not.
bool WriteDocx(const std::filesystem::path& path, const std::string& documentXml);

}  // namespace maravelundi::bench
