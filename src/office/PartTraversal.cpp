#include "office/PartTraversal.h"

namespace maravelundi {

std::vector<pugi::xml_node> CollectParagraphs(pugi::xml_node root,
                                              const std::function<bool(pugi::xml_node)>& isParagraph,
                                              const std::function<bool(pugi::xml_node)>& skipSubtree) {
  std::vector<pugi::xml_node> paragraphs;
  pugi::xml_node node = root;
  while (node) {
    const bool element = node.type() == pugi::node_element;
    if (element && isParagraph(node)) paragraphs.push_back(node);
    if (element && !skipSubtree(node) && node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node && node != root && !node.next_sibling()) node = node.parent();
    if (!node || node == root) break;
    node = node.next_sibling();
  }
  return paragraphs;
}

}  // namespace maravelundi
