#include "office/DecimalNumber.h"

#include <charconv>
#include <locale>
#include <sstream>
#include <string>

namespace maravelundi {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t DigitsFrom(std::string_view text, std::size_t at) {
  std::size_t end = at;
  while (end < text.size() && IsDigit(text[end])) ++end;
  return end - at;
}

// The length of the decimal number `text` begins with: an optional minus,
// digits with an optional fraction (at least one digit in all), and an
// exponent when one with digits follows. 0 when there is none.
std::size_t DecimalLength(std::string_view text) {
  std::size_t at = text.starts_with('-') ? 1 : 0;
  const std::size_t whole = DigitsFrom(text, at);
  at += whole;
  std::size_t fraction = 0;
  if (at < text.size() && text[at] == '.') {
    fraction = DigitsFrom(text, at + 1);
    if (whole > 0 || fraction > 0) at += 1 + fraction;
  }
  if (whole == 0 && fraction == 0) return 0;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    std::size_t exponent = at + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    const std::size_t digits = DigitsFrom(text, exponent);
    if (digits > 0) at = exponent + digits;
  }
  return at;
}

}  // namespace

double DecimalByStream(std::string_view digits) {
  std::istringstream stream{std::string(digits)};
  stream.imbue(std::locale::classic());
  double value = 0;
  stream >> value;
  return value;
}

#if defined(__cpp_lib_to_chars)
double DecimalByCharconv(std::string_view digits) {
  double value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return value;
}
#else
double DecimalByCharconv(std::string_view digits) { return DecimalByStream(digits); }
#endif

std::optional<DecimalPrefix> ReadDecimalPrefix(std::string_view text) {
  const std::size_t length = DecimalLength(text);
  if (length == 0) return std::nullopt;
  return DecimalPrefix{DecimalByCharconv(text.substr(0, length)), length};
}

}  // namespace maravelundi
