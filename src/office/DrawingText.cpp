#include "office/DrawingText.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "convert/InPlaceConversion.h"
#include "office/ConvertedFonts.h"
#include "package/XmlPart.h"
#include "richtext/Document.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

// `local` in the namespace prefix `like` is spelled with ("a:r" beside "a:p").
std::string SameSpelling(pugi::xml_node like, std::string_view local) {
  const std::string_view name = like.name();
  const std::size_t colon = name.find(':');
  return (colon == std::string_view::npos ? std::string() : std::string(name.substr(0, colon + 1))) + std::string(local);
}

std::string TypefaceOf(pugi::xml_node properties) { return ChildByLocalName(properties, "latin").attribute("typeface").value(); }

// The children of a:rPr in the order the schema requires; PowerPoint will
// not open a part whose run properties are out of order.
constexpr std::array<std::string_view, 22> kRunPropertyOrder = {
    "ln",        "noFill", "solidFill", "gradFill", "blipFill", "pattFill",   "grpFill",        "effectLst",
    "effectDag", "highlight", "uLnTx",  "uLn",      "uFillTx",  "uFill",      "latin",          "ea",
    "cs",        "sym",    "hlinkClick", "hlinkMouseOver", "rtl", "extLst"};

std::size_t RankOf(std::string_view local) {
  const auto found = std::find(kRunPropertyOrder.begin(), kRunPropertyOrder.end(), local);
  return static_cast<std::size_t>(std::distance(kRunPropertyOrder.begin(), found));  // unknown: last
}

// Sets a font slot (a:latin, a:cs) of run properties to `font` alone: the
// panose, pitch and character set the old element described its legacy
// font by would misdescribe the new one.
void SetTypeface(pugi::xml_node properties, std::string_view local, const std::string& font) {
  pugi::xml_node slot = ChildByLocalName(properties, local);
  if (!slot) {
    const std::size_t rank = RankOf(local);
    pugi::xml_node before;
    for (pugi::xml_node child : properties.children()) {
      if (child.type() == pugi::node_element && RankOf(LocalName(child.name())) > rank) {
        before = child;
        break;
      }
    }
    const std::string name = SameSpelling(properties, local);
    slot = before ? properties.insert_child_before(name.c_str(), before) : properties.append_child(name.c_str());
  }
  slot.remove_attributes();
  slot.append_attribute("typeface").set_value(font.c_str());
}

// XML allows no control character but the tab, line feed and carriage
// return; converted text never holds one, hostile input may.
std::string TextOf(std::u16string_view text) {
  std::u16string clean;
  clean.reserve(text.size());
  for (char16_t ch : text) {
    if (ch >= 0x20 || ch == u'\t' || ch == u'\n' || ch == u'\r') clean.push_back(ch);
  }
  return ToUtf8(clean);
}

// What holds text in a paragraph, and its characters in the story.
struct Item {
  enum class Kind { kRun, kField, kBreak, kEnd };
  Kind kind;
  pugi::xml_node node;       // the a:r, a:fld or a:br; the a:p for an end
  pugi::xml_node lastText;   // for an end: the paragraph's last run or field
  TextIndex begin, end;
};

// A stretch of what an item becomes: converted text in one of the placed
// fonts, or text kept in the item's own properties.
struct Segment {
  bool converted;
  std::uint8_t font;
  std::u16string text;
};

class TextBodyStory {
 public:
  TextBodyStory(pugi::xml_node txBody, const std::vector<const LevelFonts*>& inherited, const DrawingTextContext& context)
      : context_(context), own_(ReadLevelFonts(ChildByLocalName(txBody, "lstStyle"))) {
    levels_.push_back(&own_);
    levels_.insert(levels_.end(), inherited.begin(), inherited.end());
    for (pugi::xml_node paragraph = txBody.first_child(); paragraph; paragraph = paragraph.next_sibling()) {
      if (HasLocalName(paragraph, "p")) AddParagraph(paragraph);
    }
  }

  bool Convert() {
    if (!legacy_) return false;
    const PlacedText placed = ConvertInPlace(story_, replaceable_, context_.profile);
    PlacedCursor cursor(placed);
    bool changed = false;
    for (const Item& item : items_) {
      std::vector<Segment> segments;
      bool touched = false;
      for (TextIndex i = item.begin; i < item.end; ++i) {
        for (const PlacedRun& piece : cursor.RunsAt(i)) {
          if (piece.text.empty()) continue;
          touched = true;
          Add(segments, piece.font != PlacedText::kKept, piece.font, piece.text);
        }
        if (placed.replaced[i]) {
          touched = true;
        } else if (item.kind == Item::Kind::kRun || item.kind == Item::Kind::kField) {
          Add(segments, false, 0, std::u16string_view(stored_).substr(i, 1));
        }
      }
      if (!touched) continue;
      changed = true;
      Write(item, segments, placed);
    }
    return changed;
  }

 private:
  static void Add(std::vector<Segment>& segments, bool converted, std::uint8_t font, std::u16string_view text) {
    if (!segments.empty() && segments.back().converted == converted && (!converted || segments.back().font == font)) {
      segments.back().text += text;
    } else {
      segments.push_back({converted, font, std::u16string(text)});
    }
  }

  // The typeface the paragraph's level inherits, theme references resolved.
  std::string LevelFont(pugi::xml_node paragraph) const {
    const int level = std::clamp(ChildByLocalName(paragraph, "pPr").attribute("lvl").as_int(), 0, int{kTextLevels} - 1);
    for (const LevelFonts* fonts : levels_) {
      if (fonts != nullptr && !(*fonts)[static_cast<std::size_t>(level)].empty()) {
        return ResolveTypeface((*fonts)[static_cast<std::size_t>(level)], context_.theme);
      }
    }
    return {};
  }

  void AddParagraph(pugi::xml_node paragraph) {
    const std::string inherited = LevelFont(paragraph);
    pugi::xml_node lastText;
    for (pugi::xml_node child = paragraph.first_child(); child; child = child.next_sibling()) {
      Item::Kind kind;
      if (HasLocalName(child, "r")) {
        kind = Item::Kind::kRun;
      } else if (HasLocalName(child, "fld")) {
        kind = Item::Kind::kField;
      } else if (HasLocalName(child, "br")) {
        kind = Item::Kind::kBreak;
      } else {
        continue;
      }
      const std::string own = TypefaceOf(ChildByLocalName(child, "rPr"));
      const std::string font = own.empty() ? inherited : ResolveTypeface(own, context_.theme);
      const bool legacy = !font.empty() && context_.classifier.Converted(font);
      const std::u16string text = kind == Item::Kind::kBreak ? u"\n" : FromUtf8(ChildByLocalName(child, "t").child_value());
      if (text.empty()) continue;
      if (kind != Item::Kind::kBreak) {
        legacy_ |= legacy;
        lastText = child;
      }
      Append(text, font, legacy, kind != Item::Kind::kBreak, Item{kind, child, {}, 0, 0});
    }
    Append(u"\r\n", inherited, false, false, Item{Item::Kind::kEnd, paragraph, lastText, 0, 0});
  }

  void Append(std::u16string_view text, const std::string& font, bool legacy, bool replaceable, Item item) {
    CharFormat format;
    format.fontName = font;
    format.sourceTag = static_cast<std::uint32_t>(items_.size());
    item.begin = static_cast<TextIndex>(story_.Size());
    // A legacy font's text is read as the glyphs its codes stand for, also
    // when stored as the symbol-font characters U+F020..U+F0FF.
    std::u16string glyphs(text);
    if (legacy) std::transform(glyphs.begin(), glyphs.end(), glyphs.begin(), GlyphOfStoredChar);
    story_.Append(glyphs, story_.Intern(format));
    stored_.append(text);
    replaceable_.resize(story_.Size(), replaceable);
    item.end = static_cast<TextIndex>(story_.Size());
    items_.push_back(item);
  }

  // A new run before `before` in `parent` (appended when null): the
  // properties copied from `properties` (none when null), its text, and,
  // when converted, the converted font in the Latin and complex-script slots.
  pugi::xml_node NewRun(pugi::xml_node parent, pugi::xml_node before, pugi::xml_node properties, const Segment& segment,
                        const PlacedText& placed) {
    const std::string name = SameSpelling(parent, "r");
    pugi::xml_node run = before ? parent.insert_child_before(name.c_str(), before) : parent.append_child(name.c_str());
    pugi::xml_node copied;
    if (properties) {
      copied = run.append_copy(properties);
    } else if (segment.converted) {
      copied = run.append_child(SameSpelling(parent, "rPr").c_str());
    }
    if (segment.converted) SetConverted(copied, placed.fonts[segment.font]);
    run.append_child(SameSpelling(parent, "t").c_str()).text().set(TextOf(segment.text).c_str());
    return run;
  }

  static void SetConverted(pugi::xml_node properties, const std::string& font) {
    SetTypeface(properties, "latin", font);
    SetTypeface(properties, "cs", font);
  }

  void Write(const Item& item, const std::vector<Segment>& segments, const PlacedText& placed) {
    switch (item.kind) {
      case Item::Kind::kRun: {
        const pugi::xml_node paragraph = item.node.parent();
        for (const Segment& segment : segments) NewRun(paragraph, item.node, ChildByLocalName(item.node, "rPr"), segment, placed);
        pugi::xml_node(paragraph).remove_child(item.node);
        break;
      }
      case Item::Kind::kField: {
        // A field is one element whatever its text: the text in the font of
        // its first converted piece, as PowerPoint will show it until it
        // updates the field.
        std::u16string text;
        const Segment* converted = nullptr;
        for (const Segment& segment : segments) {
          text += segment.text;
          if (segment.converted && converted == nullptr) converted = &segment;
        }
        pugi::xml_node field = item.node;
        pugi::xml_node t = ChildByLocalName(field, "t");
        if (!t) t = field.append_child(SameSpelling(field, "t").c_str());
        t.text().set(TextOf(text).c_str());
        if (converted != nullptr) {
          pugi::xml_node properties = ChildByLocalName(field, "rPr");
          if (!properties) properties = field.prepend_child(SameSpelling(field, "rPr").c_str());
          SetConverted(properties, placed.fonts[converted->font]);
        }
        break;
      }
      case Item::Kind::kBreak:
        // Text placed at a line break goes before it, in the break's properties.
        for (const Segment& segment : segments) {
          NewRun(item.node.parent(), item.node, ChildByLocalName(item.node, "rPr"), segment, placed);
        }
        break;
      case Item::Kind::kEnd: {
        // Text placed at a paragraph's end (a sign typed last) follows its
        // last text, in that text's properties, before a:endParaRPr.
        const pugi::xml_node before = ChildByLocalName(item.node, "endParaRPr");
        for (const Segment& segment : segments) {
          NewRun(item.node, before, ChildByLocalName(item.lastText, "rPr"), segment, placed);
        }
        break;
      }
    }
  }

  const DrawingTextContext& context_;
  const LevelFonts own_;  // the body's own list style
  std::vector<const LevelFonts*> levels_;
  Document story_;
  std::u16string stored_;  // the characters as the part stores them, per story character
  std::vector<bool> replaceable_;
  std::vector<Item> items_;
  bool legacy_ = false;
};

}  // namespace

LevelFonts ReadLevelFonts(pugi::xml_node listStyle) {
  LevelFonts fonts;
  if (!listStyle) return fonts;
  const std::string fallback = TypefaceOf(ChildByLocalName(ChildByLocalName(listStyle, "defPPr"), "defRPr"));
  for (std::size_t level = 0; level < kTextLevels; ++level) {
    const std::string name = "lvl" + std::to_string(level + 1) + "pPr";
    fonts[level] = TypefaceOf(ChildByLocalName(ChildByLocalName(listStyle, name), "defRPr"));
    if (fonts[level].empty()) fonts[level] = fallback;
  }
  return fonts;
}

LevelFonts FontRefLevels(pugi::xml_node shapeStyle) {
  LevelFonts fonts;
  const std::string_view index = ChildByLocalName(shapeStyle, "fontRef").attribute("idx").value();
  const char* reference = index == "minor" ? "+mn-lt" : index == "major" ? "+mj-lt" : "";
  fonts.fill(reference);
  return fonts;
}

LevelFonts TableStyleLevels(pugi::xml_node tableStyle) {
  const pugi::xml_node text = ChildByLocalName(ChildByLocalName(tableStyle, "wholeTbl"), "tcTxStyle");
  const pugi::xml_node latin = ChildByLocalName(ChildByLocalName(text, "font"), "latin");
  if (!latin) return FontRefLevels(text);
  LevelFonts fonts;
  fonts.fill(latin.attribute("typeface").value());
  return fonts;
}

std::string ResolveTypeface(std::string_view typeface, const ThemeFonts& theme) {
  if (!typeface.starts_with('+')) return std::string(typeface);
  // "+mn-lt": the minor font's Latin typeface; "-ea" East Asian, "-cs" complex script.
  std::string themeValue;
  if (typeface.starts_with("+mn-")) {
    themeValue = "minor";
  } else if (typeface.starts_with("+mj-")) {
    themeValue = "major";
  } else {
    return std::string(typeface);
  }
  const std::string_view script = typeface.substr(4);
  themeValue += script == "ea" ? "EastAsia" : script == "cs" ? "Bidi" : "Latin";
  return theme.Resolve(themeValue).value_or("");
}

bool ConvertTextBody(pugi::xml_node txBody, const std::vector<const LevelFonts*>& inherited,
                     const DrawingTextContext& context) {
  return TextBodyStory(txBody, inherited, context).Convert();
}

}  // namespace maravelundi
