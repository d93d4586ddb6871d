#pragma once
// The text of WordprocessingML paragraphs read as one story, as the flat
// outputs read a body: each run's characters in the fonts Word draws them
// in, paragraphs ended by CR LF. Each character remembers the run child it
// came from, so that the story, converted as a whole, can be written back
// where it stands: a run with converted text becomes runs of the converted
// text (copies of it in the converted font) and of what it keeps (copies of
// it as it was), and every other run, and everything in a run that is not
// text (a drawing, a field character, a note reference), stays where it was.

#include <cstdint>
#include <vector>

#include <pugixml.hpp>

#include "convert/ConversionProfile.h"
#include "convert/FontClassifier.h"
#include "convert/InPlaceConversion.h"
#include "office/WordRunProperties.h"
#include "office/WordStyles.h"
#include "office/XmlNamespace.h"
#include "richtext/Document.h"

namespace maravelundi {

struct WordPartContext {
  const XmlNamespace& w;
  const WordStyles& styles;
  const ThemeFonts& theme;
  const ConversionProfile& profile;
  FontClassifier& fonts;  // the document's, shared by its parts
};

class WordStory {
 public:
  explicit WordStory(const WordPartContext& context) : context_(context) {}

  // Appends the paragraph's current text and its end. Its deleted text goes
  // to `deleted`, a story of its own that no flat output reads, each
  // deleted stretch ended there as a paragraph; without one it is left out.
  void AppendParagraph(pugi::xml_node paragraph, WordStory* deleted = nullptr);

  const Document& Text() const { return text_; }
  Document TakeText() { return std::move(text_); }

  // Converts the story and writes the result in place of its legacy text.
  // True when anything changed.
  bool Convert(ProgressSink* progress = nullptr);

 private:
  friend class WordStoryCollector;
  friend class WordRunRewriter;

  // A textual child of a run, and its characters in the story.
  struct Child {
    pugi::xml_node node;
    TextIndex begin, end;
  };
  struct Run {
    pugi::xml_node node;
    WordRunProperties effective;
    bool deleted;
    std::uint32_t firstChild, childEnd;  // in children_
  };
  // A paragraph end: CR LF at `at`. Text placed there follows the story's
  // run before it.
  struct End {
    TextIndex at;
    pugi::xml_node paragraph;
  };
  // The story in order: a run (index into runs_) or an end (into ends_).
  struct Segment {
    bool end;
    std::uint32_t index;
  };

  void AppendEnd(pugi::xml_node paragraph, const CharFormat& format);

  const WordPartContext& context_;
  Document text_;
  std::vector<bool> replaceable_;
  std::vector<Child> children_;
  std::vector<Run> runs_;
  std::vector<End> ends_;
  std::vector<Segment> segments_;
};

}  // namespace maravelundi
