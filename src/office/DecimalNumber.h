#pragma once
// Decimal numbers as XML attributes write them ("12.5", "-0.25", "1e2"),
// read the way std::from_chars reads them: the longest prefix in plain
// decimal notation, whatever the locale. Where the standard library has no
// std::from_chars for doubles (the page's, compiled to WebAssembly), the
// digits the prefix holds are converted through a stream in the classic
// locale instead, which rounds them to the same double.

#include <cstddef>
#include <optional>
#include <string_view>

namespace maravelundi {

struct DecimalPrefix {
  double value = 0;
  std::size_t length = 0;  // the characters of `text` the number takes
};

// The number `text` begins with, or nothing when it begins with none.
std::optional<DecimalPrefix> ReadDecimalPrefix(std::string_view text);

// The two conversions of a number already known to be in decimal notation,
// for the tests that hold them to each other.
double DecimalByCharconv(std::string_view digits);
double DecimalByStream(std::string_view digits);

}  // namespace maravelundi
