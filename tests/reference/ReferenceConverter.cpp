#include "reference/ReferenceConverter.h"

#include <cstdint>
#include <string>

#include "reference/CaretModel.h"
#include "transcode/GlyphTables.h"
#include "unicode/GlyphToEntity.h"

namespace maravelundi::reference {

namespace {

// ---------------------------------------------------------------------------
// Stage one


struct DispatchRow {
  const char* firstName;
  const char* secondName;
  const char* table;  // the glyph table by name
};

constexpr DispatchRow kVersion2Rows[6] = {
    {"ra1", "rkr1", "MapV2Font1"}, {"ra2", "rkr2", "MapV2Font2"}, {"ra3", "rkr3", "MapV2Font3"},
    {"ra4", "rkr4", "MapV2Font4"}, {"ra5", "rkr5", "MapV2Font5"}, {"ra6", "rkr6", "MapV2Font6"},
};

constexpr DispatchRow kVersion7Rows[6] = {
    {"rc1", "rl1", "MapV7Font1"}, {"rc2", "rl2", "MapV7Font2"}, {"rc3", "rl3", "MapV7Font3"},
    {"rc4", "rl4", "MapV7Font4"}, {"rc5", "rl5", "MapV7Font5"}, {"rc6", "rl6", "MapV7Font6"},
};

const std::string kMlttFont = "ML-TTRevathi";

// Lower-cases the letters A-Z one byte at a time; every font name the
// generations recognise is plain ASCII.
std::string LowerCase(const std::string& name) {
  std::string lower;
  for (char c : name) {
    if (c >= 'A' && c <= 'Z') {
      lower.push_back(static_cast<char>(c - 'A' + 'a'));
    } else {
      lower.push_back(c);
    }
  }
  return lower;
}

Document TranscodeWalk(const Document& source, const DispatchRow (&rows)[6]) {
  CaretModel rtb1(source);
  CaretModel rtb2;
  rtb2.SetText(u"");
  rtb2.SetSelStart(1);
  // The source never changes under the walk, so its text and its length are
  // read once.
  const std::u16string sourceText = rtb1.Text();
  const long long n = static_cast<long long>(sourceText.size());
  for (long long i = 1; i <= n; ++i) {
    rtb1.SetSelStart(i);
    const std::u16string current = sourceText.substr(static_cast<std::size_t>(i - 1), 1);
    rtb2.SetSelFontName(kMlttFont);
    const std::string font = rtb1.SelFontName();
    const std::string lower = LowerCase(font);
    bool matched = false;
    for (const DispatchRow& row : rows) {
      if (lower == row.firstName || lower == row.secondName) {
        rtb2.SetSelText(MapGlyph(*FindGlyphTable(row.table), current));
        matched = true;
        break;
      }
    }
    if (!matched) {
      rtb2.SetSelFontName(font);
      rtb2.SetSelText(current);
    }
  }
  return rtb2.ToDocument();
}

// ---------------------------------------------------------------------------
// Sign classes and the ISM pass

bool OccursIn(std::u16string_view s, std::u16string_view classString) {
  if (s.empty()) return true;
  if (s.size() > classString.size()) return false;
  for (std::size_t start = 0; start + s.size() <= classString.size(); ++start) {
    bool all = true;
    for (std::size_t k = 0; k < s.size(); ++k) {
      if (classString[start + k] != s[k]) {
        all = false;
        break;
      }
    }
    if (all) return true;
  }
  return false;
}

// A letter code: the character's 16-bit code read as a signed number is
// above '@'.
bool IsLetter(char16_t ch) {
  const std::uint16_t unsignedCode = ch;
  const long signedCode = unsignedCode >= 0x8000 ? static_cast<long>(unsignedCode) - 0x10000 : unsignedCode;
  return signedCode > 64;
}

bool IsMlFont(const std::string& font) { return font.size() >= 3 && font.substr(0, 3) == "ML-"; }

// ---------------------------------------------------------------------------
// The Unicode walk

// Collects the body: markup (character references, tags) goes in as it is,
// text taken from the document is escaped.
class BodyWriter {
 public:
  void Markup(std::u16string_view markup) { out_.append(markup); }

  void Markup(const char* ascii) {
    for (const char* p = ascii; *p != '\0'; ++p) out_.push_back(static_cast<char16_t>(*p));
  }

  void CopiedText(std::u16string_view text) {
    for (char16_t ch : text) {
      if (ch == u'&') {
        Markup("&amp;");
      } else if (ch == u'<') {
        Markup("&lt;");
      } else if (ch == u'>') {
        Markup("&gt;");
      } else {
        out_.push_back(ch);
      }
    }
  }

  // G(key): the entity table's text. The table never maps a unit to itself,
  // so a result equal to a non-empty key is a unit the table does not know,
  // passed through, and it is text of the document.
  void G(const std::u16string& key) {
    const std::u16string value = GlyphToEntity(key);
    if (!key.empty() && value == key) {
      CopiedText(value);
    } else {
      Markup(value);
    }
  }

  const std::u16string& Body() const { return out_; }

 private:
  std::u16string out_;
};

class UnicodeWalk {
 public:
  UnicodeWalk(const Document& mltt, RuleHits* hits) : rtb2_(mltt), text_(rtb2_.Text()), hits_(hits) {}

  std::u16string Run() {
    const long long n = static_cast<long long>(text_.size());
    long long i = 1;
    while (i <= n) {
      rtb2_.SetSelStart(i);
      const std::string font = rtb2_.SelFontName();
      long long consumed = 1;
      if (IsMlFont(font)) {
        consumed = MlttRules(i);
      } else {
        OtherFont(i);
      }
      // The rule's consumed positions, the last of them being the usual step
      // of one.
      i += consumed;
    }
    return out_.Body();
  }

 private:
  // T[k], 1-based; empty past the end.
  std::u16string T(long long k) const {
    if (k >= 1 && k <= static_cast<long long>(text_.size())) {
      return std::u16string(1, text_[static_cast<std::size_t>(k - 1)]);
    }
    return u"";
  }

  bool Is(long long k, char16_t ch) const { return T(k) == std::u16string(1, ch); }

  // A cell naming a set of characters: the end of the text counts as one of
  // them.
  bool In(long long k, std::u16string_view set) const {
    const std::u16string t = T(k);
    if (t.empty()) return true;
    return set.find(t[0]) != std::u16string_view::npos;
  }

  void G(const std::u16string& key) { out_.G(key); }

  // The unit at position k. A line feed there that does not end a CR LF
  // pair is a line break typed inside Malayalam, written as one.
  void GAt(long long k) {
    if (Is(k, u'\n') && !Is(k - 1, u'\r')) {
      Lit("<br>\r\n");
    } else {
      G(T(k));
    }
  }
  void Lit(const char* markup) { out_.Markup(markup); }

  static std::u16string Pair(char16_t a, char16_t b) { return std::u16string{a, b}; }

  long long MlttRules(long long i) {
    const std::u16string_view kConsonantTail = u"\\bcdefghk";
    if (Is(i, u's') && Is(i + 1, u's') && Is(i + 2, u'{')) {  // 1
      GAt(i + 3);
      G(u"{");
      G(u"ss");
      return Fired(1, 4);
    } else if (Is(i, u'v') && Is(i + 1, u'-') && Is(i + 2, u'f')) {  // 2
      Lit("&#3340;");
      return Fired(2, 3);
    } else if (Is(i, u'f') && Is(i + 1, u'-') && Is(i + 2, u'n')) {  // 3
      Lit("&#3425;");
      return Fired(3, 3);
    } else if (Is(i, u']') && Is(i + 1, u'v') && Is(i + 2, u'\\')) {  // 4
      G(u"]");
      Lit("&#3405;");
      G(u"\\");
      return Fired(4, 3);
    } else if (Is(i, u's') && Is(i + 1, u's')) {  // 5
      GAt(i + 2);
      G(u"ss");
      return Fired(5, 3);
    } else if (Is(i, u'v') && In(i + 1, kConsonantTail)) {  // 6
      Lit("&#3405;&#8204;");
      GAt(i + 1);
      return Fired(6, 2);
    } else if (Is(i, u'v') && Is(i + 1, u'-') && In(i + 2, kConsonantTail)) {  // 7
      Lit("&#3405;&#8204;");
      G(u"-");
      return Fired(7, 2);
    } else if (Is(i, u'v') && In(i + 1, u"st")) {  // 8
      Lit("&#3405;&#8204;");
      return Fired(8, 1);
    } else if (Is(i, u'v') && Is(i + 1, u'-') && In(i + 2, u"st")) {  // 9
      Lit("&#3405;&#8204;");
      G(u"-");
      return Fired(9, 2);
    } else if (Is(i, u's') && Is(i + 2, u'm')) {  // 10
      GAt(i + 1);
      G(Pair(u's', u'm'));
      return Fired(10, 3);
    } else if (Is(i, u't') && Is(i + 2, u'm')) {  // 11
      GAt(i + 1);
      G(Pair(u't', u'm'));
      return Fired(11, 3);
    } else if (Is(i, u's') && Is(i + 2, u'u')) {  // 12
      GAt(i + 1);
      G(Pair(u's', u'u'));
      return Fired(12, 3);
    } else if (Is(i, u't') && Is(i + 2, u'u')) {  // 13
      GAt(i + 1);
      G(Pair(u't', u'u'));
      return Fired(13, 3);
    } else if (Is(i, u's') && Is(i + 1, u'{')) {  // 14
      GAt(i + 2);
      G(u"{");
      G(u"s");
      return Fired(14, 3);
    } else if (Is(i, u't') && Is(i + 1, u'{')) {  // 15
      GAt(i + 2);
      G(u"{");
      G(u"t");
      return Fired(15, 3);
    } else if (Is(i, u's') && Is(i + 2, u'y')) {  // 16
      GAt(i + 1);
      G(u"y");
      G(u"s");
      return Fired(16, 3);
    } else if (Is(i, u't') && Is(i + 2, u'y')) {  // 17
      GAt(i + 1);
      G(u"y");
      G(u"t");
      return Fired(17, 3);
    } else if (Is(i, u'C') && Is(i + 1, u'u')) {  // 18
      G(u"Cu");
      return Fired(18, 2);
    } else if (Is(i, u'D') && Is(i + 1, u'u')) {  // 19
      G(u"Du");
      return Fired(19, 2);
    } else if (Is(i, u'H') && Is(i + 1, u'u')) {  // 20
      G(u"Hu");
      return Fired(20, 2);
    } else if (Is(i, u'H') && Is(i + 1, u'm')) {  // 21
      G(u"Hm");
      return Fired(21, 2);
    } else if (Is(i, u's') && Is(i + 1, u'F')) {  // 22
      G(u"sF");
      return Fired(22, 2);
    } else if (Is(i, u't') && Is(i + 2, u'z')) {  // 23
      GAt(i + 1);
      Lit("&#3405;&#3381;");
      Lit("&#3399;");
      return Fired(23, 3);
    } else if (Is(i, u's') && Is(i + 2, u'z')) {  // 24
      GAt(i + 1);
      Lit("&#3405;&#3381;");
      Lit("&#3398;");
      return Fired(24, 3);
    } else if (Is(i, u'\u00C0') && Is(i + 1, u't') && Is(i + 2, u'\u00CC')) {  // 25
      Lit("&#3376;&#3405;&#8205;&#8204;");
      Lit("&#3384;&#3405;&#3377;&#3405;&#3377;");
      Lit("&#3399;");
      return Fired(25, 3);
    } else if (Is(i, u'\u00C0') && Is(i + 1, u'-') && Is(i + 2, u't') && Is(i + 3, u'\u00CC')) {  // 26
      Lit("&#3376;&#3405;&#8205;&#8204;");
      Lit("&#3384;&#3405;&#3377;&#3405;&#3377;");
      Lit("&#3399;");
      return Fired(26, 4);
    } else if (Is(i, u'{') || Is(i, u't') || Is(i, u's')) {  // 27
      GAt(i + 1);
      GAt(i);
      return Fired(27, 2);
    } else if (Is(i, u'\u00E4') && Is(i + 1, u'y')) {  // 28
      G(u"\u00E4");
      Lit("&#3391;&#3375;");
      return Fired(28, 2);
    } else {  // 29
      GAt(i);
      return Fired(29, 1);
    }
  }

  long long Fired(int rule, long long consumed) {
    if (hits_ != nullptr) ++(*hits_)[static_cast<std::size_t>(rule)];
    return consumed;
  }

  void OtherFont(long long i) {
    Fired(0, 1);
    if (Is(i, u'\n')) {
      Lit("<br>\r\n");
    } else if (Is(i, u'\r')) {
      Lit("<p>\r\n");
    } else {
      out_.CopiedText(T(i));
    }
  }

  CaretModel rtb2_;
  const std::u16string text_;  // the walk never changes the text
  BodyWriter out_;
  RuleHits* hits_;
};

void AppendCodePoint(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

bool IsHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

const char* const kHtmlHead =
    "<html>\r\n"
    "<head>\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
    "</head>\r\n"
    "<body>";

}  // namespace

Document TranscodeVersion2(const Document& source) { return TranscodeWalk(source, kVersion2Rows); }
Document TranscodeVersion7(const Document& source) { return TranscodeWalk(source, kVersion7Rows); }

bool IsPostBaseSign(std::u16string_view s) { return OccursIn(s, u"mnopqruvwxyz "); }
bool IsPreBaseSign(std::u16string_view s) { return OccursIn(s, u"st{"); }

Document FinishIsmText(const Document& mltt) {
  CaretModel rtb2(mltt);
  if (rtb2.Text().size() < 2) return rtb2.ToDocument();
  long long i = 1;
  while (true) {
    rtb2.SetSelStart(i);
    const std::u16string text = rtb2.Text();
    const long long size = static_cast<long long>(text.size());
    const bool hasNext = i + 1 <= size;
    if (hasNext) {
      const char16_t current = text[static_cast<std::size_t>(i - 1)];
      const char16_t next = text[static_cast<std::size_t>(i)];
      if (IsLetter(current) && IsLetter(next)) {
        if (!IsPostBaseSign(std::u16string(1, next)) && !IsPreBaseSign(std::u16string(1, current))) {
          if (IsMlFont(rtb2.SelFontName())) rtb2.SetSelText(u"-");
        }
      }
    }
    if (i >= static_cast<long long>(rtb2.Text().size())) break;
    ++i;
  }
  return rtb2.ToDocument();
}

std::u16string UnicodeBody16(const Document& mltt, RuleHits* hits) { return UnicodeWalk(mltt, hits).Run(); }

std::string Utf16ToUtf8(std::u16string_view units) {
  std::string out;
  for (std::size_t k = 0; k < units.size(); ++k) {
    const char16_t u = units[k];
    if (IsHigh(u) && k + 1 < units.size() && IsLow(units[k + 1])) {
      const std::uint32_t cp = 0x10000 + ((static_cast<std::uint32_t>(u) - 0xD800) << 10) +
                               (static_cast<std::uint32_t>(units[k + 1]) - 0xDC00);
      AppendCodePoint(out, cp);
      ++k;
    } else if (IsHigh(u) || IsLow(u)) {
      AppendCodePoint(out, 0xFFFD);
    } else {
      AppendCodePoint(out, u);
    }
  }
  return out;
}

std::string UnicodeBody(const Document& mltt) { return Utf16ToUtf8(UnicodeBody16(mltt)); }

std::string UnicodeHtml(const Document& mltt) {
  std::string html = kHtmlHead;
  html += UnicodeBody(mltt);
  html += "\r\n";
  html += "</font></body>\r\n";
  html += "</html>\r\n";
  return html;
}

std::string UnicodeHtmlFile(const Document& mltt) { return UnicodeHtml(mltt) + "\r\n"; }

}  // namespace maravelundi::reference
