#include "office/SheetDocument.h"

#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

#include "convert/FontClassifier.h"
#include "convert/InPlaceConversion.h"
#include "office/SheetHeaderFooter.h"
#include "package/OpcPackage.h"
#include "package/XmlPart.h"
#include "richtext/Document.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

// The qualified name of `local` in the namespace prefix `like` is in
// ("x:font" for "x:fonts"), so that new elements match the part's spelling.
std::string SameSpelling(pugi::xml_node like, const char* local) {
  const std::string_view name = like.name();
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? std::string(local) : std::string(name.substr(0, colon + 1)) + local;
}

// The workbook's styles: the name of each font, the font of each cell
// format, and the twins made for converted cells.
class SheetStyles {
 public:
  SheetStyles(pugi::xml_document* styles, const ConversionProfile& profile, FontClassifier& classifier)
      : styles_(styles), profile_(profile), classifier_(classifier) {
    if (styles_ == nullptr) return;
    const pugi::xml_node sheet = styles_->document_element();
    fonts_ = ChildByLocalName(sheet, "fonts");
    cellXfs_ = ChildByLocalName(sheet, "cellXfs");
    for (pugi::xml_node font : ChildrenByLocalName(fonts_, "font")) fontElements_.push_back(font);
    for (pugi::xml_node xf : ChildrenByLocalName(cellXfs_, "xf")) xfElements_.push_back(xf);
  }

  // The font name of a cell format, or empty.
  std::string FontOfStyle(std::size_t style) const {
    const pugi::xml_node font = FontElementOfStyle(style);
    return font ? ChildByLocalName(font, "name").attribute("val").value() : "";
  }
  pugi::xml_node FontElementOfStyle(std::size_t style) const {
    if (style >= xfElements_.size()) return {};
    const std::size_t font = xfElements_[style].attribute("fontId").as_uint();
    return font < fontElements_.size() ? fontElements_[font] : pugi::xml_node();
  }
  bool Converted(std::string_view fontName) { return !fontName.empty() && classifier_.Converted(fontName); }
  // The workbook's default font: its first, which its Normal style uses.
  std::string DefaultFont() const {
    return fontElements_.empty() ? "" : ChildByLocalName(fontElements_.front(), "name").attribute("val").value();
  }

  // The twin of a cell format, its font the converted text's: made once.
  std::size_t Twin(std::size_t style) {
    if (const auto found = twins_.find(style); found != twins_.end()) return found->second;
    const pugi::xml_node font = FontElementOfStyle(style);
    pugi::xml_node newFont = fonts_.append_copy(font);
    for (const char* dropped : {"charset", "family", "scheme"}) newFont.remove_child(ChildByLocalName(newFont, dropped));
    pugi::xml_node name = ChildByLocalName(newFont, "name");
    if (!name) name = newFont.append_child(SameSpelling(newFont, "name").c_str());
    name.attribute("val") ? name.attribute("val").set_value(std::string(profile_.ConvertedFont()).c_str())
                          : name.append_attribute("val").set_value(std::string(profile_.ConvertedFont()).c_str());
    fontElements_.push_back(newFont);
    SetCount(fonts_, fontElements_.size());
    pugi::xml_node xf = cellXfs_.insert_copy_after(xfElements_[style], xfElements_.back());
    xf.attribute("fontId").set_value(static_cast<unsigned>(fontElements_.size() - 1));
    if (!xf.attribute("applyFont")) xf.append_attribute("applyFont");
    xf.attribute("applyFont").set_value("1");
    xfElements_.push_back(xf);
    SetCount(cellXfs_, xfElements_.size());
    changed_ = true;
    return twins_[style] = xfElements_.size() - 1;
  }

  bool Changed() const { return changed_; }

 private:
  static void SetCount(pugi::xml_node list, std::size_t count) {
    if (list.attribute("count")) list.attribute("count").set_value(static_cast<unsigned>(count));
  }

  pugi::xml_document* styles_;
  const ConversionProfile& profile_;
  FontClassifier& classifier_;
  pugi::xml_node fonts_, cellXfs_;
  std::vector<pugi::xml_node> fontElements_, xfElements_;
  std::map<std::size_t, std::size_t> twins_;
  bool changed_ = false;
};

// A string's runs (an <si> or <is>): each run's text and its font, its own
// or the cell's.
struct StringRun {
  pugi::xml_node properties;  // the run's <rPr>, or none
  std::string font;
  std::u16string text;
};

std::vector<StringRun> RunsOf(pugi::xml_node string, const std::string& cellFont) {
  std::vector<StringRun> runs;
  if (const pugi::xml_node t = ChildByLocalName(string, "t")) runs.push_back({{}, cellFont, FromUtf8(t.child_value())});
  for (pugi::xml_node r : ChildrenByLocalName(string, "r")) {
    const pugi::xml_node properties = ChildByLocalName(r, "rPr");
    const pugi::xml_node rFont = ChildByLocalName(properties, "rFont");
    runs.push_back({properties, rFont ? rFont.attribute("val").value() : cellFont, FromUtf8(ChildByLocalName(r, "t").child_value())});
  }
  return runs;
}

// The string with its legacy text converted, written into `out` (an empty
// element of the same kind), or false when nothing in it is converted.
// `cellFont` is the cell's font element, whose properties a run without
// properties of its own takes.
bool ConvertString(pugi::xml_node string, const std::string& cellFontName, pugi::xml_node cellFont,
                   const ConversionProfile& profile, SheetStyles& styles, pugi::xml_node out) {
  const std::vector<StringRun> runs = RunsOf(string, cellFontName);
  bool legacy = false;
  for (const StringRun& run : runs) legacy |= styles.Converted(run.font) && !run.text.empty();
  if (!legacy) return false;
  Document story;
  std::vector<std::size_t> runOf;  // per character
  for (std::size_t r = 0; r < runs.size(); ++r) {
    CharFormat format;
    format.fontName = runs[r].font;
    format.sourceTag = static_cast<std::uint32_t>(r);
    story.Append(runs[r].text, story.Intern(format));
    runOf.insert(runOf.end(), runs[r].text.size(), r);
  }
  const std::vector<bool> replaceable(story.Size(), true);
  const PlacedText placed = ConvertInPlace(story, replaceable, profile);
  // The new runs: (source run, font, or empty for the run's own) and text.
  struct Piece {
    std::size_t run;
    std::string font;
    std::u16string text;
  };
  std::vector<Piece> pieces;
  const auto add = [&](std::size_t run, const std::string& font, std::u16string_view text) {
    if (text.empty()) return;
    if (!pieces.empty() && pieces.back().run == run && pieces.back().font == font) {
      pieces.back().text += text;
    } else {
      pieces.push_back({run, font, std::u16string(text)});
    }
  };
  PlacedCursor cursor(placed);
  const std::u16string_view text = story.Text();
  for (std::size_t i = 0; i < text.size(); ++i) {
    for (const PlacedRun& piece : cursor.RunsAt(i)) {
      add(runOf[i], piece.font == PlacedText::kKept ? std::string() : placed.fonts[piece.font], piece.text);
    }
    if (!placed.replaced[i]) add(runOf[i], std::string(), text.substr(i, 1));
  }
  for (const Piece& piece : pieces) {
    const StringRun& source = runs[piece.run];
    pugi::xml_node r = out.append_child(SameSpelling(out, "r").c_str());
    pugi::xml_node properties;
    if (source.properties) {
      properties = r.append_copy(source.properties);
    } else if (!piece.font.empty() && cellFont) {
      // The cell's font as the run's properties: its size, weight, colour.
      properties = r.append_child(SameSpelling(out, "rPr").c_str());
      for (pugi::xml_node property : cellFont.children()) {
        if (HasLocalName(property, "name")) continue;
        properties.append_copy(property);
      }
    }
    if (!piece.font.empty()) {
      if (!properties) properties = r.append_child(SameSpelling(out, "rPr").c_str());
      pugi::xml_node rFont = ChildByLocalName(properties, "rFont");
      if (!rFont) rFont = properties.prepend_child(SameSpelling(out, "rFont").c_str());
      if (!rFont.attribute("val")) rFont.append_attribute("val");
      rFont.attribute("val").set_value(piece.font.c_str());
      properties.remove_child(ChildByLocalName(properties, "charset"));
      properties.remove_child(ChildByLocalName(properties, "scheme"));
    }
    pugi::xml_node t = r.append_child(SameSpelling(out, "t").c_str());
    t.append_attribute("xml:space").set_value("preserve");
    t.text().set(ToUtf8(piece.text).c_str());
  }
  return true;
}

// Converts a string where it stands (an inline string, a comment's text):
// its text and runs replaced by the converted runs. False when nothing in
// it is converted.
bool ConvertStringInPlace(pugi::xml_node string, const std::string& cellFontName, pugi::xml_node cellFont,
                          const ConversionProfile& profile, SheetStyles& styles) {
  pugi::xml_document scratch;
  pugi::xml_node out = scratch.append_child(string.name());
  if (!ConvertString(string, cellFontName, cellFont, profile, styles, out)) return false;
  for (pugi::xml_node child = string.first_child(); child;) {
    const pugi::xml_node next = child.next_sibling();
    if (HasLocalName(child, "t") || HasLocalName(child, "r")) string.remove_child(child);
    child = next;
  }
  // Phonetic runs and properties, which must follow the text, stay after it.
  pugi::xml_node before = string.first_child();
  for (pugi::xml_node child : out.children()) {
    before ? string.insert_copy_before(child, before) : string.append_copy(child);
  }
  return true;
}

struct SheetParts {
  std::string workbook, styles, sharedStrings;
  std::vector<std::string> sheets;
};

Outcome<SheetParts> FindSheetParts(const ZipPackage& package, const PackageLimits& limits) {
  Outcome<MainPart> main = FindMainPart(package, limits);
  if (!main.Ok()) return main.Error();
  SheetParts parts;
  parts.workbook = main.Value().name;
  Outcome<std::vector<Relationship>> relationships = ReadRelationships(package, parts.workbook, limits);
  if (!relationships.Ok()) return relationships.Error();
  for (const Relationship& relationship : relationships.Value()) {
    if (relationship.external) continue;
    if (HasRelationshipType(relationship, "styles")) parts.styles = relationship.target;
    if (HasRelationshipType(relationship, "sharedStrings")) parts.sharedStrings = relationship.target;
    if (HasRelationshipType(relationship, "worksheet")) parts.sheets.push_back(relationship.target);
  }
  return parts;
}

// A part that may be missing: none then.
Outcome<XmlPart> LoadIfPresent(const ZipPackage& package, const std::string& name, const PackageLimits& limits) {
  if (name.empty() || !package.Contains(name)) return XmlPart();
  return LoadXmlPart(package, name, limits);
}

// The shared strings, converted for the cells that show them in a legacy
// font. A string every cell shows in one font is converted where it stands;
// one shown in several (a legacy font and Arial, say) gets a converted copy,
// appended, for the cells that need it, and the original stays for the rest.
class SharedStrings {
 public:
  SharedStrings(pugi::xml_document* table) : table_(table) {
    if (table_ == nullptr) return;
    root_ = table_->document_element();
    for (pugi::xml_node si : ChildrenByLocalName(root_, "si")) strings_.push_back(si);
    original_ = strings_.size();
    shownIn_.resize(original_, kNotShown);
  }

  // Records that a cell in `cellFontName` shows the string `index`: every
  // cell is noted before any string is converted.
  void NoteShown(std::size_t index, const std::string& cellFontName) {
    if (index >= original_) return;
    const std::uint32_t font = fontIds_.emplace(cellFontName, static_cast<std::uint32_t>(fontIds_.size())).first->second;
    std::uint32_t& shown = shownIn_[index];
    shown = shown == kNotShown || shown == font ? font : kShownInSeveral;
  }

  // The index of the string `index` converted for a cell in `cellFont`, or
  // nullopt when nothing in it is converted there.
  std::optional<std::size_t> ConvertedFor(std::size_t index, const std::string& cellFontName, pugi::xml_node cellFont,
                                          const ConversionProfile& profile, SheetStyles& styles) {
    if (table_ == nullptr || index >= original_) return std::nullopt;
    const auto key = std::make_pair(index, cellFontName);
    if (const auto found = converted_.find(key); found != converted_.end()) return found->second;
    std::optional<std::size_t> result;
    if (shownIn_[index] != kShownInSeveral) {
      if (ConvertStringInPlace(strings_[index], cellFontName, cellFont, profile, styles)) result = index;
    } else {
      pugi::xml_node scratch = scratch_.append_child(strings_[index].name());
      if (ConvertString(strings_[index], cellFontName, cellFont, profile, styles, scratch)) {
        strings_.push_back(root_.append_copy(scratch));
        result = strings_.size() - 1;
      }
      scratch_.remove_child(scratch);
    }
    changed_ |= result.has_value();
    converted_[key] = result;
    return result;
  }

  void UpdateCounts() {
    if (!changed_) return;
    if (root_.attribute("uniqueCount")) root_.attribute("uniqueCount").set_value(static_cast<unsigned>(strings_.size()));
  }
  bool Changed() const { return changed_; }

 private:
  static constexpr std::uint32_t kNotShown = 0xFFFFFFFF, kShownInSeveral = 0xFFFFFFFE;

  pugi::xml_document* table_;
  pugi::xml_node root_;
  std::vector<pugi::xml_node> strings_;
  std::size_t original_ = 0;
  std::vector<std::uint32_t> shownIn_;  // per original string: the font of every cell showing it, or a mark
  std::unordered_map<std::string, std::uint32_t> fontIds_;
  std::map<std::pair<std::size_t, std::string>, std::optional<std::size_t>> converted_;
  pugi::xml_document scratch_;
  bool changed_ = false;
};

// The string cells of a sheet: a shared string's index, or an inline
// string, with the cell's style.
template <typename Visit>
void ForEachStringCell(pugi::xml_document& sheet, Visit visit) {
  const pugi::xml_node data = ChildByLocalName(sheet.document_element(), "sheetData");
  for (pugi::xml_node row = data.first_child(); row; row = row.next_sibling()) {
    if (!HasLocalName(row, "row")) continue;
    for (pugi::xml_node cell = row.first_child(); cell; cell = cell.next_sibling()) {
      if (!HasLocalName(cell, "c")) continue;
      const std::string_view type = cell.attribute("t").value();
      if (type == "s" || type == "inlineStr") visit(cell, type == "s");
    }
  }
}

// Notes which fonts each shared string is shown in.
void NoteSharedStrings(pugi::xml_document& sheet, SharedStrings& shared, const SheetStyles& styles) {
  ForEachStringCell(sheet, [&](pugi::xml_node cell, bool isShared) {
    const pugi::xml_node value = ChildByLocalName(cell, "v");
    if (isShared && value) shared.NoteShown(value.text().as_uint(), styles.FontOfStyle(cell.attribute("s").as_uint()));
  });
}

// Each cell of a sheet: its string converted where its font, or its runs',
// is a legacy font.
bool ConvertSheet(pugi::xml_document& sheet, SharedStrings& shared, SheetStyles& styles,
                  const ConversionProfile& profile) {
  bool changed = false;
  ForEachStringCell(sheet, [&](pugi::xml_node cell, bool isShared) {
    const std::size_t style = cell.attribute("s").as_uint();
    const std::string cellFontName = styles.FontOfStyle(style);
    const pugi::xml_node cellFont = styles.FontElementOfStyle(style);
    bool converted = false;
    if (isShared) {
      pugi::xml_node value = ChildByLocalName(cell, "v");
      if (!value) return;  // a string cell without its string shows nothing
      const std::optional<std::size_t> index =
          shared.ConvertedFor(value.text().as_uint(), cellFontName, cellFont, profile, styles);
      if (index) {
        value.text().set(static_cast<unsigned>(*index));
        converted = true;
      }
    } else {
      converted = ConvertStringInPlace(ChildByLocalName(cell, "is"), cellFontName, cellFont, profile, styles);
    }
    if (converted && styles.Converted(cellFontName)) {
      if (!cell.attribute("s")) cell.append_attribute("s");
      cell.attribute("s").set_value(static_cast<unsigned>(styles.Twin(style)));
    }
    changed |= converted;
  });
  return changed;
}

// The sheet's headers and footers, each a string of codes.
bool ConvertHeadersAndFooters(pugi::xml_document& sheet, SheetStyles& styles, const ConversionProfile& profile) {
  bool changed = false;
  const std::string defaultFont = styles.DefaultFont();
  const auto isLegacy = [&](std::string_view font) { return styles.Converted(font); };
  for (pugi::xml_node text : ChildByLocalName(sheet.document_element(), "headerFooter").children()) {
    if (text.type() != pugi::node_element) continue;
    const std::optional<std::string> converted = ConvertHeaderFooter(text.child_value(), defaultFont, profile, isLegacy);
    if (!converted) continue;
    text.text().set(converted->c_str());
    changed = true;
  }
  return changed;
}

// A sheet's comments (notes): the runs of their text set in a legacy font.
// Their text has no cell font of its own; a run without a font is in the
// comment box's default one, which is never a legacy font.
bool ConvertComments(pugi::xml_document& comments, const ConversionProfile& profile, SheetStyles& styles) {
  bool changed = false;
  for (pugi::xml_node comment : ChildrenByLocalName(ChildByLocalName(comments.document_element(), "commentList"), "comment")) {
    changed |= ConvertStringInPlace(ChildByLocalName(comment, "text"), std::string(), {}, profile, styles);
  }
  return changed;
}

// The comment parts of a sheet, by its relationships.
Outcome<std::vector<std::string>> CommentPartsOf(const ZipPackage& package, const std::string& sheet,
                                                 const PackageLimits& limits) {
  Outcome<std::vector<Relationship>> relationships = ReadRelationships(package, sheet, limits);
  if (!relationships.Ok()) return relationships.Error();
  std::vector<std::string> parts;
  for (const Relationship& relationship : relationships.Value()) {
    if (!relationship.external && HasRelationshipType(relationship, "comments")) parts.push_back(relationship.target);
  }
  return parts;
}

}  // namespace

Outcome<std::string> ConvertSheetPackage(const ZipPackage& package, const ConversionProfile& profile,
                                         const OfficeOptions& options) {
  Outcome<SheetParts> parts = FindSheetParts(package, options.limits);
  if (!parts.Ok()) return parts.Error();
  Outcome<XmlPart> stylesPart = LoadIfPresent(package, parts.Value().styles, options.limits);
  if (!stylesPart.Ok()) return stylesPart.Error();
  Outcome<XmlPart> sharedPart = LoadIfPresent(package, parts.Value().sharedStrings, options.limits);
  if (!sharedPart.Ok()) return sharedPart.Error();
  FontClassifier classifier(profile.generation);
  SheetStyles styles(stylesPart.Value().get(), profile, classifier);
  SharedStrings shared(sharedPart.Value().get());
  std::vector<PartReplacement> replacements;
  std::set<std::string> commentsSeen;
  const std::vector<std::string>& sheets = parts.Value().sheets;
  // Every sheet is read before any string is converted: whether a shared
  // string is converted where it stands depends on all the cells showing it.
  std::vector<XmlPart> loaded;
  for (const std::string& name : sheets) {
    Outcome<XmlPart> sheet = LoadXmlPart(package, name, options.limits);
    if (!sheet.Ok()) return sheet.Error();
    NoteSharedStrings(*sheet.Value(), shared, styles);
    loaded.push_back(std::move(sheet.Value()));
  }
  for (std::size_t s = 0; s < sheets.size(); ++s) {
    pugi::xml_document& sheet = *loaded[s];
    const bool cells = ConvertSheet(sheet, shared, styles, profile);
    if (ConvertHeadersAndFooters(sheet, styles, profile) || cells) {
      replacements.emplace_back(sheets[s], SerializeXmlPart(sheet));
    }
    Outcome<std::vector<std::string>> commentParts = CommentPartsOf(package, sheets[s], options.limits);
    if (!commentParts.Ok()) return commentParts.Error();
    for (const std::string& name : commentParts.Value()) {
      if (!commentsSeen.insert(name).second) continue;  // shared by two sheets: converted once
      Outcome<XmlPart> comments = LoadIfPresent(package, name, options.limits);
      if (!comments.Ok()) return comments.Error();
      if (comments.Value() && ConvertComments(*comments.Value(), profile, styles)) {
        replacements.emplace_back(name, SerializeXmlPart(*comments.Value()));
      }
    }
    if (options.progress != nullptr) options.progress->Advance(s + 1, sheets.size());
  }
  shared.UpdateCounts();
  if (shared.Changed()) replacements.emplace_back(parts.Value().sharedStrings, SerializeXmlPart(*sharedPart.Value()));
  if (styles.Changed()) replacements.emplace_back(parts.Value().styles, SerializeXmlPart(*stylesPart.Value()));
  return package.Rewrite(replacements);
}

}  // namespace maravelundi
