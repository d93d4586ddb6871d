// The window with word processors' documents: DOCX and ODT opened and
// converted in place to a document of their own format, and the formats
// only LibreOffice reads (a stand-in for it on the window's PATH) read and
// written back through it; what each output choice gives, and the errors,
// each a message with nothing half-written.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QRegularExpression>

#include "FrmMainFixture.h"
#include "app/QtPlatform.h"
#include "external/FakeLibreOffice.h"
#include "ism/FinishIsmText.h"
#include "office/OfficeFixtures.h"
#include "transcode/Transcoder.h"

namespace maravelundi::app {
namespace {

using testing::FrmMainTest;
using testing::ReadFile;
using testing::WriteFile;

const std::string kMava = "\xE0\xB4\xAE\xE0\xB4\xB5";  // മവ, typed "ae" in rc1

std::string WordDocument() {
  return test::BuildDocx(test::DocxParts().Body(
      "<w:p><w:r><w:rPr><w:rFonts w:ascii=\"rc1\" w:hAnsi=\"rc1\"/></w:rPr><w:t>ae</w:t></w:r>"
      "<w:r><w:t xml:space=\"preserve\"> in English</w:t></w:r></w:p>"));
}

std::string OpenDocument() {
  return test::BuildOdt(test::OdtParts()
                            .AutomaticStyles("<style:style style:name=\"T1\" style:family=\"text\">"
                                             "<style:text-properties style:font-name=\"rc1\"/></style:style>")
                            .Body("<text:p><text:span text:style-name=\"T1\">ae</text:span> in English</text:p>"));
}

// The text of a converted package's main part, and whether a font is named there.
std::string PartText(const std::string& package, std::string_view part) {
  test::ParsedPart parsed;
  test::ParsePart(package, part, parsed);
  std::string text;
  for (const pugi::xpath_node& node : parsed.Root().select_nodes("//text()")) text += node.node().value();
  return text;
}

bool PartNames(const std::string& package, std::string_view part, std::string_view font) {
  return test::ReadEntry(package, part).find(font) != std::string::npos;
}

class WholeDocumentTest : public FrmMainTest {
 protected:
  QString Write(const QString& name, const std::string& bytes) {
    WriteFile(temp_.filePath(name), bytes);
    return temp_.filePath(name);
  }

  // A stand-in for LibreOffice on the window's PATH, in a folder of the test's own.
  void StandIn(test::FakeSoffice what) {
    test::WriteFakeSoffice(tools_.filePath("bin").toStdString(), tools_.filePath("arguments").toStdString(), what);
    environment_.push_back("PATH=" + tools_.filePath("bin").toStdString());
  }

  // What the temporary folder holds: the results, and nothing of LibreOffice's.
  QStringList TemporaryEntries() const {
    return QDir(temp_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  }

  void Convert(const char* output) {
    Control<QRadioButton>(output)->setChecked(true);
    Control<QPushButton>("CmdConvert")->click();
  }

  QTemporaryDir tools_;
};

TEST_F(WholeDocumentTest, UnicodeAndIsmKeepTheDocumentsFormat) {
  struct Case {
    QString name;
    std::string bytes;
    const char* output;
    const char* part;
    const char* font;
    QString written;
  };
  const Case cases[] = {
      {"letter.docx", WordDocument(), "Option1", "word/document.xml", "Manjari", "26082720.docx"},
      {"letter.docx", WordDocument(), "Option2", "word/document.xml", "ML-TTRevathi", "26082720-2.docx"},
      {"letter.odt", OpenDocument(), "Option1", "content.xml", "Manjari", "26082720.odt"},
      {"letter.odt", OpenDocument(), "Option2", "content.xml", "ML-TTRevathi", "26082720-2.odt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString() + " " + c.output);
    Open(Write(c.name, c.bytes));
    ASSERT_TRUE(messages_.errors.empty()) << messages_.errors.front().toStdString();
    EXPECT_EQ(Control<QLineEdit>("Text1")->text(), temp_.filePath(c.name));
    EXPECT_TRUE(Control<QRadioButton>("Option4")->isChecked());  // rc1: generation 7
    QString captionWhileOpening;
    opener_.whileOpening = [&] { captionWhileOpening = Control<QLabel>("Label1")->text(); };
    Convert(c.output);
    ASSERT_FALSE(opener_.opened.empty());
    EXPECT_EQ(opener_.opened.back(), temp_.filePath(c.written));
    const std::string written = ReadFile(opener_.opened.back());
    EXPECT_TRUE(PartNames(written, c.part, c.font));
    const std::string text = PartText(written, c.part);
    if (std::string_view(c.output) == "Option1") {
      EXPECT_NE(text.find(kMava + " in English"), std::string::npos) << text;
      EXPECT_EQ(captionWhileOpening, "Please wait... Converting Rachana to Unicode.");
    } else {
      EXPECT_EQ(text.find(kMava), std::string::npos) << text;
      EXPECT_EQ(captionWhileOpening, "Please wait... Converting Rachana to ISM.");
    }
    // RTB2 holds the ML-TT text of the body, as after a Rich Text
    // conversion, for Save.
    const Document mltt = Transcode(window_.RTB1(), Generation::kVersion7);
    EXPECT_TRUE(window_.RTB2() == (std::string_view(c.output) == "Option2" ? FinishIsmText(mltt) : mltt));
    EXPECT_EQ(Control<QLabel>("Label1")->text(), "Converts RichText file typed in Rachana Font to Unicode.");
    EXPECT_TRUE(Control<QPushButton>("CmdConvert")->isEnabled());
  }
  EXPECT_TRUE(messages_.errors.empty());
}

// The stand-in's .doc is a DOCX behind a mark: it reads it as the DOCX and
// writes the converted DOCX back behind the mark.
TEST_F(WholeDocumentTest, ADocGoesThroughLibreOfficeAndComesBackADoc) {
  StandIn(test::FakeSoffice::kConverts);
  Open(Write("letter.doc", std::string(test::kFakeDocMark) + WordDocument()));
  ASSERT_TRUE(messages_.errors.empty()) << messages_.errors.front().toStdString();
  EXPECT_GE(window_.RTB1().Size(), 2u);
  EXPECT_TRUE(Control<QPushButton>("cmdOpen")->isEnabled());
  EXPECT_TRUE(Control<QPushButton>("CmdConvert")->isEnabled());
  EXPECT_EQ(TemporaryEntries(), QStringList{"letter.doc"});  // LibreOffice's folder is gone
  Convert("Option1");
  ASSERT_EQ(opener_.opened.size(), 1u);
  EXPECT_EQ(opener_.opened[0], temp_.filePath("26082720.doc"));
  const std::string written = ReadFile(opener_.opened[0]);
  ASSERT_TRUE(written.starts_with(test::kFakeDocMark));
  EXPECT_NE(PartText(written.substr(test::kFakeDocMark.size()), "word/document.xml").find(kMava), std::string::npos);
  EXPECT_EQ(TemporaryEntries(), (QStringList{"26082720.doc", "letter.doc"}));
  EXPECT_TRUE(messages_.errors.empty());
}

// Works documents are read by LibreOffice but not written: the result is
// the DOCX it was read as.
TEST_F(WholeDocumentTest, AFormatLibreOfficeOnlyReadsGivesItsDocx) {
  StandIn(test::FakeSoffice::kConverts);
  Open(Write("list.wps", std::string(test::kFakeDocMark) + WordDocument()));
  Convert("Option1");
  ASSERT_EQ(opener_.opened.size(), 1u);
  EXPECT_EQ(opener_.opened[0], temp_.filePath("26082720.docx"));
  EXPECT_TRUE(ReadFile(opener_.opened[0]).starts_with("PK"));
}

TEST_F(WholeDocumentTest, WithoutLibreOfficeADocIsNotOpened) {
  Open(Write("letter.doc", std::string(test::kFakeDocMark) + WordDocument()));
  ASSERT_EQ(messages_.errors.size(), 1u);
  EXPECT_EQ(messages_.errors[0], temp_.filePath("letter.doc") +
                                     ": LibreOffice is needed to read Word 97-2003 documents (.doc), and it is not "
                                     "installed (no soffice on PATH)");
  EXPECT_TRUE(window_.RTB1().Empty());
  EXPECT_TRUE(Control<QLineEdit>("Text1")->text().isEmpty());
  EXPECT_FALSE(Control<QPushButton>("CmdConvert")->isEnabled());
  EXPECT_TRUE(Control<QPushButton>("cmdOpen")->isEnabled());
  EXPECT_TRUE(Control<QPushButton>("cmdQuit")->isEnabled());
}

TEST_F(WholeDocumentTest, WhenLibreOfficeCannotWriteTheResultNothingIsWritten) {
  StandIn(test::FakeSoffice::kReadsButCannotWrite);
  Open(Write("letter.doc", std::string(test::kFakeDocMark) + WordDocument()));
  ASSERT_TRUE(messages_.errors.empty());
  Convert("Option1");
  EXPECT_TRUE(opener_.opened.empty());
  ASSERT_EQ(messages_.errors.size(), 1u);
  EXPECT_TRUE(messages_.errors[0].startsWith(temp_.filePath("letter.doc") + ": LibreOffice failed converting the result"))
      << messages_.errors[0].toStdString();
  EXPECT_TRUE(messages_.errors[0].endsWith("Error: no export filter")) << messages_.errors[0].toStdString();
  EXPECT_EQ(TemporaryEntries(), QStringList{"letter.doc"});
  EXPECT_TRUE(Control<QPushButton>("cmdOpen")->isEnabled());
  EXPECT_EQ(Control<QLabel>("Label1")->text(), "Converts RichText file typed in Rachana Font to Unicode.");
}

// Esc, waiting in the queue when LibreOffice starts, is seen while it
// works: the program ends and LibreOffice with it.
TEST_F(WholeDocumentTest, EscapeWhileLibreOfficeReadsEndsBoth) {
  StandIn(test::FakeSoffice::kSleeps);
  window_.show();
  testing::PostKey(Control<QWidget>("Text1"), Qt::Key_Escape);
  Open(Write("letter.doc", std::string(test::kFakeDocMark) + WordDocument()));
  EXPECT_TRUE(window_.Ending());
  EXPECT_TRUE(messages_.errors.empty());
  EXPECT_TRUE(window_.RTB1().Empty());
  EXPECT_EQ(TemporaryEntries(), QStringList{"letter.doc"});
}

TEST_F(WholeDocumentTest, WhatIsNoTextDocumentSaysSo) {
  const std::string presentation = test::BuildDocx(
      test::DocxParts().Body("<w:p/>").MainContentType(
          "application/vnd.ms-visio.drawing.main+xml"));
  Open(Write("sheet.docx", presentation));
  ASSERT_EQ(messages_.errors.size(), 1u);
  EXPECT_TRUE(messages_.errors[0].startsWith(temp_.filePath("sheet.docx") + ": ")) << messages_.errors[0].toStdString();
  EXPECT_TRUE(messages_.errors[0].contains("not a document, workbook or presentation")) << messages_.errors[0].toStdString();
  EXPECT_TRUE(window_.RTB1().Empty());
}

// Opening reads the document through the job layer, as the command line
// reads it: what cannot be read is a message naming the file and the place,
// and nothing is kept.
TEST_F(WholeDocumentTest, WhatCannotBeReadSaysWhereAndIsNotKept) {
  const struct {
    QString name;
    std::string bytes;
    QString says;  // the message after the path, as a pattern
  } cases[] = {
      {"cut.rtf", "{\\rtf1 an unfinished group", ": .+ \\(at byte \\d+\\)"},
      {"lies.docx", test::PatchDeclaredSize(WordDocument(), "word/document.xml", 10),
       ": word/document\\.xml: expands beyond its declared size"},
      {"bare.odt", test::BuildZip({{"mimetype", "application/vnd.oasis.opendocument.text", true}}),
       ": content\\.xml: is missing from the package"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    Open(testing::kSampleV7);
    messages_.errors.clear();
    Open(Write(c.name, c.bytes));
    ASSERT_EQ(messages_.errors.size(), 1u);
    const QRegularExpression expected("^" + QRegularExpression::escape(temp_.filePath(c.name)) + c.says + "$");
    EXPECT_TRUE(expected.match(messages_.errors[0]).hasMatch()) << messages_.errors[0].toStdString();
    EXPECT_TRUE(window_.RTB1().Empty());
    EXPECT_TRUE(Control<QLineEdit>("Text1")->text().isEmpty());
    EXPECT_FALSE(Control<QPushButton>("CmdConvert")->isEnabled());
  }
}

// The document opened is kept as it was read: every conversion of it gives
// the same result, and none reads the file again.
TEST_F(WholeDocumentTest, AnOpenedDocumentConvertsAgainAndAgain) {
  const QString path = Write("letter.docx", WordDocument());
  Open(path);
  ASSERT_TRUE(messages_.errors.empty()) << messages_.errors.front().toStdString();
  QFile::remove(path);
  for (int round = 0; round < 3; ++round) Convert("Option1");
  ASSERT_EQ(opener_.opened.size(), 3u) << (messages_.errors.empty() ? "" : messages_.errors.front().toStdString());
  const std::string first = ReadFile(opener_.opened[0]);
  EXPECT_TRUE(first.starts_with("PK"));
  for (const QString& written : opener_.opened) EXPECT_EQ(ReadFile(written), first) << written.toStdString();
  EXPECT_TRUE(messages_.errors.empty());
}

TEST_F(WholeDocumentTest, ADroppedDocxIsOpenedAndClearForgetsIt) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(Write("dropped.docx", WordDocument()))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window_, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window_, &drop);
  EXPECT_EQ(Control<QLineEdit>("Text1")->text(), temp_.filePath("dropped.docx"));
  EXPECT_GE(window_.RTB1().Size(), 2u);
  Control<QPushButton>("cmdClear")->click();
  // A Rich Text document opened next converts as Rich Text again.
  Open(testing::kSampleV7);
  Convert("Option1");
  ASSERT_EQ(opener_.opened.size(), 1u);
  EXPECT_TRUE(opener_.opened[0].endsWith(".html"));
}

TEST(OpenDialog, OffersEachKindOfDocument) {
  const QStringList filters = OpenDialogFilters();
  ASSERT_GE(filters.size(), 3);
  EXPECT_EQ(filters.front(), "Rich Text Format (*.RTF)");  // the one it opens on, as always
  EXPECT_EQ(filters.back(), "All files (*.*)");
  // The filters that offer each file, matched without regard to case as
  // the dialog matches them.
  const auto offering = [&](const QString& file) {
    QStringList found;
    for (const QString& filter : filters) {
      const QString patterns = filter.section(QLatin1Char('('), 1).chopped(1);
      for (const QString& pattern : patterns.split(QLatin1Char(' '))) {
        const QRegularExpression wildcard(QRegularExpression::wildcardToRegularExpression(pattern),
                                          QRegularExpression::CaseInsensitiveOption);
        if (wildcard.match(file).hasMatch()) {
          found << filter.section(QLatin1Char(' '), 0, 0);
          break;
        }
      }
    }
    return found;
  };
  EXPECT_EQ(offering("a.rtf"), (QStringList{"Rich", "All", "All"}));
  EXPECT_EQ(offering("a.docx"), (QStringList{"Word", "All", "All"}));
  EXPECT_EQ(offering("a.odt"), (QStringList{"Word", "All", "All"}));
  EXPECT_EQ(offering("a.DOC"), (QStringList{"Read", "All", "All"}));
  EXPECT_EQ(offering("a.wps"), (QStringList{"Read", "All", "All"}));
  EXPECT_EQ(offering("a.txt"), (QStringList{"All"}));
  EXPECT_EQ(offering("a.xlsx"), (QStringList{"Spreadsheets", "All", "All"}));
  EXPECT_EQ(offering("a.Odp"), (QStringList{"Spreadsheets", "All", "All"}));
  EXPECT_EQ(offering("a.xls"), (QStringList{"Read", "All", "All"}));
  EXPECT_EQ(offering("a.ppt"), (QStringList{"Read", "All", "All"}));
}

// The window spells as the command line does without --spelling: the
// Unicode HTML of a Rich Text document as converted, a document converted
// in place as Unicode writes Malayalam today. കേരളത്തിൽ ends in chillu L:
// LA, virama and zero width joiner as converted, the atomic chillu today.
TEST_F(WholeDocumentTest, UnicodeIsSpelledAsTheCommandLineSpellsItsOutput) {
  const std::string keys = "uIcj\xC2\xBFo\xC2\xB2";  // in a package's XML, the bytes BF and B2 as characters
  const struct {
    QString name;
    std::string bytes;
    std::string part;  // empty: the written file itself
    std::string spelled, notSpelled;
  } cases[] = {
      {"letter.rtf", "{\\rtf1{\\fonttbl{\\f0 rc1;}}\\f0 uIcj\\'bfo\\'b2\\par}", "", "&#3378;&#3405;&#8205;",
       "&#3453;"},
      {"letter.docx",
       test::BuildDocx(test::DocxParts().Body(
           "<w:p><w:r><w:rPr><w:rFonts w:ascii=\"rc1\" w:hAnsi=\"rc1\"/></w:rPr><w:t>" + keys + "</w:t></w:r></w:p>")),
       "word/document.xml", "\xE0\xB5\xBD", "\xE0\xB4\xB2\xE0\xB5\x8D\xE2\x80\x8D"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    Open(Write(c.name, c.bytes));
    ASSERT_TRUE(messages_.errors.empty()) << messages_.errors.front().toStdString();
    Convert("Option1");
    ASSERT_FALSE(opener_.opened.empty());
    const std::string written = ReadFile(opener_.opened.back());
    const std::string text = c.part.empty() ? written : test::ReadEntry(written, c.part);
    EXPECT_NE(text.find(c.spelled), std::string::npos) << text;
    EXPECT_EQ(text.find(c.notSpelled), std::string::npos) << text;
  }
}

}  // namespace
}  // namespace maravelundi::app
