#include "cli/CommandLine.h"

#include <iostream>
#include <limits>

#include <CLI/CLI.hpp>

#include "convert/LegacyTarget.h"
#include "families/LegacyEncoding.h"
#include "job/OutputChoice.h"
#include "job/PlainTextInput.h"
#include "transcode/GlyphTables.h"

namespace maravelundi::cli {
namespace {

// An empty name is never a file the user meant: "-o ''" or "-d ''" come from
// a variable left unset.
const CLI::Validator kNotEmpty(
    [](std::string& value) { return value.empty() ? std::string("an empty name is not a file") : std::string(); },
    "", "not empty");

// Whether the way back writes in a font: "written", or for a Rachana font
// the family name --legacy-font takes ("written as rl"); a Rachana family
// spreads its glyphs over six fonts and is written as a whole.
std::string WayBackColumn(std::string_view name, bool mapped) {
  if (!mapped) return "not converted";
  if (LegacyTargetNamed(name)) return "read, written";
  const std::string family(name.substr(0, name.find_first_of("0123456789")));
  if (family != name && LegacyTargetNamed(family)) return "read, written as " + family;
  return "read";
}

[[noreturn]] void ListFonts() {
  for (const LegacyFontName& font : KnownLegacyFonts()) {
    std::cout << font.name << '\t' << (font.encoding != nullptr ? font.encoding->name : "(no map)") << '\t'
              << WayBackColumn(font.name, font.encoding != nullptr) << '\n';
  }
  for (const GlyphTableDescriptor& table : kGlyphTables) {
    for (std::string_view name : table.fontNames) {
      std::cout << name << '\t' << (table.generation == Generation::kVersion2 ? "Rachana 2" : "Rachana 7") << '\t'
                << WayBackColumn(name, true) << '\n';
    }
  }
  throw CLI::Success();
}

// Checked here so that a usage error names the option.
const CLI::Validator kPlainTextFont(
    [](std::string& value) {
      return PlainTextFontKnown(value) ? std::string() : "no legacy font " + value + " with a map (--list-fonts)";
    },
    "NAME|auto", "a legacy font");
const CLI::Validator kWritableFont(
    [](std::string& value) {
      return LegacyTargetNamed(value) ? std::string()
                                      : "no way back to " + value + " (--list-fonts says which fonts are written)";
    },
    "NAME", "a writable legacy font");

void AddTextOptions(CLI::App& app, CommandLine& options) {
  app.add_option("--from", options.from,
                 "Read INPUT as this: text (plain text in a legacy font, as pasted from a web page, an e-mail or a "
                 "PDF). Default: from the content; a name ending in .txt is text")
      ->check(CLI::IsMember({"text"}));
  app.add_option("--font", options.font,
                 "Legacy font of plain text, any name --list-fonts lists in any case (rl1 for a Rachana font), or "
                 "auto: found from the text")
      ->check(kPlainTextFont)
      ->capture_default_str();
  app.add_flag("--convert-all", options.convertAll,
               "Convert plain text's English words too, every character the font's map has (by default English "
               "words mixed into legacy text are kept as typed)");
  app.add_option("--legacy-font", options.legacyFont,
                 "The font --to legacy writes in: one --list-fonts says is written, or a Rachana family (rl, rc, ra, "
                 "rkr)")
      ->check(kWritableFont)
      ->capture_default_str();
  app.add_flag("--legacy-bytes", options.legacyBytes,
               "With --to legacy and a text output, write the font's raw codes rather than each code as its "
               "Windows-1252 character in UTF-8 (what pasting into a program set in the font needs)");
}

void AddConversionOptions(CLI::App& app, CommandLine& options) {
  app.add_option("--fonts", options.fonts,
                 "Rachana generation of the document's fonts: 2 (ra, rkr), 7 (rc, rl), or auto, each font by its name")
      ->check(CLI::IsMember({"2", "7", "auto"}))
      ->capture_default_str();
  app.add_option("--to", options.to,
                 "Output: unicode, ism, mltt, rtf, html5, text, docx, odt, legacy (Unicode back to the codes of "
                 "--legacy-font), or doc, dot, ott, fodt (written by LibreOffice). Default: from -o's extension "
                 "(.docx, .odt, .rtf, .txt, .doc ...), else unicode, and text for plain text; with -d each "
                 "document keeps its format")
      ->check(CLI::IsMember(OutputChoiceNames()));
  app.add_option("--spelling", options.spelling,
                 "Malayalam of the Unicode outputs as written in Unicode today (modern: atomic chillus, "
                 "conjuncts joined) or as converted (legacy). Default: modern, but legacy for unicode")
      ->check(CLI::IsMember({"legacy", "modern"}));
  app.add_flag_callback("--list-fonts", ListFonts,
                        "List the legacy font names known, with their encoding and whether --to legacy writes "
                        "them, and end")
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
               "skipped binary data, a font missing from the font table), a line each with its byte; for plain "
               "text, the font it was read in, its encoding and how sure the finding is");
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
                 "Rich Text, DOCX or ODT document to convert, one LibreOffice reads (.doc, .dot, .wps, .wpd, "
                 ".ott ...), or plain text (.txt, or --from text); - for standard input. With -d, any number of "
                 "documents and folders")
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
               "headless, and written back in their format where it writes them (doc, dot, ott, fodt).\n"
               "Spreadsheets (XLSX, ODS; XLS through LibreOffice) and presentations (PPTX, ODP; PPT through\n"
               "LibreOffice) convert in place, in their own format or another of their kind (-o out.ods, --to\n"
               "pptx); a document of one of our formats asked for in another is written by LibreOffice.",
               kProgram};
  app.set_version_flag("--version", std::string(kProgram) + " " + MARAVELUNDI_VERSION);
  AddConversionOptions(app, options);
  AddTextOptions(app, options);
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
