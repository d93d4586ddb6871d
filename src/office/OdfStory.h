#pragma once
// The text of OpenDocument paragraphs (text:p, text:h) read as one story,
// as the flat outputs read a body: each piece of text in the font its styles
// give it, white space collapsed as a word processor collapses it,
// paragraphs ended by CR LF. Each character remembers the node it came from
// (a text node, a text:s, a tab or a line break), so that the story,
// converted as a whole, can be written back where it stands: converted text
// becomes spans of a converted style where its source stood, what a rewritten
// text node keeps is written again as plain text, and every element that is
// not text stays as and where it was.

#include <cstdint>
#include <vector>

#include <pugixml.hpp>

#include "convert/ConversionProfile.h"
#include "convert/FontClassifier.h"
#include "convert/InPlaceConversion.h"
#include "office/OdfConvertedStyles.h"
#include "office/OdfNames.h"
#include "office/OdfStyles.h"
#include "richtext/Document.h"

namespace maravelundi {

struct OdfPartContext {
  const OdfNames& names;
  const OdfStyleSheet& sheet;
  const ConversionProfile& profile;
  FontClassifier& fonts;  // the document's, shared by its parts
  const OdfContainerStyles* containers = nullptr;  // a spreadsheet's or presentation's
};

class OdfStory {
 public:
  explicit OdfStory(const OdfPartContext& context) : context_(context) {}

  // Appends the paragraph's text and its end.
  void AppendParagraph(pugi::xml_node paragraph);

  const Document& Text() const { return text_; }
  Document TakeText() { return std::move(text_); }

  // Converts the story and writes the result in place of its legacy text,
  // in spans of the styles `styles` makes. True when anything changed.
  bool Convert(OdfConvertedStyles& styles, ProgressSink* progress = nullptr);

 private:
  friend class OdfStoryCollector;
  friend class OdfStoryRewriter;

  // A node of the paragraph that stands for text, and its characters.
  struct Atom {
    pugi::xml_node node;
    OdfEffectiveText properties;
    TextIndex begin, end;
  };
  struct End {
    TextIndex at;
    pugi::xml_node paragraph;
  };
  struct Segment {
    bool end;
    std::uint32_t index;  // into ends_ or atoms_
  };

  const OdfPartContext& context_;
  Document text_;
  std::vector<bool> replaceable_;
  std::vector<Atom> atoms_;
  std::vector<End> ends_;
  std::vector<Segment> segments_;
};

}  // namespace maravelundi
