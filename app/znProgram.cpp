#include "app/znProgram.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTimer>

#include "app/untDebug.h"
#include "app/untKalvor.h"
#include "app/znApplication.h"
#include "base/znLog.h"
#include "views/znDebugLog.h"
#include "views/znQtPrompts.h"

TznAppFolders AppFoldersFromEnvironment() {
  const std::string program = QCoreApplication::applicationFilePath().toStdString();
  const std::string home = qEnvironmentVariable("KALVOR_HOME").toStdString();
  const std::string user_data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
  return ResolveAppFolders(program, home, user_data, FolderWritable);
}

int RunKalvor(int argc, char** argv) {
  TznApplication app(argc, argv);
  QCoreApplication::setApplicationName("kalvor");
  // The main window's close ends the run even while the debug log is open.
  QApplication::setQuitOnLastWindowClosed(false);

  const TznAppFolders folders = AppFoldersFromEnvironment();
  TfrmKalvor main_window(folders);
  TfrmDebug debug_window;
  SetWarningSink([](const std::string& message) { TznDebugLog::Instance().Note(message); });
  if (!folders.Note.empty()) TznDebugLog::Instance().Note(folders.Note);

  // What no handler caught shows in a message box over the main window.
  TznQtPrompts guard_prompts(&main_window);
  app.SetPrompts(&guard_prompts);
  QObject::connect(&main_window, &TfrmKalvor::Closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
  main_window.show();

  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() > 1) {
    const std::string terrain = arguments.at(1).toStdString();
    QTimer::singleShot(0, &main_window, [&main_window, terrain] { main_window.LoadTerrain(terrain); });
  }
  const int result = app.exec();
  app.SetPrompts(nullptr);
  SetWarningSink({});
  return result;
}
