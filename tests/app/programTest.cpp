// The program as a user meets it: "kalvor --help" and "--version" without a
// display; the first start of an installed program, whose samples fill a
// home folder that has no Settings yet before the standard files are
// written, while later starts leave the user's files alone; the icon on
// every window.
#include <sys/wait.h>

#include <QTest>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/untDebug.h"
#include "app/untKalvor.h"
#include "app/znAppIdentity.h"
#include "app/znComposerTab.h"
#include "app/znFileListBox.h"
#include "app/znFirstStart.h"
#include "appTest.h"
#include "support/testFiles.h"
#include "views/untTerGL.h"
#include "views/untTerMap.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& path) { return test::ReadFile(path.string()); }

struct TRun {
  std::string Output;  // standard output and standard error
  int ExitCode = -1;
};

// The program with the arguments, its environment less the display.
TRun RunProgram(const std::string& arguments, const std::string& environment = "") {
  const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + environment + " '" +
                              KALVOR_PROGRAM + "' " + arguments + " 2>&1";
  TRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.Output.append(buffer, n);
  const int status = pclose(pipe);
  if (WIFEXITED(status)) run.ExitCode = WEXITSTATUS(status);
  return run;
}

}  // namespace

class Program : public test::AppTest {};

TEST_F(Program, HelpAndVersionNeedNoDisplay) {
  TRun version = RunProgram("--version");
  EXPECT_EQ(version.ExitCode, 0);
  EXPECT_EQ(version.Output, std::string("kalvor ") + KALVOR_PROJECT_VERSION + "\n");

  TRun help = RunProgram("-h");
  EXPECT_EQ(help.ExitCode, 0);
  EXPECT_EQ(help.Output.rfind("Usage: kalvor [TERRAIN]\n", 0), 0u) << help.Output;
  EXPECT_NE(help.Output.find("KALVOR_HOME"), std::string::npos);

  // What the program cannot follow is refused before any window opens.
  TRun unknown = RunProgram("--bogus", "QT_QPA_PLATFORM=offscreen");
  EXPECT_EQ(unknown.ExitCode, 2);
  EXPECT_NE(unknown.Output.find("kalvor: unknown option --bogus\n"), std::string::npos) << unknown.Output;
  TRun two = RunProgram("a.ter b.ter", "QT_QPA_PLATFORM=offscreen");
  EXPECT_EQ(two.ExitCode, 2) << two.Output;
}

TEST_F(Program, StartUpWarningsGoToTheDebugLogNotToTheTerminal) {
  // A settings file whose material lies outside the Settings folder: the
  // start says so, and a desktop user reads that in the debug log.
  const fs::path home = home_ / "warned";
  fs::create_directories(home);
  std::ofstream(home / "kalvor.ini") << "[Settings]\nMaterialFile=../../outside.MTR\n";
  const TRun run = RunProgram("", "QT_QPA_PLATFORM=offscreen KALVOR_HOME='" + home.string() + "' timeout 3");
  EXPECT_EQ(run.Output.find("outside the Settings folder"), std::string::npos) << run.Output;
}

TEST_F(Program, EveryWindowShowsTheIcon) {
  SetUpKalvorApplication();
  ASSERT_TRUE(KalvorIcon().availableSizes().contains(QSize(256, 256)));
  TfrmKalvor window(HomeFolders(), &prompts_);
  TfrmDebug debug;
  window.show();
  window.LoadTerrain(KALVOR_SAMPLES_DIR "/valley.ter");  // opens the map, which opens the preview
  ASSERT_NE(frmTerMap, nullptr);
  ASSERT_NE(TfrmTerGL::Instance(), nullptr);
  const qint64 icon = QApplication::windowIcon().cacheKey();
  for (QWidget* shown : {static_cast<QWidget*>(&window), static_cast<QWidget*>(&debug),
                         static_cast<QWidget*>(frmTerMap), static_cast<QWidget*>(TfrmTerGL::Instance())})
    EXPECT_EQ(shown->windowIcon().cacheKey(), icon) << shown->objectName().toStdString();
}

TEST_F(Program, AnInstalledProgramStartsWithTheSamplesOnce) {
  // An install under prefix/, its files read-only as under /usr.
  const fs::path prefix = home_ / "prefix";
  const fs::path samples = prefix / "share/kalvor/samples";
  fs::create_directories(samples);
  fs::copy(KALVOR_SAMPLES_DIR "/Settings", samples / "Settings");
  fs::copy(KALVOR_SAMPLES_DIR "/Textures", samples / "Textures");
  for (const auto& entry : fs::recursive_directory_iterator(samples))
    if (entry.is_regular_file()) fs::permissions(entry.path(), fs::perms::owner_read | fs::perms::group_read);
  const std::string program = (prefix / "bin/kalvor").string();
  ASSERT_EQ(InstalledSamplesDir(program), samples.string() + "/");

  // KALVOR_HOME names a folder that does not exist yet.
  const fs::path user = home_ / "user";
  const TznAppFolders folders = ResolveAppFolders(program, user.string(), "", FolderWritable);
  const std::string note = CopySamplesOnFirstStart(InstalledSamplesDir(program), folders);
  EXPECT_NE(note.find("copied the sample"), std::string::npos) << note;
  EXPECT_NE(note.find(user.string()), std::string::npos) << note;
  EXPECT_FALSE(fs::exists(user / "Settings.new"));

  {
    TfrmKalvor window(folders, &prompts_);
    // The samples' own Standard.CMP is the valley composer: three rows over
    // the grass material, not the empty composer of a start without samples.
    EXPECT_EQ(window.tbCompose->ComposerName(), "Standard.CMP");
    const TznComposerFile composer = window.tbCompose->ComposerData();
    ASSERT_EQ(composer.Rows.size(), 3u);
    EXPECT_EQ(composer.Rows[0].Filter, "Water.FTR");
    EXPECT_EQ(composer.Rows[2].Material, "Sand.MTR");
    EXPECT_EQ(composer.BasicMaterial, "Grass.MTR");
    const auto* materials = test::Find<TznFileListBox>(window, "MaterialList");
    EXPECT_EQ(materials->Names(),
              (std::vector<std::string>{"Grass.MTR", "Rock.MTR", "Sand.MTR", "Standard.MTR", "Water.MTR"}));
  }
  for (const char* name : {"Standard.CMP", "Standard.MTR", "Standard.FTR", "Valley.CMP", "Shore.FTR"})
    EXPECT_EQ(Read(user / "Settings" / name), Read(samples / "Settings" / name)) << name;
  EXPECT_EQ(Read(user / "Textures/grass.jpg"), Read(samples / "Textures/grass.jpg"));
  // The copies belong to the user, who may change them.
  EXPECT_NE(fs::status(user / "Settings/Grass.MTR").permissions() & fs::perms::owner_write, fs::perms::none);

  // The user's own changes survive the next start.
  std::ofstream(user / "Settings/Standard.CMP") << "[Composer]\nItems=0\n";
  fs::remove(user / "Textures/rock.jpg");
  EXPECT_EQ(CopySamplesOnFirstStart(InstalledSamplesDir(program), folders), "");
  EXPECT_EQ(Read(user / "Settings/Standard.CMP"), "[Composer]\nItems=0\n");
  EXPECT_FALSE(fs::exists(user / "Textures/rock.jpg"));

  // A program that is not installed (no samples beside it) starts as before.
  const fs::path other = home_ / "other";
  const TznAppFolders plain =
      ResolveAppFolders((home_ / "build/app/kalvor").string(), other.string(), "", FolderWritable);
  EXPECT_EQ(CopySamplesOnFirstStart(InstalledSamplesDir((home_ / "build/app/kalvor").string()), plain), "");
  EXPECT_FALSE(fs::exists(other));
}
