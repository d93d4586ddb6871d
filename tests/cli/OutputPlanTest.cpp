// What each output means for each kind of document: the package the office
// layer converts, where LibreOffice reads and writes, and the result's
// extension; or why there is no such conversion.

#include <gtest/gtest.h>

#include "job/OutputChoice.h"

namespace maravelundi {
namespace {


struct PlanCase {
  std::string_view output;  // a --to name, "same" for a batch's own format, or "-o NAME" for an output's name
  std::string_view input;   // a file name, its kind by name
  std::string_view result;  // the extension, or the start of why there is none
  std::string_view route;   // "package <- read -> write", for an office conversion
};

OutputRequest RequestOf(std::string_view output) {
  if (output == "same") return DefaultOutput("", true);
  if (output.starts_with("-o ")) return DefaultOutput(std::string(output.substr(3)), false);
  return *OutputChoiceNamed(output);
}

std::string RouteOf(const PlannedConversion& plan) {
  const auto* office = std::get_if<OfficeConversion>(&plan);
  if (office == nullptr) return "rtf";
  const OfficeRoute& route = office->route;
  return std::string(DocumentFormatName(route.package)) + " <- " +
         std::string(route.readFrom != nullptr ? route.readFrom->extension : "") + " -> " +
         std::string(route.writeAs != nullptr ? route.writeAs->extension : "");
}

TEST(OutputPlan, EachOutputForEachKindOfDocument) {
  const PlanCase cases[] = {
      {"unicode", "a.doc", ".html", "docx <- doc -> "},
      {"text", "a.ott", ".txt", "odt <- ott -> "},
      {"docx", "a.doc", ".docx", "docx <- doc -> "},
      {"odt", "a.doc", ".odt", "odt <- doc -> "},  // read as ODT for an ODT
      {"doc", "a.doc", ".doc", "docx <- doc -> doc"},
      {"doc", "a.docx", ".doc", "docx <-  -> doc"},
      {"doc", "a.odt", ".doc", "odt <-  -> doc"},
      {"ott", "a.doc", ".ott", "odt <- doc -> ott"},
      {"doc", "a.wps", ".doc", "docx <- wps -> doc"},
      {"ism", "a.doc", ".doc", "docx <- doc -> doc"},  // ism keeps the format
      {"mltt", "a.wpd", ".docx", "docx <- wpd -> "},   // where LibreOffice can write it
      {"same", "a.doc", ".doc", "docx <- doc -> doc"},
      {"same", "a.DOT", ".dot", "docx <- dot -> dot"},
      {"same", "a.wps", ".docx", "docx <- wps -> "},
      {"same", "a.sxw", ".odt", "odt <- sxw -> "},
      {"same", "a.docx", ".docx", "docx <-  -> "},
      {"same", "a.rtf", ".html", "rtf"},
      {"-o out.doc", "a.doc", ".doc", "docx <- doc -> doc"},
      {"-o OUT.FODT", "a.odt", ".fodt", "odt <-  -> fodt"},
      {"-o out.docx", "a.doc", ".docx", "docx <- doc -> "},
      {"-o out.html", "a.doc", ".html", "docx <- doc -> "},
      {"doc", "a.rtf", "a .doc output needs a word processor's document", ""},
      {"odt", "a.docx", "an ODT output needs a document of that format; this one is DOCX", ""},
      {"-o out.wps", "a.doc", "LibreOffice reads Works documents (.wps) but cannot write them", ""},
  };
  for (const PlanCase& c : cases) {
    SCOPED_TRACE(std::string(c.output) + " for " + std::string(c.input));
    const OutputRequest request = RequestOf(c.output);
    DocumentKind kind = KindByName(c.input);
    const auto plan = PlanConversion(request, kind);
    if (const auto* why = std::get_if<std::string>(&plan)) {
      EXPECT_TRUE(why->starts_with(c.result)) << *why;
      EXPECT_TRUE(c.route.empty());
      continue;
    }
    EXPECT_EQ(ResultExtension(request, kind), c.result);
    EXPECT_EQ(RouteOf(std::get<PlannedConversion>(plan)), c.route);
  }
}

// Without --spelling, the HTML of character references and the ML-TT
// outputs spell as converted, every other output of every kind of document
// (its own format in place, a foreign one's through LibreOffice too) as
// Unicode writes Malayalam today; a spelling asked for always wins.
TEST(OutputPlan, EachOutputsOwnSpelling) {
  const struct {
    std::string_view output;
    std::string_view input;
    Spelling own;
  } cases[] = {
      {"unicode", "a.rtf", Spelling::kLegacy},  {"unicode", "a.docx", Spelling::kLegacy},
      {"unicode", "a.doc", Spelling::kLegacy},  {"ism", "a.rtf", Spelling::kLegacy},
      {"mltt", "a.rtf", Spelling::kLegacy},     {"ism", "a.odt", Spelling::kLegacy},
      {"mltt", "a.doc", Spelling::kLegacy},     {"rtf", "a.rtf", Spelling::kModern},
      {"html5", "a.rtf", Spelling::kModern},    {"text", "a.rtf", Spelling::kModern},
      {"rtf", "a.odt", Spelling::kModern},      {"html5", "a.docx", Spelling::kModern},
      {"text", "a.wps", Spelling::kModern},     {"docx", "a.docx", Spelling::kModern},
      {"odt", "a.odt", Spelling::kModern},      {"doc", "a.docx", Spelling::kModern},
      {"fodt", "a.odt", Spelling::kModern},     {"same", "a.doc", Spelling::kModern},
      {"same", "a.rtf", Spelling::kLegacy},     {"-o out.txt", "a.rtf", Spelling::kModern},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.output) + " for " + std::string(c.input));
    const auto plan = PlanConversion(RequestOf(c.output), KindByName(c.input));
    ASSERT_TRUE(std::holds_alternative<PlannedConversion>(plan));
    const PlannedConversion& planned = std::get<PlannedConversion>(plan);
    EXPECT_EQ(SpellingFor(std::nullopt, planned), c.own);
    for (const Spelling asked : {Spelling::kLegacy, Spelling::kModern}) EXPECT_EQ(SpellingFor(asked, planned), asked);
  }
}

TEST(OutputPlan, TheNamesOfTheOutputs) {
  EXPECT_EQ(OutputChoiceNames(), (std::vector<std::string>{"unicode", "ism", "mltt", "rtf", "html5", "text", "docx",
                                                                "odt", "doc", "dot", "ott", "fodt"}));
  EXPECT_FALSE(OutputChoiceNamed("wps"));  // read only
  EXPECT_FALSE(OutputChoiceNamed("DOC"));
  EXPECT_FALSE(OutputChoiceNamed(".doc"));
}

}  // namespace
}  // namespace maravelundi
