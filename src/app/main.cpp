// maravelundi: the window. One instance at a time; the ML-TT font beside the
// program is made available to it when present.

#include <csignal>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QLockFile>
#include <QStandardPaths>

#include "app/FrmMain.h"
#include "app/QtPlatform.h"
#include "fileio/InterruptCleanup.h"

namespace {

// Held for the life of the program: a second start finds it locked and ends.
QString InstanceLockPath() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return folder + QStringLiteral("/maravelundi.lock");
}

void AddMlttFont() {
  const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/MLTTRev0.ttf");
  if (QFile::exists(path)) QFontDatabase::addApplicationFont(path);
}

}  // namespace

int main(int argc, char** argv) {
  // A write past the file size limit fails with an error the window reports.
  std::signal(SIGXFSZ, SIG_IGN);
  // Interrupted, it stops LibreOffice and removes the files and folders it
  // was working in before it ends.
  maravelundi::InstallInterruptCleanup();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Maravelundi"));
  QLockFile instance(InstanceLockPath());
  instance.setStaleLockTime(0);
  if (!instance.tryLock(0)) return 0;
  AddMlttFont();

  maravelundi::app::QtFileDialogs dialogs;
  maravelundi::app::QtMessageBoxes messages;
  maravelundi::app::DesktopOpener opener;
  maravelundi::app::FrmMain window({dialogs, messages, opener, maravelundi::ProcessEnvironment, {}});
  window.show();
  return QApplication::exec();
}
