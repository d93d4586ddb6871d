#pragma once
// The program's one window: choose a document, a generation and an output,
// convert, save. The documents live in the window as documents of the core's
// model: RTB1 the source, RTB2 the ML-TT result of the last conversion.
// A DOCX, ODT or foreign document (a Word 97-2003 .doc, read through
// LibreOffice) is kept whole besides, and converts in place to a document of
// its own format; RTB1 holds its body. The document is read, planned and
// converted by the job layer, as the command line's are.

#include <QWidget>
#include <chrono>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/Platform.h"
#include "convert/Conversion.h"
#include "convert/TemporaryOutputPath.h"
#include "external/LibreOffice.h"
#include "pdf/PopplerPdfReader.h"
#include "failure/Failure.h"
#include "fileio/TemporaryFolder.h"
#include "job/DocumentJob.h"
#include "job/OutputChoice.h"
#include "richtext/Document.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTextEdit;

namespace maravelundi::app {

struct Services {
  FileDialogs& dialogs;
  MessageBoxes& messages;
  DocumentOpener& opener;
  std::function<EnvironmentEntries()> environment = ProcessEnvironment;
  std::function<std::tm()> localTime;  // defaults to the clock
  // How long a conversion runs at most between two turns of the event loop,
  // which repaint the window and deliver the user's keys. Zero turns it at
  // every progress report.
  std::chrono::milliseconds yieldInterval = std::chrono::milliseconds(30);
  // How long LibreOffice may take to read or write a foreign document.
  std::chrono::milliseconds officeTimeLimit = kDefaultLibreOfficeTimeLimit;
};

class FrmMain : public QWidget {
  Q_OBJECT

 public:
  explicit FrmMain(Services services, QWidget* parent = nullptr);
  ~FrmMain() override;

  const Document& RTB1() const;
  const Document& RTB2() const { return rtb2_; }

  // The user's commands.
  void cmdOpen_Click();
  // Opens a document as the Open command does once it has a path: what a
  // file dropped on the window comes to.
  void LoadDocument(const QString& path);
  void Command1_Click() { cmdOpen_Click(); }
  void CmdConvert_Click();
  void CmdSave_Click();
  void cmdClear_Click();
  void cmdQuit_Click();
  void CmdCopy_Click() {}  // the button has never had an action

  // Keeps Convert enabled only while there are at least two characters to
  // convert; runs whenever the source changes and when a conversion ends.
  void Timer1_Timer();

  // Ends the program at once, also in the middle of a conversion.
  void EndProgram();
  bool Ending() const { return ending_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  friend class ConversionProgress;

  void BuildControls();
  std::optional<Failure> ReadDocument(const std::string& path);
  std::optional<Failure> ReadBodyThroughLibreOffice(SourceDocument& source);
  ConversionSettings Settings(Generation generation, OutputChoice choice) const;
  void RunConversion(Generation generation, OutputChoice choice);
  LibreOfficeSettings OfficeSettings();
  void ShowFailure(const Failure& failure);
  bool WriteAndOpen(std::string_view extension, const std::function<std::optional<Failure>(ByteSink&)>& write);
  void RestoreAfterConversion();
  void SetStatus(const QString& caption, const QColor& colour);
  void PreselectGeneration();
  std::tm Now() const;

  Services services_;
  // Reads a PDF's text layer; its Malayalam Unicode kept in the window's
  // Unicode font.
  const PopplerPdfReader pdfReader_{std::string(kDefaultUnicodeFont)};
  // The open document as the job layer read it: RTB1 is its text (a word
  // processor's document's body); none before one is opened.
  std::optional<SourceDocument> source_;
  Document rtb2_;
  bool timer1Enabled_ = true;
  bool ending_ = false;

  QGroupBox* Frame1 = nullptr;
  QGroupBox* Frame2 = nullptr;
  QGroupBox* Frame3 = nullptr;
  QGroupBox* Frame4 = nullptr;
  QGroupBox* Frame5 = nullptr;
  QLineEdit* Text1 = nullptr;
  QPushButton* Command1 = nullptr;
  QRadioButton* Option1 = nullptr;
  QRadioButton* Option2 = nullptr;
  QRadioButton* Option3 = nullptr;
  QRadioButton* Option4 = nullptr;
  QPushButton* cmdOpen = nullptr;
  QPushButton* CmdConvert = nullptr;
  QPushButton* cmdQuit = nullptr;
  QPushButton* CmdSave = nullptr;
  QPushButton* CmdCopy = nullptr;
  QPushButton* cmdClear = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QProgressBar* PB = nullptr;
  QTextEdit* RTB1Box = nullptr;
  QTextEdit* RTB2Box = nullptr;
  QTextEdit* URTBBox = nullptr;
};

}  // namespace maravelundi::app
