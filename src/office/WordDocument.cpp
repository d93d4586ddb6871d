#include "office/WordDocument.h"

#include <array>
#include <vector>

#include "office/PartTraversal.h"
#include "office/WordStory.h"
#include "package/OpcPackage.h"
#include "package/XmlPart.h"

namespace maravelundi {
namespace {

constexpr std::string_view kWordUri = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr std::string_view kStrictWordUri = "http://purl.oclc.org/ooxml/wordprocessingml/main";

// The relationships of the main part that lead to parts with paragraphs.
constexpr std::array<std::string_view, 5> kTextPartRelationships = {"header", "footer", "footnotes", "endnotes",
                                                                    "comments"};

struct WordParts {
  std::string main;
  std::vector<std::string> text;  // the main part first
  std::string styles, theme;      // empty when the document has none
};

XmlNamespace WordNamespace(const pugi::xml_document& part) {
  return XmlNamespace::Of(part.document_element(), {kWordUri, kStrictWordUri}, "w");
}

PackageError Missing(const std::string& part) {
  return PackageError{PackageErrorCode::kMissingPart, part, "is named by the main document but is missing"};
}

Outcome<WordParts> FindWordParts(const ZipPackage& package, const PackageLimits& limits) {
  Outcome<MainPart> main = FindMainPart(package, limits);
  if (!main.Ok()) return main.Error();
  if (!IsWordprocessingMainType(main.Value().contentType)) {
    return PackageError{PackageErrorCode::kNotWordProcessing, main.Value().name, "is not a word-processing document"};
  }
  Outcome<std::vector<Relationship>> relationships = ReadRelationships(package, main.Value().name, limits);
  if (!relationships.Ok()) return relationships.Error();
  WordParts parts{main.Value().name, {main.Value().name}, {}, {}};
  for (const Relationship& relationship : relationships.Value()) {
    if (relationship.external) continue;
    for (std::string_view type : kTextPartRelationships) {
      if (!HasRelationshipType(relationship, type)) continue;
      if (!package.Contains(relationship.target)) return Missing(relationship.target);
      parts.text.push_back(relationship.target);
    }
  }
  for (auto [type, into] : {std::pair{"styles", &parts.styles}, std::pair{"theme", &parts.theme}}) {
    const Relationship* relationship = FindRelationship(relationships.Value(), type);
    if (relationship == nullptr || relationship->external) continue;
    if (!package.Contains(relationship->target)) return Missing(relationship->target);
    *into = relationship->target;
  }
  return parts;
}

// The theme's fonts and the style sheet, which every text part reads.
struct WordStyleSheet {
  ThemeFonts theme;
  WordStyles styles;
};

Outcome<WordStyleSheet> ReadStyleSheet(const ZipPackage& package, const WordParts& parts, const PackageLimits& limits) {
  WordStyleSheet sheet;
  if (!parts.theme.empty()) {
    Outcome<XmlPart> theme = LoadXmlPart(package, parts.theme, limits);
    if (!theme.Ok()) return theme.Error();
    sheet.theme = ThemeFonts(theme.Value()->document_element());
  }
  if (!parts.styles.empty()) {
    Outcome<XmlPart> styles = LoadXmlPart(package, parts.styles, limits);
    if (!styles.Ok()) return styles.Error();
    sheet.styles = WordStyles(styles.Value()->document_element(), sheet.theme);
  }
  return sheet;
}

std::vector<pugi::xml_node> WordParagraphs(pugi::xml_node root, const XmlNamespace& w) {
  return CollectParagraphs(
      root, [&](pugi::xml_node node) { return w.Is(node, "p"); }, [](pugi::xml_node) { return false; });
}

// A text box is written twice, for new readers and for old ones: the
// fallback copy is a story of its own, which the flat text leaves out.
bool InFallback(pugi::xml_node paragraph) {
  for (pugi::xml_node node = paragraph.parent(); node; node = node.parent()) {
    if (LocalName(node.name()) == "Fallback") return true;
  }
  return false;
}

// The stories of a part: its text as a word processor shows it, the
// fallback copies of its text boxes, and its deleted text.
struct WordPartStories {
  WordStory shown, fallback, deleted;
  explicit WordPartStories(const WordPartContext& context) : shown(context), fallback(context), deleted(context) {}
};

// Reports progress by parts, each counted as a thousand steps.
void ReportWithinPart(ProgressSink* progress, std::size_t part, std::size_t parts, std::size_t done, std::size_t total) {
  constexpr std::size_t kStepsPerPart = 1000;
  ReportProgress(progress, part * kStepsPerPart + (total == 0 ? 0 : done * kStepsPerPart / total),
                 parts * kStepsPerPart);
}

}  // namespace

Outcome<std::string> ConvertWordPackage(const ZipPackage& package, const ConversionProfile& profile,
                                        const OfficeOptions& options) {
  Outcome<WordParts> parts = FindWordParts(package, options.limits);
  if (!parts.Ok()) return parts.Error();
  Outcome<WordStyleSheet> sheet = ReadStyleSheet(package, parts.Value(), options.limits);
  if (!sheet.Ok()) return sheet.Error();
  std::vector<PartReplacement> replacements;
  FontClassifier fonts(profile.generation);
  const std::vector<std::string>& textParts = parts.Value().text;
  for (std::size_t p = 0; p < textParts.size(); ++p) {
    Outcome<XmlPart> part = LoadXmlPart(package, textParts[p], options.limits);
    if (!part.Ok()) return part.Error();
    const XmlNamespace w = WordNamespace(*part.Value());
    const WordPartContext context{w, sheet.Value().styles, sheet.Value().theme, profile, fonts};
    WordPartStories stories(context);
    for (pugi::xml_node paragraph : WordParagraphs(part.Value()->document_element(), w)) {
      (InFallback(paragraph) ? stories.fallback : stories.shown).AppendParagraph(paragraph, &stories.deleted);
    }
    bool changed = stories.shown.Convert();
    ReportWithinPart(options.progress, p, textParts.size(), 1, 2);
    changed |= stories.fallback.Convert();
    changed |= stories.deleted.Convert();
    ReportWithinPart(options.progress, p, textParts.size(), 2, 2);
    if (changed) replacements.emplace_back(textParts[p], SerializeXmlPart(*part.Value()));
  }
  return package.Rewrite(replacements);
}

Outcome<Document> ReadWordText(const ZipPackage& package, const ConversionProfile& profile,
                               const OfficeOptions& options) {
  Outcome<WordParts> parts = FindWordParts(package, options.limits);
  if (!parts.Ok()) return parts.Error();
  Outcome<WordStyleSheet> sheet = ReadStyleSheet(package, parts.Value(), options.limits);
  if (!sheet.Ok()) return sheet.Error();
  Outcome<XmlPart> main = LoadXmlPart(package, parts.Value().main, options.limits);
  if (!main.Ok()) return main.Error();
  const XmlNamespace w = WordNamespace(*main.Value());
  FontClassifier fonts(profile.generation);
  const WordPartContext context{w, sheet.Value().styles, sheet.Value().theme, profile, fonts};
  WordStory story(context);
  const pugi::xml_node body = w.Child(main.Value()->document_element(), "body");
  for (pugi::xml_node paragraph : WordParagraphs(body, w)) {
    if (!InFallback(paragraph)) story.AppendParagraph(paragraph);
  }
  return story.TakeText();
}

}  // namespace maravelundi
