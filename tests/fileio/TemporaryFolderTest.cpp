// The temporary folder the environment names, where the window writes its
// results and LibreOffice gets a private folder.

#include <gtest/gtest.h>

#include "fileio/TemporaryFolder.h"

namespace maravelundi {
namespace {

TEST(TemporaryFolder, FollowsTheEnvironment) {
  struct Case {
    EnvironmentEntries environment;
    std::filesystem::path expected;
  };
  const Case cases[] = {
      {{"TEMP=/home/u/tmp"}, "/home/u/tmp"},
      {{"Temp=/a"}, "/a"},
      {{"tEmP=/b", "TMPDIR=/c"}, "/b"},
      {{"TMPDIR=/c"}, "/c"},
      {{"TEMP=", "TMPDIR=/c"}, "/c"},     // empty: passed over
      {{"TEMP=/", "TMPDIR=/c"}, "/c"},    // never the root folder
      {{"TEMPORARY=/x", "TMPDIR=/c"}, "/c"},
      {{"tmpdir=/x"}, std::filesystem::temp_directory_path()},  // TMPDIR is spelled exactly
  };
  for (const Case& c : cases) EXPECT_EQ(TemporaryFolder(c.environment), c.expected) << c.environment[0];
}

}  // namespace
}  // namespace maravelundi
