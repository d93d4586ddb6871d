// The window driven as a user drives it, with the desktop's dialogs, message
// box and opener replaced by scripted stand-ins.

#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QFileSystemWatcher>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>

#include "FakePlatform.h"
#include "FrmMainFixture.h"
#include "app/FrmMain.h"
#include "convert/Conversion.h"
#include "ism/FinishIsmText.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "transcode/Transcoder.h"

namespace maravelundi::app {
namespace {

using testing::FrmMainTest;
using testing::kSampleV2;
using testing::kSampleV7;
using testing::PostKey;
using testing::ReadFile;
using testing::WaitUntil;
using testing::WriteFile;


TEST_F(FrmMainTest, LaysOutEveryControl) {
  EXPECT_EQ(window_.objectName(), "frmMain");
  EXPECT_EQ(window_.windowTitle(), "Maravelundi");
  EXPECT_EQ(window_.minimumSize(), QSize(346, 209));
  EXPECT_EQ(window_.maximumSize(), QSize(346, 209));
  EXPECT_FALSE(window_.windowFlags() & Qt::WindowMaximizeButtonHint);
  struct Expected {
    const char* name;
    const char* parent;
    QString caption;
    QRect twips;
  };
  const Expected controls[] = {
      {"Frame3", "frmMain", "Input File:", {120, 120, 4935, 735}},
      {"Text1", "Frame3", "", {120, 240, 4575, 285}},
      {"Command1", "Frame3", "...", {4440, 240, 375, 285}},
      {"Frame5", "frmMain", "Rachana Version:", {120, 960, 4935, 615}},
      {"Option3", "Frame5", "&2 (RA, RKR)", {120, 240, 1335, 255}},
      {"Option4", "Frame5", "&7 (RC, RL)", {3360, 240, 1095, 255}},
      {"Frame4", "frmMain", "Font:", {120, 1620, 2055, 615}},
      {"Option2", "Frame4", "&ISM", {1080, 240, 855, 255}},
      {"Option1", "Frame4", "&Unicode", {120, 240, 975, 255}},
      {"cmdOpen", "frmMain", "&Open", {2400, 1920, 750, 320}},
      {"CmdConvert", "frmMain", "&Convert", {3360, 1920, 750, 320}},
      {"cmdQuit", "frmMain", "&Quit", {4320, 1920, 750, 320}},
      {"Label1", "frmMain", "Converts RTF file typed in Rachana Font to ISM font or Unicode font. ", {120, 2280, 4965, 210}},
      {"Label2", "frmMain", "BETA VERSION.... ONLY FOR TESTING", {0, 2520, 5175, 255}},
      {"PB", "frmMain", "", {0, 2880, 5280, 255}},
      {"CmdSave", "frmMain", "&Save", {6000, 4440, 750, 320}},
      {"CmdCopy", "frmMain", "C&opy", {6960, 4440, 750, 320}},
      {"cmdClear", "frmMain", "C&lear", {7920, 4440, 750, 320}},
      {"Frame2", "frmMain", "ML", {240, 5280, 3975, 4365}},
      {"RTB2", "Frame2", "", {120, 240, 3735, 3975}},
      {"Frame1", "frmMain", "ShreeLipi", {5280, 5640, 3975, 4365}},
      {"RTB1", "Frame1", "", {120, 240, 3735, 3975}},
      {"URTB", "frmMain", "", {2040, 5160, 1455, 735}},
  };
  for (const Expected& c : controls) {
    QWidget* control = Control<QWidget>(c.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->parentWidget()->objectName(), c.parent) << c.name;
    const QRect pixels(qRound(c.twips.x() / 15.0), qRound(c.twips.y() / 15.0), qRound(c.twips.width() / 15.0),
                       qRound(c.twips.height() / 15.0));
    EXPECT_EQ(control->geometry(), pixels) << c.name;
    QString caption;
    if (auto* button = qobject_cast<QAbstractButton*>(control)) caption = button->text();
    if (auto* label = qobject_cast<QLabel*>(control)) caption = label->text();
    if (auto* frame = qobject_cast<QGroupBox*>(control)) caption = frame->title();
    EXPECT_EQ(caption, c.caption) << c.name;
  }
  EXPECT_TRUE(Control<QRadioButton>("Option1")->isChecked());
  EXPECT_TRUE(Control<QRadioButton>("Option4")->isChecked());
  EXPECT_FALSE(Control<QRadioButton>("Option2")->isChecked());
  EXPECT_FALSE(Control<QRadioButton>("Option3")->isChecked());
  EXPECT_EQ(TextColour("Label1"), QColor(Qt::blue));
  EXPECT_EQ(TextColour("Label2"), QColor(Qt::white));
  EXPECT_EQ(Control<QLabel>("Label2")->palette().color(QPalette::Window), QColor(Qt::red));
  EXPECT_TRUE(Control<QLabel>("Label2")->font().bold());
  EXPECT_EQ(Control<QLabel>("Label1")->font().family(), "Arial");
  EXPECT_DOUBLE_EQ(Control<QLabel>("Label1")->font().pointSizeF(), 8.25);
  for (const char* name : {"cmdOpen", "CmdConvert", "cmdQuit", "Label1"}) {
    EXPECT_FALSE(Control<QWidget>(name)->toolTip().isEmpty()) << name;
  }
}

TEST_F(FrmMainTest, TabOrderFollowsTheDesign) {
  const QStringList order = {"cmdQuit", "CmdConvert", "cmdClear", "CmdCopy", "RTB1",    "RTB2",    "CmdSave", "cmdOpen",
                             "Text1",   "URTB",       "Option1",  "Option2", "Option3", "Option4", "Command1"};
  // The focus chain also passes through the frames and the inner parts of the
  // text boxes; the controls that take focus must follow one another in order.
  QStringList seen;
  QWidget* widget = Control<QWidget>("cmdQuit");
  do {
    if (order.contains(widget->objectName()) && !seen.contains(widget->objectName())) seen << widget->objectName();
    widget = widget->nextInFocusChain();
  } while (widget != Control<QWidget>("cmdQuit"));
  EXPECT_EQ(seen, order);
}

TEST_F(FrmMainTest, ConvertNeedsTwoCharacters) {
  QPushButton* convert = Control<QPushButton>("CmdConvert");
  EXPECT_FALSE(convert->isEnabled());
  WriteFile(temp_.filePath("one.rtf"), "{\\rtf1 a}");
  WriteFile(temp_.filePath("two.rtf"), "{\\rtf1 ab}");
  Open(temp_.filePath("one.rtf"));
  EXPECT_EQ(window_.RTB1().Size(), 1u);
  EXPECT_FALSE(convert->isEnabled());
  Open(temp_.filePath("two.rtf"));
  EXPECT_TRUE(convert->isEnabled());
  Control<QPushButton>("cmdClear")->click();
  EXPECT_FALSE(convert->isEnabled());
  EXPECT_EQ(Control<QLineEdit>("Text1")->text(), temp_.filePath("two.rtf"));  // Clear keeps the path
}

TEST_F(FrmMainTest, OpenLoadsCancelKeepsAndFailureSaysWhy) {
  Open(kSampleV7);
  EXPECT_EQ(Control<QLineEdit>("Text1")->text(), kSampleV7);
  EXPECT_GT(window_.RTB1().Size(), 50u);
  EXPECT_EQ(window_.RTB1().FontAt(0), "rc1");

  Open(QString());  // cancelled
  EXPECT_EQ(Control<QLineEdit>("Text1")->text(), kSampleV7);
  EXPECT_GT(window_.RTB1().Size(), 50u);

  WriteFile(temp_.filePath("notes.txt"), "not rich text");
  Open(temp_.filePath("notes.txt"));
  ASSERT_EQ(messages_.errors.size(), 1u);
  EXPECT_TRUE(messages_.errors[0].contains("notes.txt")) << messages_.errors[0].toStdString();
  EXPECT_TRUE(messages_.errors[0].contains("notes.txt: not a document we know (it begins with the text \"not rich text\""))
      << messages_.errors[0].toStdString();
  EXPECT_TRUE(window_.RTB1().Empty());
  EXPECT_TRUE(Control<QLineEdit>("Text1")->text().isEmpty());

  Open(temp_.filePath("missing.rtf"));
  ASSERT_EQ(messages_.errors.size(), 2u);
  EXPECT_TRUE(messages_.errors[1].contains("missing.rtf"));
  EXPECT_FALSE(Control<QPushButton>("CmdConvert")->isEnabled());
}

struct BranchCase {
  const char* output;
  const char* generation;
  QString sample;
  Generation stageOne;
  OutputKind stageTwo;
  TextTarget target;
  const char* waitCaption;
  const char* extension;
};

TEST_F(FrmMainTest, EachBranchWritesOpensAndRestores) {
  const BranchCase cases[] = {
      {"Option1", "Option3", kSampleV2, Generation::kVersion2, OutputKind::kUnicodeHtml, TextTarget::kUnicode,
       "Please wait... Converting Rachana to Unicode.", ".html"},
      {"Option1", "Option4", kSampleV7, Generation::kVersion7, OutputKind::kUnicodeHtml, TextTarget::kUnicode,
       "Please wait... Converting Rachana to Unicode.", ".html"},
      {"Option2", "Option3", kSampleV2, Generation::kVersion2, OutputKind::kRichText, TextTarget::kIsm,
       "Please wait... Converting Rachana to ISM.", ".rtf"},
      {"Option2", "Option4", kSampleV7, Generation::kVersion7, OutputKind::kRichText, TextTarget::kIsm,
       "Please wait... Converting Rachana to ISM.", ".rtf"},
  };
  for (const BranchCase& c : cases) {
    SCOPED_TRACE(std::string(c.output) + " " + c.generation);
    Open(c.sample);
    Control<QRadioButton>(c.output)->setChecked(true);
    Control<QRadioButton>(c.generation)->setChecked(true);
    QString captionWhileOpening;
    QColor colourWhileOpening;
    bool buttonsDisabled = false;
    opener_.whileOpening = [&] {
      captionWhileOpening = Control<QLabel>("Label1")->text();
      colourWhileOpening = TextColour("Label1");
      buttonsDisabled = !Control<QPushButton>("cmdOpen")->isEnabled() &&
                        !Control<QPushButton>("CmdConvert")->isEnabled() &&
                        !Control<QPushButton>("cmdQuit")->isEnabled();
    };
    const std::size_t before = opener_.opened.size();
    Control<QPushButton>("CmdConvert")->click();
    ASSERT_EQ(opener_.opened.size(), before + 1);
    const QString path = opener_.opened.back();
    EXPECT_TRUE(path.startsWith(temp_.path() + "/26082720")) << path.toStdString();
    EXPECT_TRUE(path.endsWith(c.extension)) << path.toStdString();
    EXPECT_EQ(captionWhileOpening, c.waitCaption);
    EXPECT_EQ(colourWhileOpening, QColor(Qt::red));
    EXPECT_TRUE(buttonsDisabled);

    ASSERT_TRUE(std::ifstream(c.sample.toStdString(), std::ios::binary)) << c.sample.toStdString();
    const Document source = ReadRtf(ReadFile(c.sample)).document;
    EXPECT_EQ(ReadFile(path),
              ConvertDocument(source, c.stageTwo, ConversionProfile{.generation = c.stageOne, .target = c.target}));
    // RTB2 keeps stage one's document, finished for ISM, whose Rich Text and
    // a line end are then exactly the ISM file.
    const Document mltt = Transcode(source, c.stageOne);
    if (c.target == TextTarget::kIsm) {
      EXPECT_TRUE(window_.RTB2() == FinishIsmText(mltt));
      EXPECT_EQ(ReadFile(path), WriteRtf(window_.RTB2()) + "\r\n");
    } else {
      EXPECT_TRUE(window_.RTB2() == mltt);
    }

    EXPECT_EQ(Control<QLabel>("Label1")->text(), "Converts RichText file typed in Rachana Font to Unicode.");
    EXPECT_EQ(TextColour("Label1"), QColor(Qt::blue));
    EXPECT_TRUE(Control<QPushButton>("cmdOpen")->isEnabled());
    EXPECT_TRUE(Control<QPushButton>("CmdConvert")->isEnabled());
    EXPECT_TRUE(Control<QPushButton>("cmdQuit")->isEnabled());
    EXPECT_TRUE(window_.isEnabled());
    EXPECT_EQ(Control<QProgressBar>("PB")->value(), Control<QProgressBar>("PB")->maximum());
  }
  EXPECT_TRUE(messages_.errors.empty());
}

TEST_F(FrmMainTest, SameStampGetsANewNameInsteadOfReplacing) {
  Open(kSampleV7);
  Control<QPushButton>("CmdConvert")->click();
  Control<QPushButton>("CmdConvert")->click();
  Control<QPushButton>("CmdConvert")->click();
  ASSERT_EQ(opener_.opened.size(), 3u);
  EXPECT_EQ(opener_.opened[0], temp_.path() + "/26082720.html");
  EXPECT_EQ(opener_.opened[1], temp_.path() + "/26082720-2.html");
  EXPECT_EQ(opener_.opened[2], temp_.path() + "/26082720-3.html");
}

TEST_F(FrmMainTest, UnwritableOutputIsReportedAndNotOpened) {
  Open(kSampleV7);
  ASSERT_TRUE(QDir(temp_.path()).removeRecursively());
  Control<QPushButton>("CmdConvert")->click();
  EXPECT_TRUE(opener_.opened.empty());
  ASSERT_EQ(messages_.errors.size(), 1u);
  EXPECT_TRUE(messages_.errors[0].contains("26082720.html")) << messages_.errors[0].toStdString();
  EXPECT_TRUE(Control<QPushButton>("cmdOpen")->isEnabled());
  EXPECT_EQ(Control<QLabel>("Label1")->text(), "Converts RichText file typed in Rachana Font to Unicode.");
}

TEST_F(FrmMainTest, SaysWhereTheResultIsWhenTheDesktopCannotOpenIt) {
  opener_.desktopCanOpen = false;
  Open(kSampleV7);
  Control<QPushButton>("CmdConvert")->click();
  ASSERT_EQ(opener_.opened.size(), 1u);
  ASSERT_EQ(messages_.errors.size(), 1u);
  EXPECT_TRUE(messages_.errors[0].contains(opener_.opened[0])) << messages_.errors[0].toStdString();
  EXPECT_TRUE(QFile::exists(opener_.opened[0]));
}

TEST_F(FrmMainTest, SaveAppendsTheExtensionAndAsksBeforeReplacing) {
  Open(kSampleV7);
  Control<QRadioButton>("Option2")->setChecked(true);
  Control<QPushButton>("CmdConvert")->click();
  const Document converted = window_.RTB2();
  ASSERT_FALSE(converted.Empty());
  QPushButton* save = Control<QPushButton>("CmdSave");

  dialogs_.saveAnswers = {temp_.filePath("out")};
  save->click();
  EXPECT_TRUE(ReadRtf(ReadFile(temp_.filePath("out.RTF"))).document == converted);

  dialogs_.saveAnswers = {temp_.filePath("lower.rtf")};
  save->click();
  EXPECT_TRUE(QFile::exists(temp_.filePath("lower.rtf")));
  EXPECT_FALSE(QFile::exists(temp_.filePath("lower.rtf.RTF")));

  // An existing file: No reopens the dialog, Cancel saves nothing, Yes saves.
  WriteFile(temp_.filePath("keep.RTF"), "earlier");
  dialogs_.saveAnswers = {temp_.filePath("keep.RTF"), temp_.filePath("keep")};
  messages_.overwriteAnswers = {OverwriteAnswer::kNo, OverwriteAnswer::kCancel};
  save->click();
  EXPECT_EQ(dialogs_.saveCalls, 4);
  EXPECT_EQ(messages_.overwriteQuestions, 2);
  EXPECT_EQ(ReadFile(temp_.filePath("keep.RTF")), "earlier");

  dialogs_.saveAnswers = {temp_.filePath("keep.RTF")};
  messages_.overwriteAnswers = {OverwriteAnswer::kYes};
  save->click();
  EXPECT_TRUE(ReadRtf(ReadFile(temp_.filePath("keep.RTF"))).document == converted);

  dialogs_.saveAnswers = {QString()};
  save->click();  // cancelled: nothing happens
  EXPECT_TRUE(messages_.errors.empty());
}

TEST_F(FrmMainTest, FailedSaveKeepsTheDocumentAndTheProgram) {
  Open(kSampleV7);
  Control<QPushButton>("CmdConvert")->click();
  const Document converted = window_.RTB2();
  dialogs_.saveAnswers = {temp_.filePath("no/such/folder/out.RTF")};
  Control<QPushButton>("CmdSave")->click();
  ASSERT_EQ(messages_.errors.size(), 1u);
  EXPECT_TRUE(messages_.errors[0].contains("out.RTF"));
  EXPECT_TRUE(window_.RTB2() == converted);
  EXPECT_FALSE(window_.Ending());
}

TEST_F(FrmMainTest, ClearEmptiesBothDocuments) {
  Open(kSampleV7);
  Control<QPushButton>("CmdConvert")->click();
  ASSERT_FALSE(window_.RTB2().Empty());
  Control<QPushButton>("cmdClear")->click();
  EXPECT_TRUE(window_.RTB1().Empty());
  EXPECT_TRUE(window_.RTB2().Empty());
}

// A button's access key clicks it at the end of a short press animation, so
// each press is followed by waiting for the button's click.
TEST_F(FrmMainTest, AccessKeysReachHiddenButtons) {
  window_.show();
  window_.activateWindow();
  ASSERT_TRUE(WaitUntil([&] { return window_.isActiveWindow(); }));
  Open(kSampleV7);
  Control<QPushButton>("CmdConvert")->click();
  ASSERT_FALSE(window_.RTB2().Empty());
  const auto pressThenWait = [&](Qt::Key key, const std::function<bool()>& done) {
    QTest::keyClick(&window_, key, Qt::AltModifier);
    EXPECT_TRUE(WaitUntil(done)) << QKeySequence(key).toString().toStdString();
  };
  pressThenWait(Qt::Key_L, [&] { return window_.RTB1().Empty() && window_.RTB2().Empty(); });  // C&lear, hidden
  dialogs_.saveAnswers = {QString()};
  pressThenWait(Qt::Key_S, [&] { return dialogs_.saveCalls == 1; });  // &Save, hidden
  pressThenWait(Qt::Key_I, [&] { return Control<QRadioButton>("Option2")->isChecked(); });  // &ISM
  pressThenWait(Qt::Key_2, [&] { return Control<QRadioButton>("Option3")->isChecked(); });  // &2 (RA, RKR)
  // &Open shares its key with the hidden C&opy: the key moves the focus
  // between the two, and Enter presses the one that has it.
  QTest::keyClick(&window_, Qt::Key_O, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "cmdOpen");
  dialogs_.openAnswers = {QString()};
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_TRUE(WaitUntil([&] { return dialogs_.openCalls == 2; }));
}

TEST_F(FrmMainTest, EscapeEndsTheProgramFromAnyControl) {
  window_.show();
  Control<QLineEdit>("Text1")->setFocus();
  QTest::keyClick(Control<QLineEdit>("Text1"), Qt::Key_Escape);
  EXPECT_TRUE(window_.Ending());
  EXPECT_FALSE(window_.isVisible());
}

// A document long enough that converting it takes several progress reports.
QString WriteLongDocument(const QTemporaryDir& dir, int words) {
  std::string rtf = "{\\rtf1{\\fonttbl{\\f0 rc1;}{\\f1 Arial;}}\\f0 ";
  for (int i = 0; i < words; ++i) rtf += i % 50 == 49 ? "adbnjw \\f1 in English\\f0\\par\n" : "adbnjw \\'c2sJ ";
  rtf += "}";
  const QString path = dir.filePath("long.rtf");
  WriteFile(path, rtf);
  return path;
}

TEST_F(FrmMainTest, ProgressMovesDuringALongConversion) {
  window_.show();
  Open(WriteLongDocument(temp_, 200000));
  ASSERT_GT(window_.RTB1().Size(), 1000000u);
  int moves = 0;
  QObject::connect(Control<QProgressBar>("PB"), &QProgressBar::valueChanged, [&] { ++moves; });
  Control<QPushButton>("CmdConvert")->click();
  EXPECT_EQ(opener_.opened.size(), 1u);
  EXPECT_GE(moves, 20);  // stage one and the Unicode walk each report every 64K characters
}

// The window is disabled for stage one and enabled again for stage two, with
// the focus back where it was.
TEST_F(FrmMainTest, TheWindowIsDisabledForStageOneOnly) {
  window_.show();
  Open(kSampleV7);
  Control<QRadioButton>("Option2")->setChecked(true);  // ISM: two passes in stage two
  Control<QRadioButton>("Option2")->setFocus();
  std::vector<bool> enabledAtReports;  // one entry per stretch of equal states
  QObject::connect(Control<QProgressBar>("PB"), &QProgressBar::valueChanged, [&] {
    if (enabledAtReports.empty() || enabledAtReports.back() != window_.isEnabled()) {
      enabledAtReports.push_back(window_.isEnabled());
    }
  });
  Control<QPushButton>("CmdConvert")->click();
  EXPECT_EQ(enabledAtReports, (std::vector<bool>{false, true}));
  EXPECT_TRUE(window_.isEnabled());
  EXPECT_EQ(window_.focusWidget(), Control<QWidget>("Option2"));
  EXPECT_EQ(opener_.opened.size(), 1u);
}

// Converts the sample with Esc pressed at the first progress report of one
// stage, which the window's state tells apart: disabled for stage one,
// enabled for stage two.
class EscapeDuringAConversion : public FrmMainTest {
 protected:
  void ConvertPressingEscapeWhile(bool windowEnabled) {
    window_.show();
    Open(kSampleV7);
    Control<QRadioButton>("Option1")->setFocus();
    bool pressed = false;
    QObject::connect(Control<QProgressBar>("PB"), &QProgressBar::valueChanged, [&] {
      if (pressed || window_.isEnabled() != windowEnabled) return;
      pressed = true;
      PostKey(Control<QWidget>("Option1"), Qt::Key_Escape);
    });
    Control<QPushButton>("CmdConvert")->click();
    ASSERT_TRUE(pressed);
  }
};

TEST_F(EscapeDuringAConversion, StageTwoEndsTheConversionAndTheProgram) {
  ConvertPressingEscapeWhile(true);
  EXPECT_TRUE(window_.Ending());
  EXPECT_FALSE(window_.isVisible());
  EXPECT_TRUE(opener_.opened.empty());
  EXPECT_TRUE(QDir(temp_.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());  // not even a partial file
}

TEST_F(EscapeDuringAConversion, StageOneDoesNotSeeIt) {
  ConvertPressingEscapeWhile(false);
  EXPECT_FALSE(window_.Ending());
  EXPECT_TRUE(window_.isVisible());
  EXPECT_EQ(opener_.opened.size(), 1u);
}

TEST_F(FrmMainTest, OpeningADocumentChoosesItsGeneration) {
  Open(kSampleV2);
  EXPECT_TRUE(Control<QRadioButton>("Option3")->isChecked());
  Open(kSampleV7);
  EXPECT_TRUE(Control<QRadioButton>("Option4")->isChecked());
  Control<QRadioButton>("Option3")->setChecked(true);
  Open(QStringLiteral(MARAVELUNDI_SOURCE_DIR "/samples/sample-mixed.rtf"));  // both: the choice stays
  EXPECT_TRUE(Control<QRadioButton>("Option3")->isChecked());
}

TEST_F(FrmMainTest, ADroppedFileIsOpened) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(kSampleV7)});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window_, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window_, &drop);
  EXPECT_EQ(Control<QLineEdit>("Text1")->text(), kSampleV7);
  EXPECT_FALSE(window_.RTB1().Empty());
  data.setUrls({QUrl::fromLocalFile(kSampleV7), QUrl::fromLocalFile(kSampleV2)});  // one at a time
  QDragEnterEvent two(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window_, &two);
  EXPECT_FALSE(two.isAccepted());
}

TEST_F(FrmMainTest, TheStatusLineNamesTheLastOutput) {
  Open(kSampleV7);
  Control<QPushButton>("CmdConvert")->click();
  ASSERT_EQ(opener_.opened.size(), 1u);
  EXPECT_TRUE(Control<QLabel>("Label1")->toolTip().contains(opener_.opened[0]));
}

TEST(SecondInstance, EndsAtOnceAndSilently) {
  QTemporaryDir runtime;
  QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("XDG_RUNTIME_DIR", runtime.path());
  QProcess first, second;
  first.setProcessEnvironment(environment);
  second.setProcessEnvironment(environment);
  // The first instance has started once its lock file appears; the watcher
  // turns that into an event.
  const QFileSystemWatcher runtimeFolder({runtime.path()});
  first.start(QStringLiteral(MARAVELUNDI_GUI), {});
  ASSERT_TRUE(WaitUntil([&] {
    return QFile::exists(runtime.filePath("maravelundi.lock")) || first.state() == QProcess::NotRunning;
  }));
  ASSERT_EQ(first.state(), QProcess::Running);
  second.start(QStringLiteral(MARAVELUNDI_GUI), {});
  EXPECT_TRUE(WaitUntil([&] { return second.state() == QProcess::NotRunning; }));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(second.readAllStandardOutput().isEmpty());
  EXPECT_EQ(first.state(), QProcess::Running);
  first.kill();
  EXPECT_TRUE(WaitUntil([&] { return first.state() == QProcess::NotRunning; }));
}

}  // namespace
}  // namespace maravelundi::app
