// How the window behaves while it converts a large document: how often the
// progress bar is repainted, how soon Esc ends a conversion in stage two, and
// the conversion's time against the command line's for the same document.
//
//   maravelundi-bench-gui DOCUMENT.rtf CLI

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "app/FrmMain.h"

namespace {

using namespace maravelundi::app;

class Dialogs : public FileDialogs {
 public:
  QString path;
  QString ShowOpenDialog(QWidget*) override { return path; }
  QString ShowSaveDialog(QWidget*) override { return {}; }
};

class Messages : public MessageBoxes {
 public:
  OverwriteAnswer AskOverwrite(QWidget*) override { return OverwriteAnswer::kCancel; }
  void ShowError(QWidget*, const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};

class Opener : public DocumentOpener {
 public:
  bool Open(const QString&) override { return true; }
};

// Times between the progress bar's repaints.
class PaintClock : public QObject {
 public:
  QElapsedTimer clock;
  qint64 last = -1, longestGap = 0;
  int paints = 0;

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      const qint64 now = clock.elapsed();
      if (last >= 0) longestGap = std::max(longestGap, now - last);
      last = now;
      ++paints;
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s DOCUMENT.rtf CLI\n", argv[0]);
    return 2;
  }
  const QString document = QString::fromLocal8Bit(argv[1]);
  QTemporaryDir temp;
  Dialogs dialogs;
  Messages messages;
  Opener opener;
  dialogs.path = document;
  const auto environment = [&] { return maravelundi::EnvironmentEntries{"TEMP=" + temp.path().toStdString()}; };

  // The command line on the same document, for comparison.
  QElapsedTimer clock;
  clock.start();
  QProcess::execute(QString::fromLocal8Bit(argv[2]), {"-o", temp.filePath("cli.html"), document});
  const double cliSeconds = clock.elapsed() / 1000.0;

  FrmMain window({dialogs, messages, opener, environment, {}});
  window.show();
  window.findChild<QPushButton*>("cmdOpen")->click();
  PaintClock paints;
  window.findChild<QProgressBar*>("PB")->installEventFilter(&paints);
  paints.clock.start();
  clock.restart();
  window.findChild<QPushButton*>("CmdConvert")->click();
  const double guiSeconds = clock.elapsed() / 1000.0;
  std::printf("window conversion %.2f s, command line %.2f s (%.2f times); progress bar repainted %d times, "
              "longest gap %lld ms\n",
              guiSeconds, cliSeconds, guiSeconds / cliSeconds, paints.paints, paints.longestGap);

  // Esc pressed at stage two's first report (the window takes input again),
  // queued as the platform queues a key: it lands at the conversion's next
  // yield, so the delay measured is what a user waits.
  qint64 pressedAt = -1;
  QProgressBar* progressBar = window.findChild<QProgressBar*>("PB");
  QObject::connect(progressBar, &QProgressBar::valueChanged, [&] {
    if (pressedAt >= 0 || !window.isEnabled()) return;
    pressedAt = clock.elapsed();
    QWidget* focus = window.findChild<QRadioButton*>("Option1");
    QCoreApplication::postEvent(focus, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  });
  clock.restart();
  window.findChild<QPushButton*>("CmdConvert")->click();
  const qint64 endedAt = clock.elapsed();
  if (pressedAt < 0) {
    std::printf("Esc: the conversion ended before stage two could be interrupted\n");
  } else {
    std::printf("Esc in stage two at %lld ms: conversion ended %lld ms later\n", pressedAt, endedAt - pressedAt);
  }
  return 0;
}
