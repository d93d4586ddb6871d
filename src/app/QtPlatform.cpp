#include "app/QtPlatform.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "package/ForeignFormat.h"

namespace maravelundi::app {
namespace {

// Patterns in the filters are matched without regard to case by Qt's own
// dialog, so "*.RTF" finds "letter.rtf" too.
const QStringList kSaveFilters = {QStringLiteral("Rich Text Format (*.RTF)")};

QString Patterns(const QStringList& extensions) {
  QStringList patterns;
  for (const QString& extension : extensions) patterns << QStringLiteral("*.") + extension.toUpper();
  return patterns.join(QLatin1Char(' '));
}

}  // namespace

QStringList OpenDialogFilters() {
  QStringList foreign;
  for (const ForeignFormat& format : ForeignFormats()) {
    foreign << QString::fromLatin1(format.extension.data(), static_cast<qsizetype>(format.extension.size()));
  }
  const QStringList documents = QStringList{QStringLiteral("rtf"),  QStringLiteral("docx"), QStringLiteral("odt"),
                                            QStringLiteral("xlsx"), QStringLiteral("ods"),  QStringLiteral("pptx"),
                                            QStringLiteral("odp"),  QStringLiteral("pdf")} +
                                foreign;
  return {QStringLiteral("Rich Text Format (*.RTF)"),
          QStringLiteral("Word and OpenDocument (*.DOCX *.ODT)"),
          QStringLiteral("Spreadsheets and presentations (*.XLSX *.ODS *.PPTX *.ODP)"),
          QStringLiteral("Read through LibreOffice (%1)").arg(Patterns(foreign)),
          QStringLiteral("All documents (%1)").arg(Patterns(documents)),
          QStringLiteral("All files (*.*)")};
}

QString QtFileDialogs::Show(QWidget* owner, const QString& title, const QStringList& filters, bool save) {
  QFileDialog dialog(owner, title);
  // Qt's own dialog on every desktop: it behaves the same everywhere and
  // matches the filters without regard to case.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  // The window asks before replacing a file itself.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.value(filterIndex_, filters.first()));
  const bool accepted = dialog.exec() == QDialog::Accepted;
  filterIndex_ = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
  if (filterIndex_ < 0) filterIndex_ = 0;
  if (!accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

QString QtFileDialogs::ShowOpenDialog(QWidget* owner) {
  return Show(owner, QStringLiteral("Open File"), OpenDialogFilters(), false);
}

QString QtFileDialogs::ShowSaveDialog(QWidget* owner) {
  return Show(owner, QStringLiteral("Save Output File"), kSaveFilters, true);
}

OverwriteAnswer QtMessageBoxes::AskOverwrite(QWidget* owner) {
  const auto answer = QMessageBox::information(owner, QStringLiteral("Maravelundi"),
                                               QStringLiteral("That file already exist. Overwrite it!"),
                                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (answer == QMessageBox::Yes) return OverwriteAnswer::kYes;
  if (answer == QMessageBox::No) return OverwriteAnswer::kNo;
  return OverwriteAnswer::kCancel;
}

void QtMessageBoxes::ShowError(QWidget* owner, const QString& text) {
  QMessageBox::warning(owner, QStringLiteral("Maravelundi"), text);
}

bool DesktopOpener::Open(const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

}  // namespace maravelundi::app
