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
#include "job/DocumentJob.h"
#include "job/OutputChoice.h"
#include "package/DocumentFormat.h"
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
      QStringLiteral("Open a document typed in Rachana fonts: Rich Text, DOCX, ODT, a spreadsheet or presentation "
                     "(XLSX, ODS, PPTX, ODP), or DOC, XLS, PPT and the other formats LibreOffice reads"));
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
  if (timer1Enabled_) CmdConvert->setEnabled(RTB1().Size() >= 2);
}

void FrmMain::cmdOpen_Click() {
  const QString path = services_.dialogs.ShowOpenDialog(this);
  if (path.isEmpty()) return;
  LoadDocument(path);
}

void FrmMain::LoadDocument(const QString& path) {
  source_.reset();
  Text1->clear();
  const std::optional<Failure> failure = ReadDocument(path.toStdString());
  if (ending_) {
    source_.reset();
    return;  // the program is ending meanwhile: nothing more to show
  }
  if (failure) {
    ShowFailure(*failure);
  } else {
    Text1->setText(path);
    PreselectGeneration();
  }
  Timer1_Timer();
}

const Document& FrmMain::RTB1() const {
  static const Document kNoDocument;
  return source_ ? source_->reading.document : kNoDocument;
}

// What begins as no document we know is refused from its first bytes, as
// the command line refuses it, rather than read whole. The document is read
// as a batch reads it, for its own format: Rich Text for a new file, a word
// processor's document whole, with its body for RTB1.
std::optional<Failure> FrmMain::ReadDocument(const std::string& path) {
  std::string bytes;
  const ReadOptions options{kDefaultMaxInput, false,
                            [&](std::string_view first) { return NotADocumentWeKnow(first, path); }};
  if (auto failure = ReadWholeFile(path, bytes, options)) return failure;
  ConversionSettings ownFormat;
  ownFormat.output = DefaultOutput("", true);
  ownFormat.pdfReader = &pdfReader_;
  Result<SourceDocument> source = ParseDocument(std::move(bytes), path, ownFormat);
  if (!source.Ok()) return std::move(source.Error());
  const bool foreign = source.Value().kind.format == DocumentFormat::kForeign;
  if (auto failure = foreign ? ReadBodyThroughLibreOffice(source.Value()) : ReadBody(source.Value(), nullptr)) {
    return failure;
  }
  source_ = std::move(source.Value());
  return std::nullopt;
}

// A foreign document is read by LibreOffice first, which takes seconds: the
// main commands wait meanwhile, as they do in a conversion, while the window
// stays live (Esc ends the program, and LibreOffice with it).
std::optional<Failure> FrmMain::ReadBodyThroughLibreOffice(SourceDocument& source) {
  const QString caption = Label1->text();
  timer1Enabled_ = false;
  for (QPushButton* button : {cmdOpen, CmdConvert, cmdQuit}) button->setEnabled(false);
  SetStatus(kLibreOfficeReading, kRed);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const LibreOfficeEngine engine(OfficeSettings());
  std::optional<Failure> failure = ReadBody(source, &engine);
  QApplication::restoreOverrideCursor();
  SetStatus(caption, kBlue);
  for (QPushButton* button : {cmdOpen, cmdQuit}) button->setEnabled(true);
  timer1Enabled_ = true;
  return failure;
}

void FrmMain::ShowFailure(const Failure& failure) {
  services_.messages.ShowError(this, QString::fromStdString(Describe(failure)));
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
  const Document& source = RTB1();
  for (std::size_t f = 0; f < source.FormatCount(); ++f) {
    const std::string& font = source.Format(static_cast<FormatId>(f)).fontName;
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

// The options the command line would be given for the document and the
// choice: a Rich Text document gives the Unicode HTML or the ISM Rich Text,
// a whole document stays in its format, in place (a foreign one goes back
// through LibreOffice, or stays the package it was read as where LibreOffice
// only reads its format).
ConversionSettings FrmMain::Settings(Generation generation, OutputChoice choice) const {
  const bool whole = source_->conversion.route.has_value();
  ConversionSettings settings;
  settings.output = {whole && choice == OutputChoice::kUnicode ? OutputChoice::kSameFormat : choice, nullptr};
  settings.profile.generation = generation;
  return settings;
}

// Converts as the job layer plans it. RTB2 gets the ML-TT document: for Rich
// Text stage one's (the ISM output replaces it with its finished form), for
// a whole document that of its body; Save keeps whichever RTB2 holds.
// Nothing is written when a step fails.
void FrmMain::RunConversion(Generation generation, OutputChoice choice) {
  const ConversionSettings settings = Settings(generation, choice);
  Result<PlannedConversion> planned = PlanConversion(settings, source_->kind);
  if (!planned.Ok()) {
    planned.Error().subject = source_->name;
    return ShowFailure(planned.Error());
  }
  ConversionProgress progress(*this, services_.yieldInterval);
  const LibreOfficeEngine engine(OfficeSettings());
  WriteAndOpen(ResultExtension(settings.output, source_->kind), [&](ByteSink& sink) {
    std::optional<Failure> failure = ConvertKept(*source_, planned.Value(), &engine, sink, &progress, &rtb2_);
    if (ending_) throw ConversionEnded{};
    return failure;
  });
}

bool FrmMain::WriteAndOpen(std::string_view extension,
                           const std::function<std::optional<Failure>(ByteSink&)>& write) {
  DeferredOutputFile file([&] {
    return TemporaryOutputPath(TemporaryFolder(services_.environment()), Now(), extension,
                               [](const std::filesystem::path& p) { return std::filesystem::exists(p); });
  });
  if (std::optional<Failure> failure = write(file)) {
    ShowFailure(*failure);
    return false;  // the file was never opened: nothing is left behind
  }
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
  source_.reset();
  rtb2_ = Document();
  Timer1_Timer();
}

void FrmMain::cmdQuit_Click() { EndProgram(); }

}  // namespace maravelundi::app
