#pragma once
// What the window's tests share: the window with scripted stand-ins for
// the desktop's dialogs, message box and opener, a temporary folder of its
// own, and ways to wait for events.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>

#include "FakePlatform.h"
#include "app/FrmMain.h"

namespace maravelundi::app::testing {

inline std::string ReadFile(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteFile(const QString& path, const std::string& bytes) {
  std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

inline const QString kSampleV7 = QStringLiteral(MARAVELUNDI_SOURCE_DIR "/samples/sample-v7.rtf");
inline const QString kSampleV2 = QStringLiteral(MARAVELUNDI_SOURCE_DIR "/samples/sample-v2.rtf");

// Lets events through until `done` holds, sleeping while none arrive: each
// event (a button's delayed click, a file appearing in a watched folder, a
// process ending) may be the one awaited, so the wait ends with it however
// loaded the machine. The limit only keeps a broken build from hanging the
// suite. A nested event loop would not do: once a test has ended the
// program, every later loop returns at once.
inline bool WaitUntil(const std::function<bool()>& done) {
  constexpr int kBrokenBuildLimitMs = 120000;
  bool limitPassed = false;
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, [&] { limitPassed = true; });
  limit.start(kBrokenBuildLimitMs);
  while (!done() && !limitPassed) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  return done();
}

// A key as the platform delivers it: queued, and seen only when the
// conversion next lets events through.
inline void PostKey(QWidget* target, Qt::Key key) {
  QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
  QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
}

class FrmMainTest : public ::testing::Test {
 protected:
  FrmMainTest()
      : window_({dialogs_, messages_, opener_, [this] { return environment_; },
                 [] {
                   std::tm time{};
                   time.tm_mday = 26, time.tm_hour = 8, time.tm_min = 27, time.tm_sec = 20;
                   return time;
                 },
                 // Events are let through at every progress report, so a key
                 // posted at one report lands at that very report.
                 std::chrono::milliseconds(0)}) {}

  template <typename T>
  T* Control(const char* name) {
    T* control = window_.findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }

  void Open(const QString& path) {
    dialogs_.openAnswers.push_back(path);
    Control<QPushButton>("cmdOpen")->click();
  }

  QColor TextColour(const char* label) { return Control<QLabel>(label)->palette().color(QPalette::WindowText); }

  QTemporaryDir temp_;
  // What the window sees of the environment: the temporary folder, and no
  // PATH (so no LibreOffice) unless a test gives one.
  EnvironmentEntries environment_{"TEMP=" + temp_.path().toStdString()};
  ScriptedDialogs dialogs_;
  ScriptedMessages messages_;
  RecordingOpener opener_;
  FrmMain window_;
};

}  // namespace maravelundi::app::testing
