#include "plaintext/PlainTextDocument.h"

#include <vector>

#include "plaintext/WordLanguage.h"

namespace maravelundi {
namespace {

// Appends `text`, its line ends as CR LF.
void AppendLines(Document& document, std::u16string_view text, FormatId format) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\n') continue;
    document.Append(text.substr(start, i - start), format);
    document.Append(u"\r\n", format);
    start = i + 1;
  }
  document.Append(text.substr(start), format);
}

}  // namespace

namespace {

struct LineWord {
  std::size_t begin;
  std::size_t end;
};

// Writes one line (without its end): its words in their kinds' fonts, the
// space after a word in the font of the word before it.
class LineWriter {
 public:
  LineWriter(PlainTextDocument& result, const GlyphText& text, const PlainTextFont& font,
             const PlainTextOptions& options)
      : result_(result),
        font_(font),
        options_(options),
        glyphs_(text.Reading(font.reading)),
        characters_(text.Characters()),
        legacy_(result.document.InternFont(font.fontName)),
        kept_(result.document.InternFont(options.keptFont)) {}

  FormatId LegacyFormat() const { return legacy_; }

  void Write(std::size_t begin, std::size_t end) {
    words_.clear();
    const std::u16string_view line = glyphs_.substr(begin, end - begin);
    ForEachWord(line, [&](std::size_t b, std::size_t e) { words_.push_back(LineWord{begin + b, begin + e}); });
    Judge();
    Document& document = result_.document;
    std::size_t done = begin;
    bool english = false;  // the last word written was kept as English
    for (std::size_t w = 0; w < words_.size(); ++w) {
      const LineWord& word = words_[w];
      document.Append(glyphs_.substr(done, word.begin - done), english ? kept_ : legacy_);
      if (kinds_[w] != WordKind::kNeutral) english = kinds_[w] == WordKind::kEnglish;
      const std::size_t length = word.end - word.begin;
      if (english) {
        document.Append(characters_.substr(word.begin, length), kept_);
        ++result_.englishWords;
      } else {
        document.Append(glyphs_.substr(word.begin, length), legacy_);
        ++result_.legacyWords;
      }
      done = word.end;
    }
    document.Append(glyphs_.substr(done, end - done), english ? kept_ : legacy_);
  }

 private:
  void Judge() {
    kinds_.assign(words_.size(), WordKind::kMalayalam);
    if (options_.convertAll) return;
    scores_.clear();
    for (const LineWord& word : words_) {
      const std::size_t length = word.end - word.begin;
      scores_.push_back(ScoreWord(font_, glyphs_.substr(word.begin, length), characters_.substr(word.begin, length)));
    }
    JudgeLine(scores_, kinds_);
  }

  PlainTextDocument& result_;
  const PlainTextFont& font_;
  const PlainTextOptions& options_;
  std::u16string_view glyphs_;
  std::u16string_view characters_;
  FormatId legacy_;
  FormatId kept_;
  std::vector<LineWord> words_;
  std::vector<WordScore> scores_;
  std::vector<WordKind> kinds_;
};

}  // namespace

PlainTextDocument BuildPlainTextDocument(const GlyphText& text, const PlainTextFont& font,
                                         const PlainTextOptions& options) {
  PlainTextDocument result;
  result.document.Reserve(text.Size() + text.Size() / 16);
  LineWriter writer(result, text, font, options);
  const std::u16string_view glyphs = text.windows1252;
  std::size_t begin = 0;
  for (std::size_t end = glyphs.find(u'\n'); end != std::u16string_view::npos; end = glyphs.find(u'\n', begin)) {
    writer.Write(begin, end);
    result.document.Append(u"\r\n", writer.LegacyFormat());
    begin = end + 1;
  }
  writer.Write(begin, glyphs.size());
  return result;
}

Document UnchangedDocument(const GlyphText& text, std::string_view font) {
  Document document;
  document.Reserve(text.Size() + text.Size() / 16);
  AppendLines(document, text.Characters(), document.InternFont(font));
  return document;
}

}  // namespace maravelundi
