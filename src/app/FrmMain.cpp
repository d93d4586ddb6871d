#include "app/FrmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QPointer>
#include <QScreen>
#include <QTextEdit>
#include <array>
#include <chrono>

#include "app/DeferredOutputFile.h"
#include "external/ThroughLibreOffice.h"
#include "fileio/FileIo.h"
#include "convert/MlttStage.h"
#include "job/OutputChoice.h"
#include "package/DocumentFormat.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

namespace maravelundi::app {

// The window's controls as its design lays them out, in twips (1/1440 inch,
// 15 to a pixel at 96 dpi) relative to their container. Controls placed past
// the client area are hidden from sight but exist and work.
namespace {

enum class Kind { kFrame, kTextBox, kButton, kOption, kLabel, kProgress, kRichText };

struct ControlRow {
  const char* name;
  Kind kind;
  const char* container;  // nullptr: the window
  const char* caption;
  int left, top, width, height;
  int tabIndex;  // -1: takes no focus
};

constexpr std::array<ControlRow, 23> kControls = {{
    {"Frame3", Kind::kFrame, nullptr, "Input File:", 120, 120, 4935, 735, -1},
    {"Text1", Kind::kTextBox, "Frame3", "", 120, 240, 4575, 285, 11},
    {"Command1", Kind::kButton, "Frame3", "...", 4440, 240, 375, 285, 20},
    {"Frame5", Kind::kFrame, nullptr, "Rachana Version:", 120, 960, 4935, 615, -1},
    {"Option3", Kind::kOption, "Frame5", "&2 (RA, RKR)", 120, 240, 1335, 255, 18},
    {"Option4", Kind::kOption, "Frame5", "&7 (RC, RL)", 3360, 240, 1095, 255, 19},
    {"Frame4", Kind::kFrame, nullptr, "Font:", 120, 1620, 2055, 615, -1},
    {"Option2", Kind::kOption, "Frame4", "&ISM", 1080, 240, 855, 255, 16},
    {"Option1", Kind::kOption, "Frame4", "&Unicode", 120, 240, 975, 255, 15},
    {"cmdOpen", Kind::kButton, nullptr, "&Open", 2400, 1920, 750, 320, 9},
    {"CmdConvert", Kind::kButton, nullptr, "&Convert", 3360, 1920, 750, 320, 3},
    {"cmdQuit", Kind::kButton, nullptr, "&Quit", 4320, 1920, 750, 320, 2},
    {"Label1", Kind::kLabel, nullptr, "Converts RTF file typed in Rachana Font to ISM font or Unicode font. ", 120, 2280,
     4965, 210, -1},
    {"Label2", Kind::kLabel, nullptr, "BETA VERSION.... ONLY FOR TESTING", 0, 2520, 5175, 255, -1},
    {"PB", Kind::kProgress, nullptr, "", 0, 2880, 5280, 255, -1},
    {"CmdSave", Kind::kButton, nullptr, "&Save", 6000, 4440, 750, 320, 8},
    {"CmdCopy", Kind::kButton, nullptr, "C&opy", 6960, 4440, 750, 320, 5},
    {"cmdClear", Kind::kButton, nullptr, "C&lear", 7920, 4440, 750, 320, 4},
    {"Frame2", Kind::kFrame, nullptr, "ML", 240, 5280, 3975, 4365, -1},
    {"RTB2", Kind::kRichText, "Frame2", "", 120, 240, 3735, 3975, 7},
    {"Frame1", Kind::kFrame, nullptr, "ShreeLipi", 5280, 5640, 3975, 4365, -1},
    {"RTB1", Kind::kRichText, "Frame1", "", 120, 240, 3735, 3975, 6},
    {"URTB", Kind::kRichText, nullptr, "", 2040, 5160, 1455, 735, 12},
}};

constexpr int kTwipsPerPixel = 15;
constexpr int kClientWidth = 5190;
constexpr int kClientHeight = 3135;

int Pixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

const QColor kRed(0xFF, 0x00, 0x00);
const QColor kBlue(0x00, 0x00, 0xFF);
const QColor kWhite(0xFF, 0xFF, 0xFF);

const QString kUnicodeWait = QStringLiteral("Please wait... Converting Rachana to Unicode.");
const QString kIsmWait = QStringLiteral("Please wait... Converting Rachana to ISM.");
const QString kReady = QStringLiteral("Converts RichText file typed in Rachana Font to Unicode.");
const QString kLibreOfficeReading = QStringLiteral("Please wait... LibreOffice is reading the document.");

bool IsWholeDocument(DocumentFormat format) {
  return format == DocumentFormat::kDocx || format == DocumentFormat::kOdt || format == DocumentFormat::kForeign;
}

QFont ControlFont() {
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(8.25);
  return font;
}

QWidget* MakeControl(const ControlRow& row, QWidget* parent) {
  const QString caption = QString::fromUtf8(row.caption);
  switch (row.kind) {
    case Kind::kFrame: return new QGroupBox(caption, parent);
    case Kind::kTextBox: return new QLineEdit(parent);
    case Kind::kButton: return new QPushButton(caption, parent);
    case Kind::kOption: return new QRadioButton(caption, parent);
    case Kind::kLabel: return new QLabel(caption, parent);
    case Kind::kProgress: return new QProgressBar(parent);
    case Kind::kRichText: {
      auto* box = new QTextEdit(parent);
      box->setReadOnly(true);
      return box;
    }
  }
  return nullptr;
}

// Thrown out of a conversion when the user ends the program meanwhile.
struct ConversionEnded {};

}  // namespace

// Moves the progress bar and lets the window repaint and take keys during a
// conversion, at most every yield interval so that it never dominates the
// conversion's own time. The whole window is disabled for stage one and
// enabled again for stage two, or however stage one ends, with the focus back
// where it was.
class ConversionProgress : public ProgressSink {
 public:
  ConversionProgress(FrmMain& window, std::chrono::milliseconds yieldInterval)
      : window_(window), yieldInterval_(yieldInterval) {
    sinceYield_.start();
  }
  ~ConversionProgress() override { EnableWindow(); }
  ConversionProgress(const ConversionProgress&) = delete;
  ConversionProgress& operator=(const ConversionProgress&) = delete;

  void EnterStage(ConversionStage stage) override {
    if (stage == ConversionStage::kTranscode) {
      DisableWindow();
    } else {
      EnableWindow();
    }
  }

  void Advance(std::size_t done, std::size_t total) override {
    if (total != total_) {
      total_ = total;
      window_.PB->setRange(0, static_cast<int>(std::min<std::size_t>(total, INT32_MAX)));
    }
    window_.PB->setValue(static_cast<int>(std::min<std::size_t>(done, INT32_MAX)));
    if (sinceYield_.elapsed() >= yieldInterval_.count()) {
      QApplication::processEvents();
      sinceYield_.restart();
    }
    if (window_.Ending()) throw ConversionEnded{};
  }

 private:
  void DisableWindow() {
    if (disabled_) return;
    focus_ = window_.focusWidget();
    window_.setEnabled(false);
    disabled_ = true;
  }

  void EnableWindow() {
    if (!disabled_) return;
    disabled_ = false;
    window_.setEnabled(true);
    if (focus_) focus_->setFocus();
  }

  FrmMain& window_;
  const std::chrono::milliseconds yieldInterval_;
  QElapsedTimer sinceYield_;
  std::size_t total_ = static_cast<std::size_t>(-1);
  bool disabled_ = false;
  QPointer<QWidget> focus_;
};

FrmMain::FrmMain(Services services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint),
      services_(std::move(services)) {
  if (!services_.localTime) {
    services_.localTime = [] {
      const std::time_t now = std::time(nullptr);
      std::tm local{};
      localtime_r(&now, &local);
      return local;
    };
  }
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Maravelundi"));
  setFont(ControlFont());
  setFixedSize(Pixels(kClientWidth), Pixels(kClientHeight));
  setAcceptDrops(true);
  BuildControls();
  qApp->installEventFilter(this);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  Timer1_Timer();
}

FrmMain::~FrmMain() { qApp->removeEventFilter(this); }

void FrmMain::BuildControls() {
  std::map<std::string, QWidget*> byName;
  std::vector<std::pair<int, QWidget*>> tabOrder;
  for (const ControlRow& row : kControls) {
    QWidget* container = row.container ? byName.at(row.container) : this;
    QWidget* control = MakeControl(row, container);
    control->setObjectName(QString::fromUtf8(row.name));
    control->setGeometry(Pixels(row.left), Pixels(row.top), Pixels(row.width), Pixels(row.height));
    byName[row.name] = control;
    if (row.tabIndex >= 0) tabOrder.emplace_back(row.tabIndex, control);
  }
  const auto get = [&](const char* name, auto* typed) {
    using T = std::remove_pointer_t<decltype(typed)>;
    return static_cast<T*>(byName.at(name));
  };
  Frame1 = get("Frame1", Frame1);
  Frame2 = get("Frame2", Frame2);
  Frame3 = get("Frame3", Frame3);
  Frame4 = get("Frame4", Frame4);
  Frame5 = get("Frame5", Frame5);
  Text1 = get("Text1", Text1);
  Command1 = get("Command1", Command1);
  Option1 = get("Option1", Option1);
  Option2 = get("Option2", Option2);
  Option3 = get("Option3", Option3);
  Option4 = get("Option4", Option4);
  cmdOpen = get("cmdOpen", cmdOpen);
  CmdConvert = get("CmdConvert", CmdConvert);
  cmdQuit = get("cmdQuit", cmdQuit);
  CmdSave = get("CmdSave", CmdSave);
  CmdCopy = get("CmdCopy", CmdCopy);
  cmdClear = get("cmdClear", cmdClear);
  Label1 = get("Label1", Label1);
  Label2 = get("Label2", Label2);
  PB = get("PB", PB);
  RTB1Box = get("RTB1", RTB1Box);
  RTB2Box = get("RTB2", RTB2Box);
  URTBBox = get("URTB", URTBBox);

  // The browse button overlaps the end of the path box and is drawn over it.
  Command1->raise();
  Command1->setFont(QApplication::font());
  Option1->setChecked(true);
  Option4->setChecked(true);

  // Frames draw their caption on the border line, as the controls inside them
  // expect: their positions count from the frame's top edge.
  for (QGroupBox* frame : {Frame1, Frame2, Frame3, Frame4, Frame5}) {
    frame->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 6px; padding: 0 2px; }"));
  }
  // A caption too long for the line wraps out of sight instead of being cut
  // in the middle of a word.
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  SetStatus(Label1->text(), kBlue);
  QFont bold = Label2->font();
  bold.setBold(true);
  Label2->setFont(bold);
  Label2->setAlignment(Qt::AlignCenter);
  Label2->setAutoFillBackground(true);
  QPalette banner = Label2->palette();
  banner.setColor(QPalette::Window, kRed);
  banner.setColor(QPalette::WindowText, kWhite);
  Label2->setPalette(banner);
  PB->setTextVisible(false);
  PB->setRange(0, 1);
  PB->setValue(0);
  QFont rtb1Font(QStringLiteral("Arial"));
  rtb1Font.setPointSizeF(18);
  RTB1Box->setFont(rtb1Font);
  QFont rtb2Font(QStringLiteral("Arial"));
  rtb2Font.setPointSizeF(20.25);
  RTB2Box->setFont(rtb2Font);

  cmdOpen->setToolTip(
      QStringLiteral("Open a document typed in Rachana fonts: Rich Text, DOCX, ODT, or DOC and the other formats "
                     "LibreOffice reads"));
  CmdConvert->setToolTip(QStringLiteral("Convert the document to the chosen output"));
  cmdQuit->setToolTip(QStringLiteral("Quit Maravelundi"));
  Label1->setToolTip(QStringLiteral("What Maravelundi is doing"));

  std::sort(tabOrder.begin(), tabOrder.end());
  for (std::size_t i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
  // The first control in the tab order has the focus when the window opens.
  tabOrder.front().second->setFocus();

  connect(cmdOpen, &QPushButton::clicked, this, &FrmMain::cmdOpen_Click);
  connect(Command1, &QPushButton::clicked, this, &FrmMain::Command1_Click);
  connect(CmdConvert, &QPushButton::clicked, this, &FrmMain::CmdConvert_Click);
  connect(CmdSave, &QPushButton::clicked, this, &FrmMain::CmdSave_Click);
  connect(cmdClear, &QPushButton::clicked, this, &FrmMain::cmdClear_Click);
  connect(cmdQuit, &QPushButton::clicked, this, &FrmMain::cmdQuit_Click);
  connect(CmdCopy, &QPushButton::clicked, this, &FrmMain::CmdCopy_Click);
}

void FrmMain::SetStatus(const QString& caption, const QColor& colour) {
  Label1->setText(caption);
  QPalette palette = Label1->palette();
  palette.setColor(QPalette::WindowText, colour);
  Label1->setPalette(palette);
}

std::tm FrmMain::Now() const { return services_.localTime(); }

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
  // The window sees every key before the control that has the focus.
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != this || !isEnabled()) return QWidget::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  // Esc ends the program whichever control has the focus.
  if (key == Qt::Key_Escape) {
    EndProgram();
    return true;
  }
  // Enter presses the button that has the focus, as Space does.
  if (auto* button = qobject_cast<QPushButton*>(widget); button && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
    button->animateClick();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void FrmMain::EndProgram() {
  ending_ = true;
  hide();
  QCoreApplication::exit(0);
}

void FrmMain::Timer1_Timer() {
  if (timer1Enabled_) CmdConvert->setEnabled(rtb1_.Size() >= 2);
}

void FrmMain::cmdOpen_Click() {
  const QString path = services_.dialogs.ShowOpenDialog(this);
  if (path.isEmpty()) return;
  LoadDocument(path);
}

void FrmMain::LoadDocument(const QString& path) {
  rtb1_ = Document();
  whole_.reset();
  Text1->clear();
  std::string bytes;
  // What begins as no document we know is refused from its first bytes, as
  // the command line refuses it, rather than read whole.
  const std::string name = path.toStdString();
  const std::optional<Failure> unread = ReadWholeFile(
      name, bytes, {kDefaultMaxInput, false, [&](std::string_view first) { return NotADocumentWeKnow(first, name); }});
  const FormatDetection detected = !unread ? DetectDocumentFormat(bytes) : FormatDetection{};
  const DocumentKind kind = KindOfDocument(detected.format, bytes, path.toStdString());
  if (unread) {
    services_.messages.ShowError(this, QString::fromStdString(Describe(*unread)));
  } else if (detected.error) {
    ShowDocumentError(path.toStdString(), Describe(*detected.error));
  } else if (kind.format == DocumentFormat::kUnknown && !bytes.empty()) {
    // It began as one of ours might ("{\rt", say), but is none.
    ShowDocumentError(name, DescribeUnknownDocument(bytes));
  } else if (IsWholeDocument(kind.format)) {
    if (LoadWholeDocument(path, kind, std::move(bytes))) {
      Text1->setText(path);
      PreselectGeneration();
    }
  } else if (RtfReading reading = ReadRtf(bytes); !reading.Ok()) {
    services_.messages.ShowError(this, QStringLiteral("%1: %2 (at byte %3)")
                                           .arg(path, QString::fromStdString(reading.error->message))
                                           .arg(reading.error->offset));
  } else {
    rtb1_ = std::move(reading.document);
    Text1->setText(path);
    PreselectGeneration();
  }
  Timer1_Timer();
}

// A foreign document is read by LibreOffice first, which takes seconds: the
// main commands wait meanwhile, as they do in a conversion, while the window
// stays live (Esc ends the program, and LibreOffice with it).
bool FrmMain::LoadWholeDocument(const QString& path, const DocumentKind& kind, std::string&& bytes) {
  WholeDocument whole{path.toStdString(), kind.format, std::move(bytes), kind.foreign};
  if (kind.foreign != nullptr) {
    whole.package = kind.foreign->via;
    const QString caption = Label1->text();
    timer1Enabled_ = false;
    for (QPushButton* button : {cmdOpen, CmdConvert, cmdQuit}) button->setEnabled(false);
    SetStatus(kLibreOfficeReading, kRed);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    WholeResult read = ReadThroughLibreOffice(whole.bytes, *kind.foreign, whole.package, OfficeSettings());
    QApplication::restoreOverrideCursor();
    SetStatus(caption, kBlue);
    for (QPushButton* button : {cmdOpen, cmdQuit}) button->setEnabled(true);
    timer1Enabled_ = true;
    if (ending_) return false;
    if (!read.Ok()) {
      ShowDocumentError(whole.path, *read.error);
      return false;
    }
    whole.bytes = std::move(read.bytes);
  }
  Outcome<Document> body = ReadOfficeDocument(whole.bytes, whole.package, ConversionProfile{});
  if (!body.Ok()) {
    ShowDocumentError(whole.path, Describe(body.Error()));
    return false;
  }
  rtb1_ = std::move(body.Value());
  whole_ = std::move(whole);
  return true;
}

void FrmMain::ShowDocumentError(const std::string& path, const std::string& error) {
  services_.messages.ShowError(this, QString::fromStdString(path + ": " + error));
}

// LibreOffice runs with the program's environment, and lets the window's
// events through while it works.
LibreOfficeSettings FrmMain::OfficeSettings() {
  LibreOfficeSettings settings;
  settings.timeLimit = services_.officeTimeLimit;
  settings.environment = services_.environment();
  settings.keepGoing = [this] {
    QApplication::processEvents();
    return !ending_;
  };
  return settings;
}

// A document typed in one generation's fonts only chooses that generation;
// one in both, or in neither, leaves the choice to the user.
void FrmMain::PreselectGeneration() {
  bool version2 = false, version7 = false;
  for (std::size_t f = 0; f < rtb1_.FormatCount(); ++f) {
    const std::string& font = rtb1_.Format(static_cast<FormatId>(f)).fontName;
    version2 = version2 || TableForFont(Generation::kVersion2, font) != nullptr;
    version7 = version7 || TableForFont(Generation::kVersion7, font) != nullptr;
  }
  if (version2 != version7) (version2 ? Option3 : Option4)->setChecked(true);
}

void FrmMain::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() == 1 && urls.front().isLocalFile() && cmdOpen->isEnabled()) event->acceptProposedAction();
}

void FrmMain::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() != 1 || !urls.front().isLocalFile() || !cmdOpen->isEnabled()) return;
  event->acceptProposedAction();
  LoadDocument(urls.front().toLocalFile());
}

void FrmMain::CmdConvert_Click() {
  struct Branch {
    QRadioButton* output;
    QRadioButton* generation;
    const QString& waitCaption;
    Generation stageOne;
    OutputChoice stageTwo;
  };
  const Branch branches[] = {
      {Option1, Option3, kUnicodeWait, Generation::kVersion2, OutputChoice::kUnicode},
      {Option1, Option4, kUnicodeWait, Generation::kVersion7, OutputChoice::kUnicode},
      {Option2, Option3, kIsmWait, Generation::kVersion2, OutputChoice::kIsm},
      {Option2, Option4, kIsmWait, Generation::kVersion7, OutputChoice::kIsm},
  };
  timer1Enabled_ = false;
  cmdOpen->setEnabled(false);
  CmdConvert->setEnabled(false);
  cmdQuit->setEnabled(false);
  SetStatus(Label1->text(), kRed);
  for (const Branch& branch : branches) {
    if (!branch.output->isChecked() || !branch.generation->isChecked()) continue;
    Label1->setText(branch.waitCaption);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
      RunConversion(branch.stageOne, branch.stageTwo);
    } catch (const ConversionEnded&) {
      QApplication::restoreOverrideCursor();
      return;  // the program is ending
    } catch (const std::exception& e) {
      services_.messages.ShowError(this, QStringLiteral("The conversion failed: %1").arg(QString::fromUtf8(e.what())));
    }
    QApplication::restoreOverrideCursor();
    break;
  }
  RestoreAfterConversion();
}

// The conversion the command line would plan for the document and the
// choice: a Rich Text document gives the Unicode HTML or the ISM Rich Text,
// a whole document stays in its format, in place.
PlannedConversion FrmMain::Plan(Generation generation, OutputChoice choice) const {
  ConversionSettings settings;
  settings.output = {whole_ && choice == OutputChoice::kUnicode ? OutputChoice::kSameFormat : choice, nullptr};
  settings.profile.generation = generation;
  const DocumentKind kind = whole_ ? DocumentKind{whole_->package, nullptr} : DocumentKind{DocumentFormat::kRtf, nullptr};
  return std::get<PlannedConversion>(PlanConversion(settings, kind));
}

// Stage one fills RTB2 with the ML-TT document, which the ISM output replaces
// with its finished form; Save keeps whichever RTB2 holds.
void FrmMain::RunConversion(Generation generation, OutputChoice choice) {
  const PlannedConversion planned = Plan(generation, choice);
  if (whole_) return RunWholeConversion(planned);
  ConversionProgress progress(*this, services_.yieldInterval);
  WriteAndOpen(OutputExtension(planned.output), [&](ByteSink& sink) {
    ConvertDocument(rtb1_, planned.output, planned.profile, sink, &progress, kDefaultTitle, &rtb2_);
  });
}

// A whole document converts in place and stays in its format: the Unicode
// output puts its legacy text in Malayalam Unicode, the ISM output in
// ML-TTRevathi with break marks; a foreign one goes back through
// LibreOffice (one that LibreOffice only reads stays the package it was
// read as). RTB2 gets the ML-TT text of its body, as a Rich Text
// conversion leaves it, for Save. Nothing is written when a step fails.
void FrmMain::RunWholeConversion(const PlannedConversion& planned) {
  ConversionProgress progress(*this, services_.yieldInterval);
  OfficeOptions options;
  options.progress = &progress;
  OfficeResult converted = ConvertOfficeDocument(whole_->bytes, whole_->package, planned.output, planned.profile, options);
  if (!converted.Ok()) return ShowDocumentError(whole_->path, Describe(converted.Error()));
  std::string result = std::move(converted.Value());
  std::string extension = whole_->package == DocumentFormat::kOdt ? ".odt" : ".docx";
  if (whole_->foreign != nullptr && whole_->foreign->Writable()) {
    WholeResult written = WriteThroughLibreOffice(result, whole_->package, *whole_->foreign, OfficeSettings());
    if (ending_) throw ConversionEnded{};
    if (!written.Ok()) return ShowDocumentError(whole_->path, *written.error);
    result = std::move(written.bytes);
    extension = "." + std::string(whole_->foreign->extension);
  }
  rtb2_ = ConvertToMltt(rtb1_, planned.profile);
  WriteAndOpen(extension, [&](ByteSink& sink) { sink.Write(result); });
}

bool FrmMain::WriteAndOpen(std::string_view extension, const std::function<void(ByteSink&)>& write) {
  DeferredOutputFile file([&] {
    return TemporaryOutputPath(TemporaryFolder(services_.environment()), Now(), extension,
                               [](const std::filesystem::path& p) { return std::filesystem::exists(p); });
  });
  write(file);
  if (const std::optional<Failure> failure = file.Commit()) {
    services_.messages.ShowError(this, QStringLiteral("The converted document could not be written: %1")
                                           .arg(QString::fromStdString(Describe(*failure))));
    return false;
  }
  const QString writtenPath = QString::fromStdString(file.Path().string());
  Label1->setToolTip(QStringLiteral("The last conversion wrote %1").arg(writtenPath));
  if (!services_.opener.Open(writtenPath)) {
    // The result is there all the same; say where, so it is not lost.
    services_.messages.ShowError(
        this, QStringLiteral("The converted document is in %1, but no program is set up to open it.").arg(writtenPath));
  }
  return true;
}

void FrmMain::RestoreAfterConversion() {
  SetStatus(Label1->text(), kBlue);
  cmdOpen->setEnabled(true);
  CmdConvert->setEnabled(true);
  cmdQuit->setEnabled(true);
  timer1Enabled_ = true;
  Timer1_Timer();
  Label1->setText(kReady);
}

// Saving keeps the whole document, its formatting too, as a rich text
// control saves what it holds.
void FrmMain::CmdSave_Click() {
  QString path;
  for (;;) {
    path = services_.dialogs.ShowSaveDialog(this);
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".RTF"), Qt::CaseInsensitive)) path += QStringLiteral(".RTF");
    if (!QFileInfo(path).isFile()) break;
    const OverwriteAnswer answer = services_.messages.AskOverwrite(this);
    if (answer == OverwriteAnswer::kYes) break;
    if (answer == OverwriteAnswer::kCancel) return;
  }
  const std::optional<Failure> failure =
      WriteFileAtomically(path.toStdString(), WriteRtf(rtb2_, RtfWriteOptions{.formatting = true}));
  if (failure) {
    services_.messages.ShowError(
        this, QStringLiteral("The document was not saved: %1").arg(QString::fromStdString(Describe(*failure))));
  }
}

void FrmMain::cmdClear_Click() {
  rtb1_ = Document();
  rtb2_ = Document();
  whole_.reset();
  Timer1_Timer();
}

void FrmMain::cmdQuit_Click() { EndProgram(); }

}  // namespace maravelundi::app
