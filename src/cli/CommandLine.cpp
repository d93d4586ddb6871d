#include "cli/CommandLine.h"

#include <iostream>
#include <limits>

#include <CLI/CLI.hpp>

#include "job/OutputChoice.h"
#include "families/LegacyEncoding.h"
#include "transcode/GlyphTables.h"

namespace maravelundi::cli {
namespace {

// An empty name is never a file the user meant: "-o ''" or "-d ''" come from
// a variable left unset.
const CLI::Validator kNotEmpty(
    [](std::string& value) { return value.empty() ? std::string("an empty name is not a file") : std::string(); },
    "", "not empty");

void AddConversionOptions(CLI::App& app, CommandLine& options) {
  app.add_option("--fonts", options.fonts,
                 "Rachana generation of the document's fonts: 2 (ra, rkr), 7 (rc, rl), or auto, each font by its name")
      ->check(CLI::IsMember({"2", "7", "auto"}))
      ->capture_default_str();
  app.add_option("--to", options.to,
                 "Output: unicode, ism, mltt, rtf, html5, text, docx, odt, or doc, dot, ott, fodt (written by "
                 "LibreOffice). Default: from -o's extension (.docx, .odt, .rtf, .txt, .doc ...), else unicode; "
                 "with -d each document keeps its format")
      ->check(CLI::IsMember(OutputChoiceNames()));
  app.add_option("--spelling", options.spelling,
                 "Malayalam of the Unicode outputs as written in Unicode today (modern: atomic chillus, "
                 "conjuncts joined) or as converted (legacy). Default: modern, but legacy for unicode")
      ->check(CLI::IsMember({"legacy", "modern"}));
  app.add_flag_callback(
         "--list-fonts",
         [] {
           for (const LegacyFontName& font : KnownLegacyFonts()) {
             std::cout << font.name << '\t' << (font.encoding != nullptr ? font.encoding->name : "(no map)") << '\n';
           }
           for (const GlyphTableDescriptor& table : kGlyphTables) {
             for (std::string_view name : table.fontNames) {
               std::cout << name << '\t' << (table.generation == Generation::kVersion2 ? "Rachana 2" : "Rachana 7")
                         << '\n';
             }
           }
           throw CLI::Success();
         },
         "List the legacy font names --fonts auto knows, with their encoding, and end")
      ->trigger_on_parse();
  app.add_option("--unicode-font", options.unicodeFont, "Unicode Malayalam font of the rtf and html5 outputs")
      ->capture_default_str();
  app.add_option("--max-input", options.maxInput,
                 "Refuse an input larger than this, such as 500M or 4G (default 2G); an endless pipe would "
                 "otherwise fill the memory. An input whose first bytes begin no document we know is refused "
                 "there, whatever the limit")
      ->transform(CLI::AsSizeValue(false))
      ->check(CLI::Range(std::uint64_t{1}, std::numeric_limits<std::uint64_t>::max()));
  app.add_option("--office-timeout", options.officeTimeLimit,
                 "Seconds LibreOffice may take to read or write a foreign document (.doc, .wps, .wpd ...) "
                 "before it is stopped")
      ->check(CLI::Range(1u, 86400u))
      ->capture_default_str();
  app.add_flag("--verbose", options.verbose,
               "Report on standard error what the reader read but could not honour (an unknown code page, "
               "skipped binary data, a font missing from the font table), a line each with its byte");
}

void AddFileOptions(CLI::App& app, CommandLine& options) {
  CLI::Option* output = app.add_option("-o,--output", options.output, "Output file; - for standard output")
                            ->check(kNotEmpty)
                            ->capture_default_str();
  CLI::Option* folder = app.add_option("-d,--output-dir", options.outputFolder,
                                       "Convert every INPUT into this folder (made if missing), as NAME.html, "
                                       "NAME.rtf, NAME.txt, NAME.docx, NAME.odt or NAME.doc ...; a folder INPUT "
                                       "stands for the .rtf, .docx, .odt, .doc, .dot, .wps, .wpd ... files in it")
                            ->check(kNotEmpty);
  folder->excludes(output);
  app.add_option("-j,--jobs", options.jobs, "Documents converted at once with -d (default: one per core)")
      ->check(CLI::Range(1u, 4096u))
      ->needs(folder);
  app.add_flag("--force", options.force, "With -d, replace outputs that already exist")->needs(folder);
  app.add_option("INPUT", options.inputs,
                 "Rich Text, DOCX or ODT document to convert, or one LibreOffice reads (.doc, .dot, .wps, .wpd, "
                 ".ott ...); - for standard input. With -d, any number of documents and folders")
      ->check(kNotEmpty)
      ->required();
}

}  // namespace

std::optional<int> ParseCommandLine(int argc, const char* const* argv, CommandLine& options) {
  CLI::App app{"Converts a Rich Text, DOCX or ODT document typed in legacy Malayalam fonts (Rachana,\n"
               "ML-TT and the other families) to Unicode: the same document in place (rtf, docx, odt), HTML\n"
               "with character references (unicode), HTML5 (html5) or plain text (text); or to the ML-TT\n"
               "encoding, with break marks (ism) or without (mltt). Word 97-2003 (.doc, .dot), Works, WordPerfect\n"
               "and the other formats LibreOffice reads are converted through LibreOffice (soffice on PATH),\n"
               "headless, and written back in their format where it writes them (doc, dot, ott, fodt).",
               kProgram};
  app.set_version_flag("--version", std::string(kProgram) + " " + MARAVELUNDI_VERSION);
  AddConversionOptions(app, options);
  AddFileOptions(app, options);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::Success& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::cerr << kProgram << ": " << e.what() << "\nRun with --help for more information.\n";
    return kExitUsage;
  }
  return std::nullopt;
}

}  // namespace maravelundi::cli
