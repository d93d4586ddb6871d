#pragma once
// The ISM output's finishing pass: a break mark (0x2D) goes between two letter
// codes of ML-TT text wherever no sign binds them, so that each glyph cluster
// stands apart. The sign classes of the ML-TT encoding live here too.

#include <cstdint>
#include <string_view>
#include <vector>

#include "richtext/Document.h"
#include "richtext/Progress.h"

namespace maravelundi {

inline constexpr char16_t kBreakMark = u'-';

// Post-base signs stand after their consonant: the vowel signs, the
// chandrakkala, anusvara, visarga, the ya and va signs, and the space.
inline constexpr std::u16string_view kPostBaseSigns = u"mnopqruvwxyz ";
// Pre-base signs stand before it: vowel signs E and EE, and the ra sign.
inline constexpr std::u16string_view kPreBaseSigns = u"st{";

// True when `s` is empty or occurs as a contiguous run inside the class.
bool IsPostBaseSign(std::u16string_view s);
bool IsPreBaseSign(std::u16string_view s);

// A letter code is any character above '@' read as a signed 16-bit value:
// ML-TT letters, conjuncts and signs, but not digits, space or punctuation
// below 'A' (the break mark among them).
inline bool IsLetterCode(char16_t ch) { return static_cast<std::int16_t>(ch) > 0x40; }

// The document with a break mark after every character in an "ML-" font that
// is followed by an unbound letter code; each mark takes the font of the
// character before it. Running it on its own result changes nothing.
// With `sourceOf`, which holds for each character of `mltt` where it came
// from, hands back the same for the result: a mark comes from where the
// character before it came from.
Document FinishIsmText(const Document& mltt, ProgressSink* progress = nullptr,
                       std::vector<TextIndex>* sourceOf = nullptr);

}  // namespace maravelundi
