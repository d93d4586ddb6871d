#include "richtext/CodePage.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>

#include "richtext/DoubleByte.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

struct CodePageRow {
  int codePage;
  const char* iconvName;  // as glibc's iconv knows it
};

constexpr std::array kCodePages = {
    CodePageRow{437, "CP437"},   CodePageRow{737, "CP737"},   CodePageRow{775, "CP775"},
    CodePageRow{850, "CP850"},   CodePageRow{852, "CP852"},   CodePageRow{855, "CP855"},
    CodePageRow{857, "CP857"},   CodePageRow{860, "CP860"},   CodePageRow{861, "CP861"},
    CodePageRow{862, "CP862"},   CodePageRow{863, "CP863"},   CodePageRow{864, "CP864"},
    CodePageRow{865, "CP865"},   CodePageRow{866, "CP866"},   CodePageRow{869, "CP869"},
    CodePageRow{874, "CP874"},   CodePageRow{932, "CP932"},   CodePageRow{936, "CP936"},
    CodePageRow{949, "CP949"},   CodePageRow{950, "CP950"},   CodePageRow{1250, "CP1250"},
    CodePageRow{1251, "CP1251"}, CodePageRow{1253, "CP1253"}, CodePageRow{1254, "CP1254"},
    CodePageRow{1255, "CP1255"}, CodePageRow{1256, "CP1256"}, CodePageRow{1257, "CP1257"},
    CodePageRow{1258, "CP1258"}, CodePageRow{1361, "JOHAB"},  CodePageRow{10000, "MACINTOSH"},
    // Mac Japanese is Shift-JIS with a few Apple symbols of its own; glibc
    // has no converter for it, and cp932 reads all of its text.
    CodePageRow{10001, "CP932"}, CodePageRow{10007, "MAC-CYRILLIC"}, CodePageRow{10029, "MAC-CENTRALEUROPE"},
    CodePageRow{10079, "MAC-IS"}, CodePageRow{65001, "UTF-8"},
};

const CodePageRow* FindCodePage(std::int64_t codePage) {
  const auto row = std::find_if(kCodePages.begin(), kCodePages.end(),
                                [&](const CodePageRow& r) { return r.codePage == codePage; });
  return row != kCodePages.end() ? &*row : nullptr;
}

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1));

// UTF-16LE as iconv writes it, read back unit by unit whatever the host's
// byte order.
void AppendUtf16Le(const char* begin, const char* end, std::u16string& out) {
  for (const char* p = begin; p + 1 < end; p += 2) {
    out.push_back(static_cast<char16_t>(static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1]) << 8));
  }
}

}  // namespace

bool IsDecodedCodePage(std::int64_t codePage) { return FindCodePage(codePage) != nullptr; }

CodePageDecoder::~CodePageDecoder() {
  for (const auto& [codePage, converter] : converters_) {
    if (converter != nullptr) iconv_close(static_cast<iconv_t>(converter));
  }
}

void* CodePageDecoder::ConverterFor(int codePage) {
  for (const auto& [page, converter] : converters_) {
    if (page == codePage) return converter;
  }
  void* converter = nullptr;
  if (const CodePageRow* row = FindCodePage(codePage)) {
    const iconv_t opened = iconv_open("UTF-16LE", row->iconvName);
    if (opened != kNoConverter) converter = opened;
  }
  converters_.emplace_back(codePage, converter);
  return converter;
}

DecodeReport CodePageDecoder::Append(int codePage, std::string_view bytes, std::u16string& out) {
  DecodeReport report;
  void* const handle = ConverterFor(codePage);
  if (handle == nullptr) {
    for (const char byte : bytes) out.push_back(GlyphChar(static_cast<std::uint8_t>(byte)));
    report.noConverter = true;
    return report;
  }
  const auto converter = static_cast<iconv_t>(handle);
  iconv(converter, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state for every piece
  std::array<char, 8192> buffer;
  // Hands over the characters a stateful converter (Vietnamese and Hebrew
  // hold back a base letter for its combining mark) still keeps.
  const auto drain = [&] {
    char* outPtr = buffer.data();
    std::size_t outLeft = buffer.size();
    iconv(converter, nullptr, nullptr, &outPtr, &outLeft);
    AppendUtf16Le(buffer.data(), outPtr, out);
  };
  // iconv's prototype takes `char**` for input it never writes.
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char* outPtr = buffer.data();
    std::size_t outLeft = buffer.size();
    const std::size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
    const int error = errno;
    AppendUtf16Le(buffer.data(), outPtr, out);
    if (result != static_cast<std::size_t>(-1)) continue;
    if (error == E2BIG && outPtr != buffer.data()) continue;
    // EILSEQ, or EINVAL for a sequence the end cuts short: no character
    // starts here. Mark it, step over it and go on afresh after it.
    drain();
    const std::size_t stepped = StepOverUndecodable(codePage, std::string_view(in, inLeft), out, report);
    in += stepped;
    inLeft -= stepped;
  }
  drain();
  return report;
}

std::size_t CodePageDecoder::StepOverUndecodable(int codePage, std::string_view rest, std::u16string& out,
                                                 DecodeReport& report) {
  const auto lead = static_cast<std::uint8_t>(rest[0]);
  const auto trail = rest.size() > 1 ? static_cast<std::uint8_t>(rest[1]) : std::uint8_t{0};
  if (rest.size() > 1 && IsDoubleBytePair(codePage, lead, trail)) {
    if (const auto userDefined = UserDefinedChar(codePage, lead, trail)) {
      out.push_back(*userDefined);
    } else {
      out.push_back(u'\uFFFD');
      ++report.undecodable;
    }
    return 2;
  }
  out.push_back(u'\uFFFD');
  ++report.undecodable;
  return 1;
}

}  // namespace maravelundi
