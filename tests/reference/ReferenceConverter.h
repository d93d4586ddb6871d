#pragma once
// Slow, literal re-statements of the conversion passes, written as the
// passes are described in words: every character goes through the caret of a
// rich text control model, positions count from 1, the Unicode rules are one
// if/else chain tried in order. They serve as the oracle of the property tests
// and are never used by the product.

#include <array>
#include <string>
#include <string_view>

#include "richtext/Document.h"

namespace maravelundi::reference {

// Stage one: characters in a Rachana font of the generation go through that
// font's glyph table into "ML-TTRevathi"; others are copied with their font.
Document TranscodeVersion2(const Document& source);
Document TranscodeVersion7(const Document& source);

// Membership in the two ML-TT sign classes: true for the empty string or for
// a contiguous run of the class string.
bool IsPostBaseSign(std::u16string_view s);
bool IsPreBaseSign(std::u16string_view s);

// The ISM finishing pass: break marks between unbound letter codes, inserted
// through the caret while the walk re-reads the growing text.
Document FinishIsmText(const Document& mltt);

// How often each of the 29 ML-TT rules fired (index = rule number; 0 counts
// other-font positions).
using RuleHits = std::array<long, 30>;

// The Unicode walk. The body as 16-bit units, with copied text already
// escaped ('&', '<', '>') and markup left as it is.
std::u16string UnicodeBody16(const Document& mltt, RuleHits* hits = nullptr);

// UTF-8 of 16-bit units: a high surrogate directly followed by a low one is
// one code point, any other surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units);

// The body in UTF-8.
std::string UnicodeBody(const Document& mltt);
// The whole HTML document, every line ended by CR LF.
std::string UnicodeHtml(const Document& mltt);
// The bytes of the HTML output file: the document written as one print line.
std::string UnicodeHtmlFile(const Document& mltt);

}  // namespace maravelundi::reference
