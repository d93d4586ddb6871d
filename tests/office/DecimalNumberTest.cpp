#include "office/DecimalNumber.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <random>
#include <string>

namespace maravelundi {
namespace {

struct PrefixCase {
  std::string_view text;
  std::optional<double> value;  // nothing: no number at the start
  std::size_t length = 0;
};

TEST(DecimalNumberTest, ReadsTheLongestDecimalPrefix) {
  const PrefixCase cases[] = {
      {"12", 12, 2},          {"12.5pt", 12.5, 4},   {"-0.25", -0.25, 5},   {".5", 0.5, 2},
      {"5.", 5, 2},           {"1e2", 100, 3},       {"1E-1cm", 0.1, 4},    {"1e", 1, 1},
      {"1e+", 1, 1},          {"2.5e+1in", 25, 6},   {"007", 7, 3},         {"", std::nullopt},
      {"pt", std::nullopt},   {".", std::nullopt},   {"-", std::nullopt},   {"-.", std::nullopt},
      {"+1", std::nullopt},   {" 1", std::nullopt},  {"inf", std::nullopt}, {"nan", std::nullopt},
  };
  for (const PrefixCase& c : cases) {
    const std::optional<DecimalPrefix> read = ReadDecimalPrefix(c.text);
    ASSERT_EQ(read.has_value(), c.value.has_value()) << c.text;
    if (!read) continue;
    EXPECT_EQ(read->value, *c.value) << c.text;
    EXPECT_EQ(read->length, c.length) << c.text;
  }
}

// The page converts through the stream, the command line through charconv:
// both must round every decimal to the same double, the hard cases (many
// digits, halfway between two doubles, tiny and huge exponents) included.
TEST(DecimalNumberTest, TheStreamRoundsAsCharconvDoes) {
  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<double> mantissa(-1000, 1000);
  std::uniform_int_distribution<int> exponent(-300, 300);
  std::vector<std::string> numbers = {"0.1", "2.675", "9007199254740993", "1.0000000000000001110223024625156540",
                                      "4.9406564584124654e-324", "1.7976931348623157e308", "0.30000000000000004"};
  for (int i = 0; i < 2000; ++i) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*fe%d", i % 20, mantissa(random), exponent(random));
    numbers.emplace_back(text);
  }
  for (const std::string& number : numbers) {
    EXPECT_EQ(DecimalByStream(number), DecimalByCharconv(number)) << number;
  }
}

}  // namespace
}  // namespace maravelundi
