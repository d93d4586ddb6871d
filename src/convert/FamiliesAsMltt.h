#pragma once
// The ML-TT outputs of a document typed in fonts of other legacy families
// ("ML-Nandini", "MLB-Karthika", ...): their text is read through the
// family's table into Unicode, as the Unicode outputs read it, and spelled
// again in the ML-TT encoding in "ML-TTRevathi", so that the whole document
// ends in one encoding.

#include <vector>

#include "richtext/Document.h"

namespace maravelundi {

// Replaces every stretch set in fonts of one such family, up to the next
// line end, by its ML-TT spelling. Each piece keeps the format of the source
// position it comes from (a moved sign its consonant's), with the font
// changed. A document without such fonts is left as it is, at the cost of a
// look at its formats. With `sourceOf`, which holds for each character of the
// document where it came from, hands back the same for the result: the
// ML-TT spelling of a cluster comes from where its first piece came from.
void ReencodeFamiliesAsMltt(Document& document, std::vector<TextIndex>* sourceOf = nullptr);

}  // namespace maravelundi
