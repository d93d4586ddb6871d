#pragma once
// The desktop's own dialogs, message box and document opener.

#include <QStringList>

#include "app/Platform.h"

namespace maravelundi::app {

// The open dialog's filters: Rich Text first, as it always was, then the
// word processors' documents, those read through LibreOffice (.doc ...),
// every document the window opens, and every file.
QStringList OpenDialogFilters();

class QtFileDialogs : public FileDialogs {
 public:
  QString ShowOpenDialog(QWidget* owner) override;
  QString ShowSaveDialog(QWidget* owner) override;

 private:
  QString Show(QWidget* owner, const QString& title, const QStringList& filters, bool save);

  // The index of the filter selected when the last dialog closed; the next
  // dialog of either kind starts on it, as long as it has that many.
  int filterIndex_ = 0;
};

class QtMessageBoxes : public MessageBoxes {
 public:
  OverwriteAnswer AskOverwrite(QWidget* owner) override;
  void ShowError(QWidget* owner, const QString& text) override;
};

class DesktopOpener : public DocumentOpener {
 public:
  bool Open(const QString& path) override;
};

}  // namespace maravelundi::app
