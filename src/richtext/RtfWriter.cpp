#include "richtext/RtfWriter.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

void AppendHexByte(std::string& out, std::uint8_t byte) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out += "\\'";
  out.push_back(kDigits[byte >> 4]);
  out.push_back(kDigits[byte & 0x0F]);
}

// \uN takes a signed 16-bit N; the '?' after it is the one-character fallback
// that \uc1 tells readers to drop.
void AppendUnicode(std::string& out, char16_t ch) {
  out += "\\u";
  out += std::to_string(static_cast<std::int16_t>(ch));
  out.push_back('?');
}

// One character as a glyph byte where it is one: printable ASCII as itself,
// the rest as \'hh; anything else as \uN. Characters U+F020..U+F0FF are the
// one thing this cannot carry across: the reader takes \u61472 and its like
// for symbol-font bytes and gives back the byte's glyph character instead.
// The reader never produces such characters itself.
void AppendCharacter(std::string& out, char16_t ch) {
  const auto code = GlyphCode(ch);
  if (!code) {
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

void AppendBody(std::string& out, std::u16string_view text, std::size_t begin, std::size_t end) {
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
      AppendCharacter(out, ch);
    }
  }
}

}  // namespace

void WriteRtf(const Document& document, ByteSink& sink, ProgressSink* progress) {
  // Fonts are numbered in order of first use; \f0 is the default.
  std::unordered_map<std::string_view, std::size_t> numberByName;
  std::vector<std::string_view> names;
  std::vector<std::size_t> numberByFormat(document.FormatCount(), 0);
  for (const FormatRun& run : document.Runs()) {
    const std::string& name = document.Format(run.format).fontName;
    const auto [it, added] = numberByName.try_emplace(name, names.size());
    if (added) names.push_back(name);
    numberByFormat[run.format] = it->second;
  }

  constexpr std::size_t kPieceSize = 1 << 16;
  std::string out;
  out.reserve(kPieceSize + 1024);
  out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
  for (std::size_t i = 0; i < names.size(); ++i) {
    out += "{\\f" + std::to_string(i) + "\\fnil ";
    AppendFontName(out, names[i]);
    out += ";}";
  }
  out += "}\n";

  const std::u16string& text = document.Text();
  std::size_t nextReport = kProgressStride;
  for (std::size_t r = 0; r < document.Runs().size(); ++r) {
    out += "\\f" + std::to_string(numberByFormat[document.Runs()[r].format]) + " ";
    AppendBody(out, text, document.Runs()[r].begin, document.RunEnd(r));
    if (out.size() >= kPieceSize) {
      sink.Write(out);
      out.clear();
    }
    if (document.RunEnd(r) >= nextReport) {
      ReportProgress(progress, document.RunEnd(r), text.size());
      nextReport = document.RunEnd(r) + kProgressStride;
    }
  }
  out += "}\n";
  sink.Write(out);
  ReportProgress(progress, text.size(), text.size());
}

std::string WriteRtf(const Document& document) {
  StringSink sink;
  WriteRtf(document, sink);
  return std::move(sink.Bytes());
}

}  // namespace maravelundi
