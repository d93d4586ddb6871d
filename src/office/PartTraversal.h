#pragma once
// The paragraphs of an XML part in document order, found without recursion,
// with whole subtrees left out where a caller says (the fallback copy of a
// text box, the notes of a flat text). Collected before any is rewritten:
// rewriting moves runs but never a paragraph.

#include <functional>
#include <vector>

#include <pugixml.hpp>

namespace maravelundi {

std::vector<pugi::xml_node> CollectParagraphs(pugi::xml_node root,
                                              const std::function<bool(pugi::xml_node)>& isParagraph,
                                              const std::function<bool(pugi::xml_node)>& skipSubtree);

}  // namespace maravelundi
