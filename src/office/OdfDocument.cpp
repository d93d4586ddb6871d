#include "office/OdfDocument.h"

#include <array>
#include <vector>

#include "office/OdfStory.h"
#include "office/PartTraversal.h"
#include "package/XmlPart.h"

namespace maravelundi {
namespace {

constexpr std::string_view kContentPart = "content.xml";
constexpr std::string_view kStylesPart = "styles.xml";
constexpr std::string_view kManifestPart = "META-INF/manifest.xml";

// Subtrees of the body whose paragraphs are not the body's text.
constexpr std::array<std::string_view, 3> kNotBodyText = {"note", "tracked-changes", "annotation"};

// An encrypted ODT keeps its parts in the zip unencrypted by zip's means;
// the manifest says which it encrypted itself.
std::optional<PackageError> CheckNotEncrypted(const ZipPackage& package, const PackageLimits& limits) {
  if (!package.Contains(kManifestPart)) return std::nullopt;
  Outcome<XmlPart> manifest = LoadXmlPart(package, kManifestPart, limits);
  if (!manifest.Ok()) return manifest.Error();
  for (pugi::xml_node entry : manifest.Value()->document_element().children()) {
    for (pugi::xml_node child : entry.children()) {
      if (LocalName(child.name()) != "encryption-data") continue;
      std::string part;
      for (pugi::xml_attribute attribute : entry.attributes()) {
        if (LocalName(attribute.name()) == "full-path") part = attribute.value();
      }
      return PackageError{PackageErrorCode::kEncrypted, part, "is encrypted; the document needs its password"};
    }
  }
  return std::nullopt;
}

// The text parts, styles.xml (when there is one) first: its common styles
// serve both.
struct OdfParts {
  XmlPart styles, content;
};

Outcome<OdfParts> LoadParts(const ZipPackage& package, const PackageLimits& limits) {
  if (auto failure = CheckNotEncrypted(package, limits)) return std::move(*failure);
  OdfParts parts;
  if (package.Contains(kStylesPart)) {
    Outcome<XmlPart> styles = LoadXmlPart(package, kStylesPart, limits);
    if (!styles.Ok()) return styles.Error();
    parts.styles = std::move(styles.Value());
  }
  Outcome<XmlPart> content = LoadXmlPart(package, kContentPart, limits);
  if (!content.Ok()) return content.Error();
  parts.content = std::move(content.Value());
  return parts;
}

// The common styles and font declarations of styles.xml, with the
// automatic styles and declarations of the part itself.
OdfStyleSheet SheetFor(pugi::xml_node part, const OdfNames& names, const XmlPart& styles) {
  OdfStyleSheet sheet;
  sheet.ReadFontFaces(part, names);
  sheet.ReadAutomaticStyles(part, names);
  if (styles) {
    const pugi::xml_node stylesRoot = styles->document_element();
    const OdfNames stylesNames = OdfNames::Of(stylesRoot);
    sheet.ReadFontFaces(stylesRoot, stylesNames);
    sheet.ReadCommonStyles(stylesRoot, stylesNames);
  }
  return sheet;
}

std::vector<pugi::xml_node> OdfParagraphs(pugi::xml_node root, const OdfNames& names) {
  return CollectParagraphs(
      root, [&](pugi::xml_node node) { return names.text.Is(node, "p") || names.text.Is(node, "h"); },
      [](pugi::xml_node) { return false; });
}

// Notes, annotations and the record of deleted text are stories of their
// own, which the flat text leaves out.
bool InSideStory(pugi::xml_node paragraph) {
  for (pugi::xml_node node = paragraph.parent(); node; node = node.parent()) {
    const std::string_view local = LocalName(node.name());
    if (std::find(kNotBodyText.begin(), kNotBodyText.end(), local) != kNotBodyText.end()) return true;
  }
  return false;
}

// What the package holds, by its body: text, a spreadsheet, a presentation
// (or a drawing, whose shapes hold text as a presentation's do).
enum class OdfBody { kText, kSpreadsheet, kShapes };

OdfBody BodyOf(const XmlPart& content) {
  const pugi::xml_node root = content->document_element();
  const OdfNames names = OdfNames::Of(root);
  const pugi::xml_node body = names.office.Child(root, "body");
  if (names.office.Child(body, "spreadsheet")) return OdfBody::kSpreadsheet;
  if (names.office.Child(body, "presentation") || names.office.Child(body, "drawing")) return OdfBody::kShapes;
  return OdfBody::kText;
}

// Converts one part's stories; true when anything changed.
bool ConvertPart(pugi::xml_node root, const XmlPart& styles, OdfBody body, const ConversionProfile& profile,
                 FontClassifier& fonts) {
  const OdfNames names = OdfNames::Of(root);
  const OdfStyleSheet sheet = SheetFor(root, names, styles);
  const std::optional<OdfContainerStyles> containers =
      body == OdfBody::kText ? std::nullopt
                             : std::make_optional<OdfContainerStyles>(root, names, body == OdfBody::kSpreadsheet);
  const OdfPartContext context{names, sheet, profile, fonts, containers ? &*containers : nullptr};
  OdfConvertedStyles converted(root, names, sheet, profile);
  OdfStory shown(context), side(context);
  for (pugi::xml_node paragraph : OdfParagraphs(root, names)) {
    if (containers && containers->ShowsValue(paragraph)) continue;
    (InSideStory(paragraph) ? side : shown).AppendParagraph(paragraph);
  }
  const bool changed = shown.Convert(converted);
  return side.Convert(converted) || changed;
}

}  // namespace

Outcome<std::string> ConvertOdfPackage(const ZipPackage& package, const ConversionProfile& profile,
                                       const OfficeOptions& options) {
  Outcome<OdfParts> parts = LoadParts(package, options.limits);
  if (!parts.Ok()) return parts.Error();
  std::vector<PartReplacement> replacements;
  FontClassifier fonts(profile.generation);
  const XmlPart& styles = parts.Value().styles;
  const OdfBody body = BodyOf(parts.Value().content);
  if (styles && ConvertPart(styles->document_element(), styles, body, profile, fonts)) {
    replacements.emplace_back(kStylesPart, SerializeXmlPart(*styles));
  }
  ReportProgress(options.progress, 1, 2);
  const XmlPart& content = parts.Value().content;
  if (ConvertPart(content->document_element(), styles, body, profile, fonts)) {
    replacements.emplace_back(kContentPart, SerializeXmlPart(*content));
  }
  ReportProgress(options.progress, 2, 2);
  return package.Rewrite(replacements);
}

Outcome<Document> ReadOdfText(const ZipPackage& package, const ConversionProfile& profile,
                              const OfficeOptions& options) {
  Outcome<OdfParts> parts = LoadParts(package, options.limits);
  if (!parts.Ok()) return parts.Error();
  const pugi::xml_node root = parts.Value().content->document_element();
  const OdfNames names = OdfNames::Of(root);
  const OdfStyleSheet sheet = SheetFor(root, names, parts.Value().styles);
  FontClassifier fonts(profile.generation);
  const OdfPartContext context{names, sheet, profile, fonts};
  OdfStory story(context);
  const pugi::xml_node body = names.office.Child(names.office.Child(root, "body"), "text");
  for (pugi::xml_node paragraph : OdfParagraphs(body, names)) {
    if (!InSideStory(paragraph)) story.AppendParagraph(paragraph);
  }
  return story.TakeText();
}

}  // namespace maravelundi
