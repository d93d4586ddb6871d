#include "richtext/RtfWriter.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "richtext/FontEncoding.h"
#include "richtext/GlyphString.h"
#include "richtext/SymbolFont.h"

namespace maravelundi {
namespace {

void AppendHexByte(std::string& out, std::uint8_t byte) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out += "\\'";
  out.push_back(kDigits[byte >> 4]);
  out.push_back(kDigits[byte & 0x0F]);
}

// \uN takes a signed 16-bit N; the \'3f ('?') after it is the one-character
// fallback that \uc1 tells readers to drop. Written as a hex byte, not as a
// literal '?', because some readers count a literal fallback wrongly and drop
// the character after it instead.
void AppendUnicode(std::string& out, char16_t ch) {
  out += "\\u";
  out += std::to_string(static_cast<std::int16_t>(ch));
  out += "\\'3f";
}

// One character as a glyph byte where it is one: printable ASCII as itself,
// the rest as \'hh; anything else as \uN. Characters U+F020..U+F0FF in a
// symbol or legacy font are the one thing this cannot carry across: there
// the reader takes \u61472 and its like for the font's bytes and gives back
// the byte's character instead. It never puts such characters in those
// fonts itself. In the font "Symbol" a
// byte reads back as what that font draws (α for 'a'), so there a character
// is written as a byte only where that is the same character.
void AppendCharacter(std::string& out, char16_t ch, bool symbolFont = false) {
  const auto code = GlyphCode(ch);
  if (!code || (symbolFont && SymbolChar(*code) != ch)) {
    AppendUnicode(out, ch);
  } else if (*code == '\\' || *code == '{' || *code == '}') {
    out.push_back('\\');
    out.push_back(static_cast<char>(*code));
  } else if (*code >= 0x20 && *code < 0x7F) {
    out.push_back(static_cast<char>(*code));
  } else {
    // Control characters too: raw CR and LF in markup mean nothing, and
    // \'0d reads back as a lone CR, not as a paragraph end.
    AppendHexByte(out, *code);
  }
}

void AppendFontName(std::string& out, std::string_view utf8Name) {
  for (char16_t ch : FromUtf8(utf8Name)) {
    if (ch == u';') {
      AppendUnicode(out, ch);  // a plain ';' would end the name
    } else {
      AppendCharacter(out, ch);
    }
  }
}

void AppendBody(std::string& out, std::u16string_view text, std::size_t begin, std::size_t end, bool symbolFont) {
  for (std::size_t i = begin; i < end; ++i) {
    const char16_t ch = text[i];
    // A CR LF pair split between two runs is written as a lone CR and a
    // lone LF, so that each keeps its own font.
    if (ch == u'\r' && i + 1 < end && text[i + 1] == u'\n') {
      out += "\\par\n";
      ++i;
    } else if (ch == u'\n') {
      out += "\\line ";
    } else if (ch == u'\t') {
      out += "\\tab ";
    } else {
      AppendCharacter(out, ch, symbolFont);
    }
  }
}

// Table numbers of each format's font and colour. Both tables list what the
// runs use in order of first use: fonts from \f0, the default; colours from
// \cf1, since entry 0 is left empty for the automatic colour.
struct Tables {
  std::vector<std::string_view> fonts;
  std::vector<Rgb> colours;
  std::vector<std::size_t> fontByFormat;
  std::vector<std::size_t> colourByFormat;
};

Tables NumberTables(const Document& document, bool withColours) {
  Tables tables;
  tables.fontByFormat.assign(document.FormatCount(), 0);
  tables.colourByFormat.assign(document.FormatCount(), 0);
  std::unordered_map<std::string_view, std::size_t> fontByName;
  std::unordered_map<std::uint32_t, std::size_t> colourByValue;
  for (const FormatRun& run : document.Runs()) {
    const CharFormat& format = document.Format(run.format);
    const auto [font, added] = fontByName.try_emplace(format.fontName, tables.fonts.size());
    if (added) tables.fonts.push_back(format.fontName);
    tables.fontByFormat[run.format] = font->second;
    if (!withColours || !format.colour) continue;
    const Rgb rgb = *format.colour;
    const std::uint32_t key = std::uint32_t{rgb.red} << 16 | std::uint32_t{rgb.green} << 8 | rgb.blue;
    const auto [colour, newColour] = colourByValue.try_emplace(key, tables.colours.size() + 1);
    if (newColour) tables.colours.push_back(rgb);
    tables.colourByFormat[run.format] = colour->second;
  }
  return tables;
}

void AppendColourTable(std::string& out, const std::vector<Rgb>& colours) {
  if (colours.empty()) return;
  out += "{\\colortbl;";
  for (const Rgb& rgb : colours) {
    out += "\\red" + std::to_string(rgb.red) + "\\green" + std::to_string(rgb.green) + "\\blue" +
           std::to_string(rgb.blue) + ";";
  }
  out += "}";
}

// The words that take a reader from one run's attributes to the next one's;
// the font is written anyway. Only what changes is written, so a document
// whose runs differ by font alone reads as it would without formatting.
void AppendFormatChange(std::string& out, const CharFormat& from, std::size_t fromColour, const CharFormat& to,
                        std::size_t toColour) {
  if (from.bold != to.bold) out += to.bold ? "\\b" : "\\b0";
  if (from.italic != to.italic) out += to.italic ? "\\i" : "\\i0";
  if (from.underline != to.underline) out += to.underline ? "\\ul" : "\\ulnone";
  if (from.halfPoints != to.halfPoints) out += "\\fs" + std::to_string(to.halfPoints);
  if (fromColour != toColour) out += "\\cf" + std::to_string(toColour);
}

}  // namespace

void WriteRtf(const Document& document, ByteSink& sink, ProgressSink* progress) {
  WriteRtf(document, sink, RtfWriteOptions{}, progress);
}

void WriteRtf(const Document& document, ByteSink& sink, const RtfWriteOptions& options, ProgressSink* progress) {
  const Tables tables = NumberTables(document, options.formatting);

  constexpr std::size_t kPieceSize = 1 << 16;
  std::string out;
  out.reserve(kPieceSize + 1024);
  out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
  for (std::size_t i = 0; i < tables.fonts.size(); ++i) {
    out += "{\\f" + std::to_string(i) + "\\fnil ";
    AppendFontName(out, tables.fonts[i]);
    out += ";}";
  }
  out += "}";
  AppendColourTable(out, tables.colours);
  out += "\n";

  // Neighbouring runs that the markup would not tell apart are written as
  // one, so that a CR LF pair across them stays a \par.
  const auto& runs = document.Runs();
  const auto sameMarkup = [&](FormatId a, FormatId b) {
    return options.formatting ? document.Format(a) == document.Format(b)
                              : tables.fontByFormat[a] == tables.fontByFormat[b];
  };
  const CharFormat plain;
  const CharFormat* written = &plain;  // the attributes the reader holds so far
  std::size_t writtenColour = 0;
  const std::u16string& text = document.Text();
  std::vector<bool> symbolFormats(document.FormatCount());
  for (std::size_t f = 0; f < symbolFormats.size(); ++f) {
    symbolFormats[f] = KindOfFont(document.Format(static_cast<FormatId>(f)).fontName) == FontKind::Symbol;
  }
  std::size_t nextReport = kProgressStride;
  for (std::size_t r = 0; r < runs.size();) {
    const FormatId format = runs[r].format;
    std::size_t last = r;
    while (last + 1 < runs.size() && sameMarkup(format, runs[last + 1].format)) ++last;
    out += "\\f" + std::to_string(tables.fontByFormat[format]);
    if (options.formatting) {
      AppendFormatChange(out, *written, writtenColour, document.Format(format), tables.colourByFormat[format]);
      written = &document.Format(format);
      writtenColour = tables.colourByFormat[format];
    }
    out += ' ';
    const std::size_t end = document.RunEnd(last);
    AppendBody(out, text, runs[r].begin, end, symbolFormats[format]);
    if (out.size() >= kPieceSize) {
      sink.Write(out);
      out.clear();
    }
    if (end >= nextReport) {
      ReportProgress(progress, end, text.size());
      nextReport = end + kProgressStride;
    }
    r = last + 1;
  }
  out += "}\n";
  sink.Write(out);
  ReportProgress(progress, text.size(), text.size());
}

std::string WriteRtf(const Document& document) { return WriteRtf(document, RtfWriteOptions{}); }

std::string WriteRtf(const Document& document, const RtfWriteOptions& options) {
  StringSink sink;
  WriteRtf(document, sink, options);
  return std::move(sink.Bytes());
}

}  // namespace maravelundi
