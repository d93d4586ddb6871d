// Where conversions put their results: a stamp of the local time, and a new
// name rather than a replaced file.

#include <gtest/gtest.h>

#include <set>

#include "convert/TemporaryOutputPath.h"

namespace maravelundi {
namespace {

TEST(TemporaryOutputPath, StampsAndNeverReplaces) {
  std::tm time{};
  time.tm_mday = 6, time.tm_hour = 23, time.tm_min = 5, time.tm_sec = 9;
  EXPECT_EQ(TimeStamp(time), "06230509");
  std::set<std::filesystem::path> taken;
  const auto exists = [&](const std::filesystem::path& p) { return taken.count(p) > 0; };
  for (const char* expected : {"/t/06230509.html", "/t/06230509-2.html", "/t/06230509-3.html"}) {
    const auto path = TemporaryOutputPath("/t", time, ".html", exists);
    EXPECT_EQ(path, expected);
    taken.insert(path);
  }
  EXPECT_EQ(TemporaryOutputPath("/t", time, ".rtf", exists), "/t/06230509.rtf");
}

}  // namespace
}  // namespace maravelundi
