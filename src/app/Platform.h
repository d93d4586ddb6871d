#pragma once
// The services of the desktop that the window uses, each behind a small
// interface so that tests can stand in for the dialogs, the message box and
// the program that opens a finished file.

#include <QString>

class QWidget;

namespace maravelundi::app {

// The open and save dialogs. Each returns the chosen path, or an empty string
// when the user cancels. Both share the filter the user selected last.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual QString ShowOpenDialog(QWidget* owner) = 0;
  virtual QString ShowSaveDialog(QWidget* owner) = 0;
};

enum class OverwriteAnswer { kYes, kNo, kCancel };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // "That file already exist. Overwrite it!" with Yes, No and Cancel.
  virtual OverwriteAnswer AskOverwrite(QWidget* owner) = 0;
  // Something the user asked for could not be done; `text` says what and why.
  virtual void ShowError(QWidget* owner, const QString& text) = 0;
};

// Hands a finished file to the program the desktop associates with its type;
// false when the desktop has no such program.
class DocumentOpener {
 public:
  virtual ~DocumentOpener() = default;
  virtual bool Open(const QString& path) = 0;
};

}  // namespace maravelundi::app
