#pragma once
// Stand-ins for the desktop's dialogs, message box and opener: they answer
// from a script and remember what they were asked.

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "app/Platform.h"

namespace maravelundi::app::testing {

class ScriptedDialogs : public FileDialogs {
 public:
  std::deque<QString> openAnswers, saveAnswers;  // an empty answer cancels
  int openCalls = 0, saveCalls = 0;

  QString ShowOpenDialog(QWidget*) override {
    ++openCalls;
    return Next(openAnswers);
  }
  QString ShowSaveDialog(QWidget*) override {
    ++saveCalls;
    return Next(saveAnswers);
  }

 private:
  static QString Next(std::deque<QString>& answers) {
    if (answers.empty()) return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

class ScriptedMessages : public MessageBoxes {
 public:
  std::deque<OverwriteAnswer> overwriteAnswers;
  int overwriteQuestions = 0;
  std::vector<QString> errors;

  OverwriteAnswer AskOverwrite(QWidget*) override {
    ++overwriteQuestions;
    if (overwriteAnswers.empty()) return OverwriteAnswer::kCancel;
    const OverwriteAnswer answer = overwriteAnswers.front();
    overwriteAnswers.pop_front();
    return answer;
  }
  void ShowError(QWidget*, const QString& text) override { errors.push_back(text); }
};

class RecordingOpener : public DocumentOpener {
 public:
  std::vector<QString> opened;
  std::function<void()> whileOpening;  // looks at the window as the file is handed over
  bool desktopCanOpen = true;

  bool Open(const QString& path) override {
    opened.push_back(path);
    if (whileOpening) whileOpening();
    return desktopCanOpen;
  }
};

}  // namespace maravelundi::app::testing
