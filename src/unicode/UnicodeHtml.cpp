#include "unicode/UnicodeHtml.h"

#include <string_view>

#include "unicode/UnicodeBody.h"

namespace maravelundi {
namespace {

constexpr std::string_view kHead =
    "<html>\r\n"
    "<head>\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
    "</head>\r\n"
    "<body>";

// The closing font tag has no opening one; readers of earlier results may
// expect the tail exactly so, and browsers ignore it.
constexpr std::string_view kTail =
    "\r\n"
    "</font></body>\r\n"
    "</html>\r\n";

}  // namespace

void AppendUnicodeHtml(const Document& mltt, Utf8Builder& out, ProgressSink* progress,
                       const UnicodeOptions& options) {
  out.AppendAscii(kHead);
  AppendUnicodeBody(mltt, out, progress, options);
  out.AppendAscii(kTail);
}

std::string BuildUnicodeHtml(const Document& mltt, ProgressSink* progress, const UnicodeOptions& options) {
  Utf8Builder out;
  AppendUnicodeHtml(mltt, out, progress, options);
  return out.Take();
}

}  // namespace maravelundi
