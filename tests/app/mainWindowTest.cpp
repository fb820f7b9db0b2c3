// The main window: first run, settings file across runs, the close
// question, loading, and the fixed decimal separator.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <filesystem>

#include "app/untDebug.h"
#include "app/untKalvor.h"
#include "app/znBasicShapeTab.h"
#include "app/znComposerTab.h"
#include "app/znFilterTab.h"
#include "app/znMaterialTab.h"
#include "app/znStatusPanels.h"
#include "appTest.h"
#include "base/znIniFile.h"
#include "base/znLog.h"
#include "support/commaLocale.h"
#include "support/testFiles.h"
#include "terrain/znTerra.h"
#include "views/untTerGL.h"
#include "views/untTerMap.h"
#include "views/znDebugLog.h"
#include "views/znWindowPlace.h"

namespace fs = std::filesystem;

class MainWindow : public test::AppTest {
 protected:
  std::unique_ptr<TfrmKalvor> Start() {
    folders_ = HomeFolders();
    auto window = std::make_unique<TfrmKalvor>(folders_, &prompts_);
    window->show();
    return window;
  }
  // Closes the window answering the exit question.
  bool Close(TfrmKalvor& window, bool yes) {
    prompts_.YesNoAnswers.push_back(yes);
    return window.close();
  }
  std::string Ini() const { return folders_.IniFileName; }
  // Loads the sample through "File" > "Load" (so that the map and the
  // preview write their sections too) and exits.
  void LoadTheSampleAndExit(std::unique_ptr<TfrmKalvor> window) {
    // Closed windows go, as the message loop would see to: a preview that
    // stayed would keep its GL context bound.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    prompts_.OpenAnswers.push_back(std::string(KALVOR_SAMPLES_DIR) + "/valley.ter");
    window->mnuLoad->trigger();
    WaitForMapWindow();
    EXPECT_NE(frmTerMap, nullptr);
    EXPECT_TRUE(Close(*window, true));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  TznAppFolders folders_;
};

TEST_F(MainWindow, FirstRunMakesFoldersStandardFilesAndDefaults) {
  fs::remove_all(home_ / "Settings");
  fs::remove_all(home_ / "Textures");
  auto window = Start();
  EXPECT_TRUE(fs::is_directory(home_ / "Settings"));
  EXPECT_TRUE(fs::is_directory(home_ / "Textures"));
  for (const char* name : {"Standard.MTR", "Standard.FTR", "Standard.CMP"})
    EXPECT_TRUE(fs::is_regular_file(home_ / "Settings" / name)) << name;
  EXPECT_EQ(folders_.IniFileName, Home() + "kalvor.ini");
  EXPECT_FALSE(fs::exists(Ini()));  // nothing written before the exit

  EXPECT_EQ(window->windowTitle(), "Kalvor 1.4");
  // Left = Top = 0 is the client area's place; its title bar above stays on
  // the screen.
  EXPECT_EQ(window->geometry().topLeft(), QPoint(FrameMargins(*window).left(), FrameMargins(*window).top()));
  EXPECT_EQ(window->PageControl1->currentWidget(), window->tbBasicShape);
  ASSERT_EQ(window->PageControl1->count(), 4);
  EXPECT_EQ(window->PageControl1->tabText(0), "Basic Shape");
  EXPECT_EQ(window->PageControl1->tabText(1), "Filter");
  EXPECT_EQ(window->PageControl1->tabText(2), "Material");
  EXPECT_EQ(window->PageControl1->tabText(3), "Composer");
  EXPECT_TRUE(test::Find<QRadioButton>(*window, "rgObjectSize0")->isChecked());
  EXPECT_EQ(window->tbBasicShape->cbNumVertices->currentText(), "11 x 11 = 121  (1.00m)");
  EXPECT_EQ(window->tbBasicShape->lbNumVertices->text(), "Total per object: 121");
  EXPECT_EQ(window->tbBasicShape->cbMaxBounds->currentText(), "I don't care :)");
  EXPECT_EQ(window->Terra->FRenderMode, TznRenderMode::RWXPreview);
  EXPECT_EQ(window->tbMaterial->MaterialName(), "Standard.MTR");
  EXPECT_EQ(window->tbFilter->FilterName(), "Standard.FTR");
  EXPECT_EQ(window->tbCompose->ComposerName(), "Standard.CMP");
  EXPECT_FALSE(window->MaterialEditing());
  EXPECT_FALSE(window->FilterEditing());
  EXPECT_FALSE(window->AppInactive);

  EXPECT_EQ(window->StatusBar2->Text(1), "Size: 0");
  EXPECT_EQ(window->StatusBar2->Text(4), "Ht: 0.000m");
  EXPECT_EQ(window->StatusBar1->Text(0), "Scale");
  EXPECT_EQ(window->StatusBar1->Text(1), "X: 1");
  EXPECT_EQ(window->StatusBar1->Text(7), "AltW: 0, 0");
  EXPECT_EQ(window->StatusBar1->Text(8), "Dp: 0.000m");
  EXPECT_TRUE(window->StatusBar1->Text(4).isEmpty());
  Close(*window, true);
}

TEST_F(MainWindow, MenusCarryTheirItems) {
  auto window = Start();
  EXPECT_EQ(window->mnuFile->title(), "File");
  EXPECT_EQ(window->mnuOptions->title(), "Options");
  QStringList items;
  for (QAction* action : window->mnuFile->actions()) items << (action->isSeparator() ? "-" : action->text());
  EXPECT_EQ(items,
            (QStringList{"Load", "Fit into 1000 m × 1000 m", "Save terrain as…", "-", "Save to RWX", "-", "E&xit"}));
  EXPECT_TRUE(window->mnuDebug->isCheckable());
  EXPECT_TRUE(window->mnuFitInto1000->isCheckable());
  EXPECT_TRUE(window->mnuFitInto1000->isChecked());
  EXPECT_EQ(window->findChild<QAction*>("mnuLoad"), window->mnuLoad);
  Close(*window, true);
}

TEST_F(MainWindow, ExistingStandardFilesAreNeverOverwritten) {
  test::WriteFile(Settings("Standard.MTR"), "[Material]\nRed=7\n");
  test::WriteFile(Settings("Standard.FTR"), "[Filter]\nHigh=3\n");
  test::WriteFile(Settings("Standard.CMP"), "[Composer]\nItems=0\nMaterial=Rock.MTR\n");
  auto window = Start();
  EXPECT_EQ(test::ReadFile(Settings("Standard.MTR")), "[Material]\nRed=7\n");
  EXPECT_EQ(test::ReadFile(Settings("Standard.FTR")), "[Filter]\nHigh=3\n");
  EXPECT_EQ(test::ReadFile(Settings("Standard.CMP")), "[Composer]\nItems=0\nMaterial=Rock.MTR\n");
  EXPECT_EQ(window->CurrentMaterial().Red(), 7);
  Close(*window, true);
}

TEST_F(MainWindow, NoToTheExitQuestionKeepsRunningAndWritesNothing) {
  auto window = Start();
  EXPECT_FALSE(Close(*window, false));
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(fs::exists(Ini()));
  EXPECT_EQ(prompts_.Questions, (std::vector<std::string>{"Do you wish to exit?"}));
  EXPECT_TRUE(Close(*window, true));
  EXPECT_TRUE(fs::exists(Ini()));
}

TEST_F(MainWindow, SettingsSurviveARestart) {
  test::WriteFile(Settings("Rock.MTR"), "[Material]\nRed=200\n");
  test::WriteFile(Settings("Low.FTR"), "[Filter]\nUseLow=1\nLow=4\n");
  {
    auto window = Start();
    window->mnuDebug->trigger();
    EXPECT_TRUE(TznDebugLog::Instance().DebugMode());
    test::Find<QRadioButton>(*window, "rgObjectSize2")->click();
    window->tbMaterial->SelectMaterialFile("Rock.MTR");
    window->tbFilter->SelectFilterFile("Low.FTR");
    window->tbCompose->SetCitnumText("abc");
    window->move(40, 30);
    Close(*window, true);
  }
  TznIniFile ini(Ini());
  EXPECT_EQ(ini.ReadString("Settings", "Debug", ""), "1");
  EXPECT_EQ(ini.ReadString("Settings", "Citnum", ""), "0");
  EXPECT_EQ(ini.ReadString("Settings", "MaterialFile", ""), "Rock.MTR");
  EXPECT_EQ(ini.ReadString("Settings", "ComposerFile", ""), "Standard.CMP");
  EXPECT_EQ(ini.ReadString("Settings", "RenderMode", ""), "1");
  EXPECT_FALSE(ini.ValueExists("Settings", "TerFile"));  // no load attempt
  EXPECT_EQ(ini.ReadSectionKeys("MainForm"), (std::vector<std::string>{"Left", "Top"}));

  TznDebugLog::Instance().SetDebugMode(false);
  auto again = Start();
  EXPECT_TRUE(again->mnuDebug->isChecked());
  EXPECT_TRUE(TznDebugLog::Instance().DebugMode());
  EXPECT_EQ(again->tbBasicShape->ObjectSizeItem(), 2);
  EXPECT_EQ(again->Terra->FObjectSize, 30.0f);
  EXPECT_EQ(again->tbMaterial->MaterialName(), "Rock.MTR");
  EXPECT_EQ(again->CurrentMaterial().Red(), 200);
  EXPECT_EQ(again->tbFilter->FilterName(), "Low.FTR");
  EXPECT_EQ(again->tbCompose->CitnumText(), "0");
  again->mnuDebug->trigger();
  Close(*again, true);
}

// The notes of a run (here a settings name that was not used) are there to
// read as soon as the user switches "Debug" on; switching it off leaves the
// window up.
TEST_F(MainWindow, SwitchingDebugOnShowsTheLogWithTheNotesSoFar) {
  TfrmDebug debug_window;
  TznDebugLog::Instance().SetDebugMode(false);
  // Warnings reach the log as in the program.
  const TznWarningSink before = SetWarningSink([](const std::string& w) { TznDebugLog::Instance().Note(w); });
  test::WriteFile(Home() + "kalvor.ini", "[Settings]\nComposerFile=../outside.CMP\n");
  auto window = Start();
  SetWarningSink(before);
  EXPECT_FALSE(debug_window.isVisible());
  test::ClickMenuEntry(*window, window->mnuOptions, window->mnuDebug);
  EXPECT_TRUE(window->mnuDebug->isChecked());
  EXPECT_TRUE(debug_window.isVisible());
  EXPECT_TRUE(debug_window.Memo1->toPlainText().contains("outside.CMP"));
  test::ClickMenuEntry(*window, window->mnuOptions, window->mnuDebug);
  EXPECT_FALSE(window->mnuDebug->isChecked());
  EXPECT_TRUE(debug_window.isVisible());
  Close(*window, true);
}

TEST_F(MainWindow, SettingsFileValuesAndTheirFailureRules) {
  // A file that is there but no filter counts as missing, like a gone one.
  test::WriteFile(Settings("notes.txt"), "[Filter]\nHigh=3\n");
  test::WriteFile(Home() + "kalvor.ini",
                  "[MainForm]\nLeft=25\nTop=35\n[Settings]\nObjectSizeItem=1\nNumberOfVerticesItem=3\n"
                  "MaterialFile=Gone.MTR\nFilterFile=notes.txt\nComposerFile=Gone.CMP\n"
                  "TerFile=/no/such/place/hills.ter\nRenderMode=5\nCitnum=318\n");
  auto window = Start();
  EXPECT_EQ(window->pos(), QPoint(25, 35));
  EXPECT_EQ(window->tbBasicShape->ObjectSizeItem(), 1);
  EXPECT_EQ(window->tbBasicShape->cbNumVertices->currentText(), "5 x 5 = 25  (2.50m)");
  EXPECT_EQ(window->tbBasicShape->lbNumVertices->text(), "Total per object: 100");
  EXPECT_EQ(window->Terra->FVertices, 5);
  EXPECT_EQ(window->tbMaterial->MaterialName(), "Standard.MTR");  // missing files are skipped
  EXPECT_EQ(window->tbFilter->FilterName(), "Standard.FTR");
  EXPECT_EQ(window->tbFilter->SelectedFileName(), "Standard.FTR");
  EXPECT_EQ(window->tbCompose->ComposerName(), "Standard.CMP");
  EXPECT_TRUE(prompts_.Messages.empty());
  EXPECT_EQ(window->OpenDialog1.FileName, "/no/such/place/hills.ter");
  EXPECT_EQ(window->OpenDialog1.InitialDir, "/no/such/place/");
  EXPECT_TRUE(window->Terra->FFileName.empty());  // primed, not loaded
  EXPECT_EQ(window->Terra->FRenderMode, TznRenderMode::Terragen);
  EXPECT_EQ(window->tbCompose->CitnumText(), "318");
  Close(*window, true);
  TznIniFile ini(Ini());
  EXPECT_EQ(ini.ReadString("Settings", "RenderMode", ""), "0");
  EXPECT_EQ(ini.ReadString("Settings", "TerFile", ""), "/no/such/place/hills.ter");
  EXPECT_EQ(ini.ReadString("Settings", "FilterFile", ""), "Standard.FTR");
}

TEST_F(MainWindow, SettingsNamesLeadingOutOfTheSettingsFolderAreNotUsed) {
  const std::string outside_composer = "[Composer]\nItems=0\nGeneralSettings=0\n";
  test::WriteFile(Home() + "outside.CMP", outside_composer);
  test::WriteFile(Home() + "outside.MTR", "[Material]\nComment=outside\n");
  test::WriteFile(Home() + "kalvor.ini", "[Settings]\nComposerFile=../outside.CMP\nMaterialFile=" + Home() +
                                             "outside.MTR\nFilterFile=../../../outside.FTR\n");
  std::vector<std::string> warnings;
  const TznWarningSink before = SetWarningSink([&](const std::string& w) { warnings.push_back(w); });
  auto window = Start();
  SetWarningSink(before);
  EXPECT_EQ(window->tbCompose->ComposerName(), "Standard.CMP");
  EXPECT_EQ(window->tbMaterial->MaterialName(), "Standard.MTR");
  EXPECT_EQ(warnings, (std::vector<std::string>{
                          "\"FilterFile\" names \"../../../outside.FTR\", which lies outside the Settings folder; "
                          "it is not used",
                          "\"MaterialFile\" names \"" + Home() +
                              "outside.MTR\", which lies outside the Settings "
                              "folder; it is not used",
                          "\"ComposerFile\" names \"../outside.CMP\", which lies outside the Settings folder; "
                          "it is not used"}));
  // The user's change on the Composer tab goes to the tab's own file.
  auto* pages = test::Find<QTabWidget>(*window, "PageControl1");
  QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(3).center());
  QTest::mouseClick(test::Find<QRadioButton>(*window, "rbIndividualMaterials"), Qt::LeftButton);
  EXPECT_EQ(TznIniFile(Settings("Standard.CMP")).ReadString("Composer", "GeneralSettings", ""), "1");
  EXPECT_EQ(test::ReadFile(Home() + "outside.CMP"), outside_composer);
  Close(*window, true);
  EXPECT_EQ(TznIniFile(Ini()).ReadString("Settings", "ComposerFile", ""), "Standard.CMP");
}

TEST_F(MainWindow, OutOfRangeChoicesKeepTheTerrainsDefaults) {
  test::WriteFile(Home() + "kalvor.ini", "[Settings]\nObjectSizeItem=3\nNumberOfVerticesItem=34\n");
  auto window = Start();
  EXPECT_EQ(window->tbBasicShape->ObjectSizeItem(), 0);
  EXPECT_EQ(window->tbBasicShape->cbNumVertices->currentText(), "11 x 11 = 121  (1.00m)");
  Close(*window, true);
}

TEST_F(MainWindow, LoadShowsTheLoadersMessageAndTheHeaderValues) {
  test::WriteFile("notes.ter", "just some text, no terrain here\n");
  auto window = Start();

  window->mnuLoadClick();  // cancelled
  ASSERT_EQ(prompts_.OpenRequests.size(), 1u);
  EXPECT_EQ(prompts_.OpenRequests[0].Filter,
            "Terrains (*.ter *.tif *.tiff *.png *.hgt *.asc *.dem)|*.ter;*.tif;*.tiff;*.png;*.hgt;*.asc;*.dem|"
            "Terragen (*.ter)|*.ter|All files|*");
  EXPECT_EQ(frmTerMap, nullptr);

  prompts_.OpenAnswers.push_back(fs::absolute("notes.ter").string());
  window->mnuLoadClick();
  EXPECT_EQ(prompts_.Messages, (std::vector<std::string>{"not a ter file"}));
  ASSERT_NE(frmTerMap, nullptr);  // the map opens even after a failed load
  EXPECT_TRUE(frmTerMap->isVisible());

  prompts_.OpenAnswers.push_back(std::string(KALVOR_SAMPLES_DIR) + "/valley.ter");
  window->mnuLoadClick();
  EXPECT_EQ(prompts_.Messages.size(), 1u);
  WaitForMapWindow();
  ASSERT_NE(frmTerMap, nullptr);
  EXPECT_EQ(window->StatusBar2->Text(0), "valley.ter");
  EXPECT_EQ(window->StatusBar2->Text(2), "XPts: 257");
  EXPECT_EQ(window->StatusBar2->Text(3), "YPts: 257");
  EXPECT_EQ(window->StatusBar1->Text(1), "X: 3");
  EXPECT_EQ(prompts_.OpenRequests[2].FileName, fs::absolute("notes.ter").string());
  Close(*window, true);
  EXPECT_EQ(frmTerMap, nullptr);  // closed with the main window
  TznIniFile ini(Ini());
  EXPECT_EQ(ini.ReadString("Settings", "TerFile", ""), std::string(KALVOR_SAMPLES_DIR) + "/valley.ter");
  EXPECT_EQ(ini.ReadSectionKeys("Map"), (std::vector<std::string>{"Left", "Top", "Width", "Height"}));
}

TEST_F(MainWindow, FirstStartOpensWindowsSideBySideAndOffScreenPlacesComeBack) {
  const std::string valley = std::string(KALVOR_SAMPLES_DIR) + "/valley.ter";
  {
    // No positions saved: the map opens right of the main window when there
    // is room, else left of it, tops in line; the preview beside the map.
    auto window = Start();
    prompts_.OpenAnswers.push_back(valley);
    window->mnuLoad->trigger();
    WaitForMapWindow();
    ASSERT_NE(frmTerMap, nullptr);
    // Until the window manager tells, frames are estimates that may reach
    // further than the frames drawn.
    const QRect screen = window->screen()->availableGeometry();
    const QRect main = WindowFrame(*window), map = WindowFrame(*frmTerMap);
    EXPECT_EQ(window->geometry().topLeft(),
              screen.topLeft() + QPoint(FrameMargins(*window).left(), FrameMargins(*window).top()));
    EXPECT_TRUE(screen.contains(frmTerMap->frameGeometry()));
    EXPECT_EQ(map.top(), std::max(main.top(), screen.top()));
    if (screen.right() - main.right() >= map.width()) {
      EXPECT_EQ(map.left(), main.right() + 1);
    }
    EXPECT_FALSE(map.intersects(main));
    if (TfrmTerGL* preview = TfrmTerGL::Instance()) {
      EXPECT_TRUE(screen.contains(preview->frameGeometry()));
      EXPECT_FALSE(WindowFrame(*preview).intersects(map));
      EXPECT_FALSE(WindowFrame(*preview).intersects(main));
    }
    Close(*window, true);
  }
  // Places beyond every screen, and a map wider than any, as a monitor
  // change leaves them.
  TznIniFile ini(Ini());
  ini.WriteInteger("MainForm", "Left", 5000);
  ini.WriteInteger("MainForm", "Top", -3000);
  ini.WriteInteger("Map", "Left", -4000);
  ini.WriteInteger("Map", "Top", 9000);
  ini.WriteInteger("Map", "Width", 20000);
  ini.WriteInteger("Map", "Height", 300);
  ini.WriteInteger("Renderer", "Left", 3000);
  ini.WriteInteger("Renderer", "Top", 3000);
  ini.UpdateFile();
  auto window = Start();
  const QRect screen = window->screen()->availableGeometry();
  EXPECT_TRUE(screen.contains(window->frameGeometry()));
  EXPECT_EQ(window->geometry().top(), screen.top() + FrameMargins(*window).top());  // the title bar in reach
  prompts_.OpenAnswers.push_back(valley);
  window->mnuLoad->trigger();
  WaitForMapWindow();
  ASSERT_NE(frmTerMap, nullptr);
  EXPECT_TRUE(screen.contains(frmTerMap->frameGeometry()));
  EXPECT_LE(frmTerMap->width(), screen.width());
  if (TfrmTerGL* preview = TfrmTerGL::Instance()) {
    EXPECT_TRUE(screen.contains(preview->frameGeometry()));
  }
  Close(*window, true);
  // What is written back lies on the screen.
  const TznIniFile written(Ini());
  EXPECT_TRUE(
      screen.contains(QPoint(written.ReadInteger("MainForm", "Left", -1), written.ReadInteger("MainForm", "Top", -1))));
  EXPECT_TRUE(screen.contains(QPoint(written.ReadInteger("Map", "Left", -1), written.ReadInteger("Map", "Top", -1))));
  EXPECT_LE(written.ReadInteger("Map", "Width", 0), screen.width());
}

// Collects what goes into the debug log while it lives.
struct DebugNotes {
  std::vector<std::string> lines;
  DebugNotes() {
    TznDebugLog::Instance().SetAppender([this](const std::string& line, bool) { lines.push_back(line); });
  }
  ~DebugNotes() { TznDebugLog::Instance().SetAppender(nullptr); }
  // Lines that hold the text.
  int Count(const std::string& text) const {
    int n = 0;
    for (const std::string& line : lines) n += line.find(text) != std::string::npos;
    return n;
  }
};

// A settings file kept elsewhere through a link gets the settings there and
// stays a link; made read-only, it keeps its bytes, and the debug log says
// once that the settings were not saved, with no message box at the exit.
TEST_F(MainWindow, SettingsFileThroughALinkAndReadOnly) {
  fs::create_directories(home_ / "kept");
  const std::string real = (home_ / "kept" / "real.ini").string();
  test::WriteFile(real, "[Settings]\nCitnum=7\n");
  fs::create_symlink("kept/real.ini", home_ / "kalvor.ini");
  auto window = Start();
  EXPECT_EQ(window->tbCompose->CitnumText(), "7");
  LoadTheSampleAndExit(std::move(window));
  EXPECT_TRUE(prompts_.Messages.empty()) << ::testing::PrintToString(prompts_.Messages);
  EXPECT_TRUE(fs::is_symlink(home_ / "kalvor.ini"));
  {
    TznIniFile ini(real);
    EXPECT_EQ(ini.ReadString("Settings", "Citnum", ""), "7");
    EXPECT_EQ(ini.ReadString("Settings", "TerFile", ""), std::string(KALVOR_SAMPLES_DIR) + "/valley.ter");
    EXPECT_EQ(ini.ReadSectionKeys("Map"), (std::vector<std::string>{"Left", "Top", "Width", "Height"}));
    EXPECT_EQ(ini.ReadSectionKeys("Renderer"), (std::vector<std::string>{"Left", "Top", "Width", "Height"}));
  }

  const std::string before = test::ReadFile(real);
  fs::permissions(real, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  DebugNotes notes;
  window = Start();
  window->mnuDebug->trigger();  // a change that is not kept
  LoadTheSampleAndExit(std::move(window));
  EXPECT_EQ(test::ReadFile(real), before);
  EXPECT_EQ(notes.Count("The settings were not saved: Cannot write file"), 1);
  EXPECT_TRUE(prompts_.Messages.empty()) << ::testing::PrintToString(prompts_.Messages);
  TznDebugLog::Instance().SetDebugMode(false);
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
}

// A home folder that takes no files (here one below a plain file, which
// stops even a superuser): one message box at the start, none at the exit,
// the details in the debug log.
TEST_F(MainWindow, UnwritableHomeGivesOneMessageAtStartAndNoneAtExit) {
  test::WriteFile(Home() + "plain", "");
  folders_ = ResolveAppFolders("/usr/bin/kalvor", Home() + "plain/home", "", FolderWritable);
  DebugNotes notes;
  auto window = std::make_unique<TfrmKalvor>(folders_, &prompts_);
  window->show();
  EXPECT_EQ(prompts_.Messages,
            (std::vector<std::string>{"The folder " + Home() +
                                      "plain/home/ cannot be written: settings, materials, filters and composers "
                                      "will not be saved."}));
  EXPECT_EQ(notes.Count("Cannot create folder"), 2);  // Settings and Textures
  for (const char* name : {"Standard.MTR", "Standard.FTR", "Standard.CMP"})
    EXPECT_EQ(notes.Count(Home() + "plain/home/Settings/" + name), 1) << name;
  LoadTheSampleAndExit(std::move(window));
  EXPECT_EQ(prompts_.Messages.size(), 1u) << ::testing::PrintToString(prompts_.Messages);
  EXPECT_EQ(notes.Count("The settings were not saved: "), 1) << ::testing::PrintToString(notes.lines);
}

TEST_F(MainWindow, DecimalPointIsAFullStopWhateverTheLocale) {
  test::CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no comma-decimal locale installed";
  auto window = Start();
  EXPECT_EQ(QLocale().decimalPoint(), QString("."));
  EXPECT_EQ(window->StatusBar2->Text(4), "Ht: 0.000m");
  Close(*window, true);
}

TEST_F(MainWindow, MeshAndErrorSurviveARestartAndBadValuesKeepTheDefaults) {
  {
    auto window = Start();
    QLineEdit* edit = test::Find<QLineEdit>(*window, "edMaxError");
    EXPECT_FALSE(edit->isEnabled());
    QTest::mouseClick(test::Find<QRadioButton>(*window, "rgMesh1"), Qt::LeftButton);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, "12.345");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(edit->text(), "12.35");  // two decimals; 12.345 is held as a little more
    Close(*window, true);
  }
  TznIniFile ini(Ini());
  EXPECT_EQ(ini.ReadString("Settings", "Mesh", ""), "1");
  EXPECT_EQ(ini.ReadString("Settings", "MaxErrorCm", ""), "12.35");
  {
    auto again = Start();
    EXPECT_TRUE(test::Find<QRadioButton>(*again, "rgMesh1")->isChecked());
    EXPECT_EQ(again->tbBasicShape->edMaxError->text(), "12.35");
    EXPECT_TRUE(again->tbBasicShape->edMaxError->isEnabled());
    EXPECT_EQ(again->Terra->FMesh, TznTerra::kAdaptiveMesh);
    EXPECT_DOUBLE_EQ(again->Terra->FMaxError, 0.1235);
    EXPECT_EQ(again->tbBasicShape->lbTriangles->text(), "Triangles per object: at most 200");  // no terrain
    Close(*again, true);
  }
  // A mesh other than 0 or 1, and an error out of range or no number: the
  // grid and 5 cm, and so they are written back.
  for (const char* bad : {"Mesh=2\nMaxErrorCm=0.05\n", "Mesh=x\nMaxErrorCm=5cm\n", "Mesh=-1\nMaxErrorCm=1001\n"}) {
    test::WriteFile(Home() + "kalvor.ini", std::string("[Settings]\n") + bad);
    auto window = Start();
    EXPECT_TRUE(test::Find<QRadioButton>(*window, "rgMesh0")->isChecked()) << bad;
    EXPECT_EQ(window->tbBasicShape->edMaxError->text(), "5.00") << bad;
    EXPECT_EQ(window->Terra->FMesh, TznTerra::kGridMesh);
    EXPECT_DOUBLE_EQ(window->Terra->FMaxError, 0.05);
    EXPECT_EQ(window->tbBasicShape->lbTriangles->text(), "Triangles per object: 200");
    Close(*window, true);
    TznIniFile written(Ini());
    EXPECT_EQ(written.ReadString("Settings", "Mesh", ""), "0");
    EXPECT_EQ(written.ReadString("Settings", "MaxErrorCm", ""), "5");
  }
}
