#pragma once
// How gtest shows the reader's codes in a failure: by name, not as bytes.

#include <ostream>

#include "richtext/RtfReader.h"

namespace maravelundi {

inline void PrintTo(ParseErrorCode code, std::ostream* out) {
  constexpr const char* kNames[] = {"Empty", "NotRtf", "UnclosedGroups", "TruncatedBinary", "NestingTooDeep",
                                    "TooLarge"};
  *out << kNames[static_cast<int>(code)];
}

inline void PrintTo(ReadWarningCode code, std::ostream* out) {
  constexpr const char* kNames[] = {"UnknownCodePage", "UnknownCharset",  "UndecodableBytes",
                                    "SkippedBinary",   "UnresolvedFont",  "StrayCloseBrace",
                                    "IgnoredAfterEnd", "SecondDocument", "TooManyWarnings"};
  *out << kNames[static_cast<int>(code)];
}

}  // namespace maravelundi
