// The HTML document around the body, byte for byte.

#include <gtest/gtest.h>

#include "TestDocuments.h"
#include "unicode/UnicodeHtml.h"

namespace maravelundi {
namespace {

constexpr const char* kHead =
    "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n</head>\r\n<body>";
constexpr const char* kTail = "\r\n</font></body>\r\n</html>\r\n";

TEST(UnicodeHtml, EmptyDocumentHasAnEmptyBody) {
  EXPECT_EQ(BuildUnicodeHtml(Document()), std::string(kHead) + kTail);
}

TEST(UnicodeHtml, BodyFollowsTheBodyTagOnItsLine) {
  const Document doc = testing::Doc({{"ML-TTRevathi", "49 0D 0A 4B"}, {"Arial", "0D 0A"}});
  EXPECT_EQ(BuildUnicodeHtml(doc), std::string(kHead) + "&#3349;<p>\r\n&#3351;<p>\r\n<br>\r\n" + kTail);
}

}  // namespace
}  // namespace maravelundi
