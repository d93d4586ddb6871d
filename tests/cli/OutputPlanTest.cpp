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

Result<PlannedConversion> Plan(const OutputRequest& request, const DocumentKind& kind,
                                                 std::optional<Spelling> spelling = std::nullopt) {
  ConversionSettings settings;
  settings.output = request;
  settings.spelling = spelling;
  return PlanConversion(settings, kind);
}

std::string RouteOf(const PlannedConversion& plan) {
  if (!plan.route) return plan.writeAs != nullptr ? "rtf -> " + std::string(plan.writeAs->extension) : "rtf";
  const OfficeRoute& route = *plan.route;
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
      // Another of our formats: converted in its own, then written by LibreOffice.
      {"doc", "a.rtf", ".doc", "rtf -> doc"},
      {"-o out.docx", "a.rtf", ".docx", "rtf -> docx"},
      {"odt", "a.rtf", ".odt", "rtf -> odt"},
      {"odt", "a.docx", ".odt", "docx <-  -> odt"},
      {"docx", "a.odt", ".docx", "odt <-  -> docx"},
      {"rtf", "a.docx", ".rtf", "docx <-  -> rtf"},
      {"rtf", "a.doc", ".rtf", "docx <- doc -> rtf"},
      {"-o out.wps", "a.doc", "LibreOffice reads Works documents (.wps) but cannot write them", ""},
      // Spreadsheets and presentations stay of their kind, in any of its formats.
      {"same", "a.xlsx", ".xlsx", "xlsx <-  -> "},
      {"same", "a.ods", ".ods", "ods <-  -> "},
      {"same", "a.pptx", ".pptx", "pptx <-  -> "},
      {"same", "a.odp", ".odp", "odp <-  -> "},
      {"same", "a.xls", ".xls", "ods <- xls -> xls"},
      {"same", "a.pps", ".pps", "pptx <- pps -> pps"},
      {"same", "a.fodp", ".fodp", "odp <- fodp -> fodp"},
      {"-o out", "a.ots", ".ots", "ods <- ots -> ots"},  // no output named: in place
      {"mltt", "a.ppt", ".ppt", "pptx <- ppt -> ppt"},
      {"-o out.ods", "a.xlsx", ".ods", "xlsx <-  -> ods"},
      {"xlsx", "a.ods", ".xlsx", "ods <-  -> xlsx"},
      {"xls", "a.xlsx", ".xls", "xlsx <-  -> xls"},
      {"-o out.xlsx", "a.xls", ".xlsx", "xlsx <- xls -> "},
      {"ods", "a.xls", ".ods", "ods <- xls -> "},
      {"odp", "a.pptx", ".odp", "pptx <-  -> odp"},
      {"ppt", "a.odp", ".ppt", "odp <-  -> ppt"},
      {"-o out.pptx", "a.ppt", ".pptx", "pptx <- ppt -> "},
      {"text", "a.xlsx", "a spreadsheet converts in place, as a spreadsheet: -o NAME.xlsx or --to xlsx", ""},
      {"-o out.html", "a.ppt", "a presentation converts in place, as a presentation: -o NAME.ppt or --to ppt", ""},
      {"docx", "a.ods", "a spreadsheet converts in place", ""},
      {"rtf", "a.pptx", "a presentation converts in place", ""},
      {"pptx", "a.xlsx", "a .pptx output needs a presentation", ""},
      {"xls", "a.docx", "a .xls output needs a spreadsheet", ""},
      {"-o out.ods", "a.rtf", "a .ods output needs a spreadsheet", ""},
      {"odp", "a.txt", "a .odp output needs a presentation", ""},
  };
  for (const PlanCase& c : cases) {
    SCOPED_TRACE(std::string(c.output) + " for " + std::string(c.input));
    const OutputRequest request = RequestOf(c.output);
    DocumentKind kind = KindByName(c.input);
    const auto plan = Plan(request, kind);
    if (!plan.Ok()) {
      EXPECT_TRUE(plan.Error().message.starts_with(c.result)) << plan.Error().message;
      EXPECT_EQ(plan.Error().code, FailureCode::kNoSuchConversion);
      EXPECT_TRUE(c.route.empty());
      continue;
    }
    EXPECT_EQ(ResultExtension(request, kind), c.result);
    EXPECT_EQ(RouteOf(plan.Value()), c.route);
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
    const auto plan = Plan(RequestOf(c.output), KindByName(c.input));
    ASSERT_TRUE(plan.Ok());
    EXPECT_EQ(plan.Value().profile.spelling, c.own);
    for (const Spelling asked : {Spelling::kLegacy, Spelling::kModern}) {
      const auto askedPlan = Plan(RequestOf(c.output), KindByName(c.input), asked);
      EXPECT_EQ(askedPlan.Value().profile.spelling, asked);
    }
  }
}

// What --to means for each kind of document: what is written, and what the
// legacy text becomes. Every document asked for as a document (its own
// format or another) is converted in place; a word processor's document
// stays in its format but for a new file of another kind, and ism and mltt
// keep it in its format.
TEST(OutputPlan, WhatEachOutputWritesAndMakesOfTheText) {
  const auto describe = [](const PlannedConversion& plan) {
    const char* const kinds[] = {"character references", "rich text", "html5", "text", "in place"};
    const char* const targets[] = {"unicode", "mltt", "ism"};
    return std::string(kinds[static_cast<int>(plan.output)]) + "/" + targets[static_cast<int>(plan.profile.target)];
  };
  const std::pair<std::string_view, std::string_view> inputs[] = {{"a.rtf", "rtf"}, {"a.docx", "docx"}};
  const struct {
    std::string_view output;
    std::string_view rtf, docx;
  } cases[] = {
      {"unicode", "character references/unicode", "character references/unicode"},
      {"ism", "rich text/ism", "in place/ism"},
      {"mltt", "rich text/mltt", "in place/mltt"},
      {"rtf", "in place/unicode", "in place/unicode"},
      {"html5", "html5/unicode", "html5/unicode"},
      {"text", "text/unicode", "text/unicode"},
      {"docx", "in place/unicode", "in place/unicode"},
      {"same", "character references/unicode", "in place/unicode"},
  };
  for (const auto& c : cases) {
    for (const auto& [input, which] : inputs) {
      SCOPED_TRACE(std::string(c.output) + " for " + std::string(input));
      const std::string_view expected = which == "rtf" ? c.rtf : c.docx;
      const auto plan = Plan(RequestOf(c.output), KindByName(input));
      if (expected.empty()) {
        EXPECT_FALSE(plan.Ok());
      } else {
        ASSERT_TRUE(plan.Ok());
        EXPECT_EQ(describe(plan.Value()), expected);
      }
    }
  }
}

TEST(OutputPlan, TheNamesOfTheOutputs) {
  EXPECT_EQ(OutputChoiceNames(),
            (std::vector<std::string>{"unicode", "ism", "mltt", "rtf", "html5", "text", "docx", "odt", "xlsx", "ods",
                                      "pptx", "odp", "legacy", "doc", "dot", "ott", "fodt", "xls", "xlt", "ots", "fods",
                                      "ppt", "pps", "pot", "otp", "fodp"}));
  EXPECT_FALSE(OutputChoiceNamed("wps"));  // read only
  EXPECT_FALSE(OutputChoiceNamed("DOC"));
  EXPECT_FALSE(OutputChoiceNamed(".doc"));
}

}  // namespace
}  // namespace maravelundi
