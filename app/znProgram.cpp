#include "app/znProgram.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <iostream>

#include "app/untDebug.h"
#include "app/untKalvor.h"
#include "app/znAppIdentity.h"
#include "app/znApplication.h"
#include "app/znFirstStart.h"
#include "app/znProgramCommandLine.h"
#include "base/znCommandLine.h"
#include "base/znLog.h"
#include "base/znSafeFile.h"
#include "views/znDebugLog.h"
#include "views/znQtPrompts.h"

namespace {

std::vector<std::string> ArgsAfterName(const QStringList& arguments) {
  std::vector<std::string> args;
  for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments.at(i).toStdString());
  return args;
}

}  // namespace

// Without a usable home folder the settings live in a folder of their own
// that goes with the program's end.
std::string ScratchDataFolder() {
  static QTemporaryDir scratch(QDir::tempPath() + "/kalvor-XXXXXX");
  return scratch.isValid() ? scratch.path().toStdString() : "";
}

TznAppFolders AppFoldersFromEnvironment() {
  const std::string program = QCoreApplication::applicationFilePath().toStdString();
  const std::string home = qEnvironmentVariable("KALVOR_HOME").toStdString();
  std::string user_data =
      UserDataFolder(qEnvironmentVariable("HOME").toStdString(), qEnvironmentVariable("XDG_DATA_HOME").toStdString());
  const bool no_user_home = user_data.empty();
  if (no_user_home) user_data = ScratchDataFolder();
  // An installed program (its samples beside it) never writes into its own
  // folder, even where it could (run by root): its files belong to the user.
  const bool installed = DirectoryExists(InstalledSamplesDir(program));
  const auto writable = [installed](const std::string& folder) { return !installed && FolderWritable(folder); };
  TznAppFolders folders = ResolveAppFolders(program, home, user_data, writable);
  if (installed && home.empty())
    folders.Note = "Installed program: settings, materials and textures are kept in " + folders.Home;
  if (no_user_home && folders.Home.rfind(user_data, 0) == 0)
    folders.Note =
        "There is no usable home folder (HOME is not set to a folder): settings, materials and "
        "textures are kept only until the program ends, in " +
        folders.Home;
  return folders;
}

int RunKalvor(int argc, char** argv) {
  // Past a file size limit (ulimit -f) a save fails with "File too large"
  // in a message box, instead of the program dying without a word.
  std::signal(SIGXFSZ, SIG_IGN);
  // Help and version need no display: answered before Qt starts.
  const TznProgramArgs early = ReadProgramArgs(std::vector<std::string>(argv + (argc > 0), argv + argc));
  if (early.Help || early.Version) {
    std::cout << (early.Help ? ProgramHelpText() : ProgramVersionText() + "\n");
    return 0;
  }

  TznApplication app(argc, argv);
  // Qt has taken its own options out by now.
  const TznProgramArgs args = ReadProgramArgs(ArgsAfterName(QCoreApplication::arguments()));
  if (!args.Error.empty()) {
    return RefuseCommandLine("kalvor", args.Error, std::cerr);
  }
  SetUpKalvorApplication();
  // The main window's close ends the run even while the debug log is open.
  QApplication::setQuitOnLastWindowClosed(false);

  // What the first start and the settings report goes to the debug log from
  // the beginning, where a desktop user can read it.
  SetWarningSink([](const std::string& message) { TznDebugLog::Instance().Note(message); });
  const TznAppFolders folders = AppFoldersFromEnvironment();
  if (!folders.Note.empty()) TznDebugLog::Instance().Note(folders.Note);
  const std::string first_start =
      CopySamplesOnFirstStart(InstalledSamplesDir(QCoreApplication::applicationFilePath().toStdString()), folders);
  if (!first_start.empty()) TznDebugLog::Instance().Note(first_start);
  TfrmKalvor main_window(folders);
  TfrmDebug debug_window;

  // What no handler caught shows in a message box over the main window.
  TznQtPrompts guard_prompts(&main_window);
  app.SetPrompts(&guard_prompts);
  QObject::connect(&main_window, &TfrmKalvor::Closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
  main_window.show();

  if (!args.Terrain.empty()) {
    QTimer::singleShot(0, &main_window, [&main_window, terrain = args.Terrain] { main_window.LoadTerrain(terrain); });
  }
  const int result = app.exec();
  app.SetPrompts(nullptr);
  SetWarningSink({});
  return result;
}
