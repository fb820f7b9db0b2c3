// "Save to RWX": the save dialog, the progress dialog's protocol and the
// files the run leaves.
#include <QCheckBox>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <utility>

#include "app/untKalvor.h"
#include "app/untMakeRWX.h"
#include "app/znBasicShapeTab.h"
#include "app/znComposerTab.h"
#include "appTest.h"
#include "base/znError.h"
#include "base/znRunLock.h"
#include "base/znSafeFile.h"
#include "support/convertRun.h"
#include "support/endedProcess.h"
#include "support/rasterFiles.h"
#include "support/terFiles.h"
#include "terrain/znTerra.h"
#include "tools/znConvertCli.h"
#include "views/untScaleIt.h"
#include "views/untTerMap.h"
#include "views/znMapImage.h"
#include "views/znMapZoom.h"

namespace fs = std::filesystem;

class SaveRun : public test::AppTest {
 protected:
  // A flat terrain of n x n points with the origin at its south-west
  // corner. The 10 m object grid covers n × spacing metres (one spacing
  // past the last point): 21 points 1 m apart give 3 x 3 objects, of which
  // the 2 x 2 on the terrain hold triangles; 2 points 0.5 m apart give a
  // single object (too small for a triangle of its own).
  std::unique_ptr<TfrmKalvor> StartWithTerrain(int points, float spacing = 1.0f) {
    test::TerFile(points, points, spacing, [](int, int) { return int16_t{100}; }).Save("flat.ter");
    auto window = std::make_unique<TfrmKalvor>(HomeFolders(), &prompts_);
    window->Terra->LoadFromFile("flat.ter");
    window->Terra->SetOrigin(TVec3{0, 0, 0});
    window->Terra->RebuildChunks();
    return window;
  }
  static int Count(const std::string& folder, const std::string& extension) {
    int n = 0;
    for (const auto& entry : fs::directory_iterator(folder)) n += entry.path().extension() == extension;
    return n;
  }
  static std::string Out(const std::string& name) { return (fs::current_path() / name).string(); }
  // Opens the terrain through "File" > "Load" and waits for its map.
  void LoadThroughMenu(TfrmKalvor& window, const std::string& name) {
    prompts_.OpenAnswers.push_back(Out(name));
    test::ClickMenuEntry(window, window.mnuFile, window.mnuLoad);
    WaitForMapWindow();
  }
};

TEST_F(SaveRun, CancelledSaveDialogWritesNothingAndKeepsThePreview) {
  auto window = StartWithTerrain(21);
  int previews_closed = 0;
  window->ClosePreview = [&] { ++previews_closed; };
  window->mnuSavetoRWXClick();
  EXPECT_EQ(prompts_.SaveRequests.size(), 1u);
  EXPECT_EQ(previews_closed, 0);
  EXPECT_EQ(Count(".", ".rwx"), 0);
}

TEST_F(SaveRun, WritesEveryObjectAndTheListWithTheCitizenNumberUsed) {
  auto window = StartWithTerrain(21);  // 2 x 2 objects
  fs::create_directories("out");
  int previews_closed = 0;
  window->ClosePreview = [&] { ++previews_closed; };
  window->tbCompose->SetCitnumText("abc");
  // Left by a run killed outright: its lock file and the file it was writing.
  const long killed = test::EndedProcessId();
  test::WriteFile("out/flat.prp.lock", std::to_string(killed) + "\n");
  const std::string leftover = TemporaryNameFor("out/flat0n0w.rwx", killed) + "-1";
  const std::string other_base = TemporaryNameFor("out/other0n0w.rwx", killed) + "-1";
  test::WriteFile(leftover, "ModelBegin\n");
  test::WriteFile(other_base, "ModelBegin\n");
  prompts_.SaveAnswers.push_back(Out("out/flat"));
  window->mnuSavetoRWX->trigger();
  // The dialog's title, and its line for the name typed: the grid of 3 x 3
  // objects, the south-western first, centred 5 m north and 5 m east of
  // the origin (north 0.5 rounds up to 1, west -0.5 up to 0).
  EXPECT_EQ(prompts_.SaveRequests.at(0).Title, "Save to RWX: choose a base name");
  EXPECT_EQ(prompts_.SaveInformation.at(0), "Up to 9 objects, the first flat1n0w.rwx, listed in flat.prp");
  EXPECT_FALSE(fs::exists(leftover));
  EXPECT_TRUE(fs::exists(other_base));
  EXPECT_FALSE(fs::exists("out/flat.prp.lock"));
  EXPECT_EQ(previews_closed, 1);
  EXPECT_EQ(Count("out", ".rwx"), 4);
  EXPECT_TRUE(fs::exists("out/flat.prp"));
  EXPECT_EQ(window->tbCompose->CitnumText(), "0");
  EXPECT_TRUE(prompts_.Messages.empty());
}

TEST_F(SaveRun, TheOBJFileTypeWritesOBJObjectsAndTheirMaterialLibrary) {
  auto window = StartWithTerrain(21);
  prompts_.SaveAnswers.push_back(Out("obj/flat"));
  prompts_.SaveFilterAnswers.push_back(1);  // "Wavefront OBJ (*.obj)"
  window->mnuSavetoRWXClick();
  EXPECT_EQ(prompts_.SaveRequests.at(0).Filter, "RWX objects (*.rwx)|*.rwx|Wavefront OBJ (*.obj)|*.obj");
  EXPECT_EQ(prompts_.SaveInformation.at(0), "Up to 9 objects, the first flat1n0w.obj, listed in flat.prp");
  EXPECT_EQ(Count("obj", ".obj"), 4);
  EXPECT_EQ(Count("obj", ".rwx"), 0);
  EXPECT_TRUE(fs::exists("obj/flat.mtl"));
  EXPECT_NE(test::ReadFile("obj/flat.prp").find(" flat1n0w.obj\r\n"), std::string::npos);
  // The dialog opens again on the type chosen last.
  window->mnuSavetoRWXClick();
  EXPECT_EQ(prompts_.SaveRequests.at(1).FilterIndex, 1);
}

TEST_F(SaveRun, ProgressOfASingleObject) {
  auto window = StartWithTerrain(2, 0.5f);  // one object
  fs::create_directories("one");
  TfrmMakeRWX dialog(prompts_, window.get());
  dialog.BaseFileName = Out("one/x");
  dialog.Terra = window->Terra.get();
  dialog.exec();  // starts itself once painted and closes when done
  EXPECT_TRUE(dialog.Running);
  EXPECT_EQ(dialog.ProgressBar1->minimum(), 0);
  EXPECT_EQ(dialog.ProgressBar1->maximum(), 0);
  EXPECT_EQ(dialog.Label1->text(), "0 of 1 objects");
  EXPECT_EQ(dialog.windowTitle(), "Making RWX Files");
  EXPECT_TRUE(fs::exists("one/x.prp"));
}

TEST_F(SaveRun, CancelConfirmedDuringObjectKStopsBeforeKPlusOne) {
  auto window = StartWithTerrain(31);  // 4 x 4 objects, 3 x 3 on the terrain
  fs::create_directories("cut");
  TfrmMakeRWX dialog(prompts_, window.get());
  dialog.BaseFileName = Out("cut/x");
  dialog.Terra = window->Terra.get();
  prompts_.YesNoAnswers = {false, true};
  // The first click is answered No, the second Yes, each while an object's
  // progress call processes the pending events.
  int clicks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (dialog.Running && clicks < 2 && dialog.ProgressBar1->value() == clicks) {
      ++clicks;
      dialog.btCancel->click();
    }
  });
  timer.start(0);
  dialog.exec();
  EXPECT_EQ(prompts_.Questions.size(), 2u);
  EXPECT_EQ(prompts_.Questions[0], "Do you wish to cancel this operation?");
  // Objects 0 and 1 were written: the Yes came while object 1 was on its way.
  EXPECT_EQ(Count("cut", ".rwx"), 2);
  EXPECT_TRUE(fs::exists("cut/x.prp"));
}

TEST_F(SaveRun, AnEmptyGridClosesTheDialogAtOnce) {
  auto window = StartWithTerrain(11);
  test::WriteFile("text.ter", "no terrain");
  EXPECT_THROW(window->Terra->LoadFromFile("text.ter"), EznError);  // leaves empty grids
  fs::create_directories("none");
  TfrmMakeRWX dialog(prompts_, window.get());
  dialog.BaseFileName = Out("none/x");
  dialog.Terra = window->Terra.get();
  dialog.exec();
  EXPECT_EQ(dialog.Label1->text(), " ");
  EXPECT_EQ(Count("none", ".rwx"), 0);
}

TEST_F(SaveRun, AFileThatCannotBeWrittenIsReportedAndTheDialogCloses) {
  auto window = StartWithTerrain(21);
  test::WriteFile("blocker", "a file where the folder should be");
  prompts_.SaveAnswers.push_back(Out("blocker/x"));
  window->mnuSavetoRWXClick();
  ASSERT_EQ(prompts_.Messages.size(), 1u);
  EXPECT_FALSE(prompts_.Messages[0].empty());
}

TEST_F(SaveRun, TheProgramWritesWhatTheConverterWrites) {
  for (const auto& entry : fs::directory_iterator(std::string(KALVOR_SAMPLES_DIR) + "/Settings"))
    fs::copy_file(entry.path(), Settings(entry.path().filename().string()));
  // A rough terrain of 61 x 61 points 0.5 m apart, from -4.5 m to 7.47 m.
  test::TerFile(61, 61, 0.5f, [](int i, int j) {
    return int16_t(((i * 37 + j * 53) % 400 - 150) * 60);
  }).Save("hills.ter");
  auto window = std::make_unique<TfrmKalvor>(HomeFolders(), &prompts_);
  window->tbCompose->LoadComposerFile(Settings("Valley.CMP"));
  window->tbCompose->SetCitnumText("318");
  window->LoadTerrain("hills.ter");
  window->Terra->SetOrigin(TVec3{7.5f, 12.25f, 3.0f});
  test::Find<QRadioButton>(*window, "rgObjectSize1")->click();  // 20 m
  window->tbBasicShape->cbNumVertices->setCurrentIndex(4);      // 6 x 6
  window->tbBasicShape->cbNumVerticesChange();
  fs::create_directories("program");
  prompts_.SaveAnswers.push_back(Out("program/h"));
  window->mnuSavetoRWXClick();
  ASSERT_TRUE(prompts_.Messages.empty());

  fs::create_directories("converter");
  const std::string composer = Settings("Valley.CMP"), base = Out("converter/h");
  const char* argv[] = {
      "kalvor-convert", "hills.ter",      base.c_str(), "--object-size", "20",       "--vertices",  "6",
      "--composer",     composer.c_str(), "--citizen",  "318",           "--origin", "7.5,12.25,3", "--quiet"};
  std::ostringstream out, err;
  ASSERT_EQ(RunConvertCli(static_cast<int>(std::size(argv)), argv, out, err), 0) << err.str();

  const auto program = test::FilesWithoutTimes("program"), converter = test::FilesWithoutTimes("converter");
  EXPECT_GT(program.size(), 4u);
  EXPECT_EQ(program.size(), converter.size());
  for (const auto& [name, text] : converter) {
    ASSERT_TRUE(program.count(name)) << name;
    EXPECT_EQ(program.at(name), text) << name;
  }
}

namespace {

void ClickFileMenu(TfrmKalvor& window, QAction* entry) { test::ClickMenuEntry(window, window.mnuFile, entry); }

// Ctrl + left click on the map picture's point (column, row), then the
// selection's sides typed into their edits, each ended with Enter.
void SelectOnMap(int column, int row, const char* side_x, const char* side_y) {
  const int zoom = frmTerMap->Image1->Zoom();
  QTest::mouseClick(frmTerMap->Image1, Qt::LeftButton, Qt::ControlModifier,
                    QPoint(MapPixelOf(column, zoom), MapPixelOf(row, zoom)));
  for (const auto& [side, text] : {std::pair{frmTerMap->edSideX, side_x}, std::pair{frmTerMap->edSideY, side_y}}) {
    QTest::mouseClick(side, Qt::LeftButton, {}, side->rect().center());
    QTest::keyClick(side, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(side, text);
    QTest::keyClick(side, Qt::Key_Return);
  }
}

// The files of a folder, and the object files a list names (the last field
// of each line).
std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}
std::set<std::string> Listed(const std::string& prp) {
  std::set<std::string> names;
  std::istringstream lines(test::ReadFile(prp));
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    names.insert(line.substr(line.rfind(' ') + 1));
  }
  return names;
}

}  // namespace

TEST_F(SaveRun, ARunNeverReplacesItsTerrainNorWritesBesideAnotherRunOnTheSameName) {
  // The terrain was saved under a name that ends like an object list.
  test::TerFile(21, 21, 1.0f, [](int i, int j) { return int16_t(10 * i + 5 * j); }).Save("t.prp");
  const std::string terrain = test::ReadFile("t.prp");
  TfrmKalvor window(HomeFolders(), &prompts_);
  window.show();
  prompts_.OpenAnswers.push_back(Out("t.prp"));
  ClickFileMenu(window, window.mnuLoad);
  ASSERT_EQ(window.Terra->FXPoints, 21);

  // Base name t: its object list would be the terrain.
  prompts_.SaveAnswers.push_back(Out("t"));
  ClickFileMenu(window, window.mnuSavetoRWX);
  ASSERT_EQ(prompts_.Messages.size(), 1u);
  EXPECT_EQ(prompts_.Messages[0],
            "The output \"" + Out("t.prp") + "\" is the input \"" + Out("t.prp") + "\"; choose another base name");
  EXPECT_EQ(test::ReadFile("t.prp"), terrain);
  EXPECT_EQ(Count(".", ".rwx"), 0);

  // Base name u while another run writes under it.
  fs::create_directories("guarded");
  {
    TznRunLock other_run;
    long holder = 0;
    ASSERT_TRUE(other_run.Take(Out("guarded/u.prp.lock"), holder));
    prompts_.SaveAnswers.push_back(Out("guarded/u"));
    ClickFileMenu(window, window.mnuSavetoRWX);
    ASSERT_EQ(prompts_.Messages.size(), 2u);
    EXPECT_EQ(prompts_.Messages[1], "Another run (process " + std::to_string(::getpid()) +
                                        ") is writing under the base name \"" + Out("guarded/u") +
                                        "\"; try again when it has finished");
    EXPECT_EQ(Count("guarded", ".rwx"), 0);
    EXPECT_FALSE(fs::exists("guarded/u.prp"));
  }
  // Once that run is done, the same save goes through and leaves no lock.
  prompts_.SaveAnswers.push_back(Out("guarded/u"));
  ClickFileMenu(window, window.mnuSavetoRWX);
  EXPECT_EQ(prompts_.Messages.size(), 2u);
  EXPECT_TRUE(fs::exists("guarded/u.prp"));
  EXPECT_EQ(Count("guarded", ".rwx"), 4);  // 2 x 2 of the 3 x 3 objects over 21 m hold triangles
  EXPECT_FALSE(fs::exists("guarded/u.prp.lock"));
  EXPECT_EQ(test::ReadFile("t.prp"), terrain);
}

// The user loads a terrain, puts the selection's centre on the map with
// Ctrl + left click, types its sides, and saves only the objects inside it.
TEST_F(SaveRun, OnlyTheObjectsInsideTheSelectionAreWritten) {
  // 41 x 41 points 1 m apart, origin at the centre (20 m, 20 m): 10 m
  // objects from 0 m, centres at 5, 15, 25, 35 m (and 45 m, past the edge).
  test::TerFile(41, 41, 1.0f, [](int x, int y) { return static_cast<int16_t>(x + y); }).Save("slope.ter");
  auto window = std::make_unique<TfrmKalvor>(HomeFolders(), &prompts_);
  window->show();
  LoadThroughMenu(*window, "slope.ter");
  ASSERT_NE(frmTerMap, nullptr);
  EXPECT_EQ(frmTerMap->cbShowSelection->text(), "Show Selection");

  // Grid point (25, 15) is picture row 41 - 15 - 1 = 25.
  SelectOnMap(25, 25, "20", "20");
  // [15, 35) x [5, 25): centres 15 and 25 m east, 5 and 15 m north. They
  // lie 5 m west, 5 m east, 15 m south and 5 m south of the origin: 1w, 0w,
  // 1s and 0n (half a tenth rounds to even, then up).
  prompts_.SaveAnswers.push_back(Out("sel/slope"));
  prompts_.ChoiceAnswers.push_back(1);
  test::ClickMenuEntry(*window, window->mnuFile, window->mnuSavetoRWX);
  ASSERT_EQ(prompts_.ChoiceCaptions.size(), 1u);
  EXPECT_EQ(prompts_.ChoiceCaptions[0],
            "Save to RWX|Objects to write:|Whole terrain|Only the objects inside the selection");
  EXPECT_EQ(FilesIn("sel"),
            (std::set<std::string>{"slope.prp", "slope1s1w.rwx", "slope1s0w.rwx", "slope0n1w.rwx", "slope0n0w.rwx"}));
  const std::string list = test::ReadFile("sel/slope.prp");
  EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 4);

  prompts_.YesNoAnswers.push_back(true);
  window->close();
}

TEST_F(SaveRun, AStoppedSaveIsOfferedToGoOnAndThenEqualsAnUninterruptedOne) {
  auto window = StartWithTerrain(31);  // 4 x 4 objects, 3 x 3 on the terrain
  window->show();
  prompts_.SaveAnswers.push_back(Out("whole/x"));
  test::ClickMenuEntry(*window, window->mnuFile, window->mnuSavetoRWX);
  ASSERT_EQ(Count("whole", ".rwx"), 9);

  // Cancelled while the first object is on its way: it alone is written.
  prompts_.SaveAnswers.push_back(Out("cut/x"));
  prompts_.YesNoAnswers.push_back(true);
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<TfrmMakeRWX*>(QApplication::activeModalWidget());
    if (dialog && dialog->Running && !dialog->CancelRequested)
      QTest::mouseClick(dialog->btCancel, Qt::LeftButton, {}, dialog->btCancel->rect().center());
  });
  timer.start(0);
  test::ClickMenuEntry(*window, window->mnuFile, window->mnuSavetoRWX);
  timer.stop();
  EXPECT_EQ(Count("cut", ".rwx"), 1);
  EXPECT_TRUE(prompts_.ChoiceCaptions.empty());

  // The next save under the name offers to go on, and goes on.
  prompts_.SaveAnswers.push_back(Out("cut/x"));
  prompts_.ChoiceAnswers.push_back(0);
  test::ClickMenuEntry(*window, window->mnuFile, window->mnuSavetoRWX);
  ASSERT_EQ(prompts_.ChoiceCaptions.size(), 1u);
  EXPECT_EQ(prompts_.ChoiceCaptions[0],
            "Save to RWX|\"" + Out("cut/x") + ".prp\" belongs to an unfinished run:|Resume it|Start anew");
  const std::set<std::string> whole = FilesIn("whole");
  EXPECT_EQ(FilesIn("cut"), whole);
  for (const std::string& name : whole)
    if (name.ends_with(".rwx")) EXPECT_EQ(test::ReadFile("cut/" + name), test::ReadFile("whole/" + name)) << name;
  EXPECT_EQ(test::ReadFile("cut/x.prp").size(), test::ReadFile("whole/x.prp").size());

  prompts_.YesNoAnswers.push_back(true);
  window->close();
}

// A real place at true size: the user loads the 30 km valley, selects
// 30 m x 30 m around its peak and saves the objects inside; then scales
// the map to 100 km across, which the object grid holds.
TEST_F(SaveRun, ARealPlaceSavesItsSelectionAndScalesTo100Kilometres) {
  test::ValleyRaster().Save("valley.tif");
  auto window = std::make_unique<TfrmKalvor>(HomeFolders(), &prompts_);
  window->show();
  LoadThroughMenu(*window, "valley.tif");
  ASSERT_NE(frmTerMap, nullptr);
  const size_t messages = prompts_.Messages.size();

  // The peak, grid point (100, 299), is picture row 340 - 299 - 1 = 40; at
  // 74.5631 m x 92.4751 m a cell it lies at (7456.31 m, 27650.07 m), and
  // the selection covers [7441.31, 7471.31) x [27635.07, 27665.07). The
  // 10 m objects' edges lie whole objects from the origin at the centre,
  // (14875.34 m, 15674.54 m): the centres inside lie at 7450.34, 7460.34
  // and 7470.34 m east, 742.5, 741.5 and 740.5 dam west of the origin
  // (743w, 742w, 741w: a half rounds up), and at 27639.54, 27649.54 and
  // 27659.54 m north, 1196.5, 1197.5 and 1198.5 dam north (1197n, 1198n,
  // 1199n).
  SelectOnMap(100, 40, "30", "30");
  prompts_.SaveAnswers.push_back(Out("peak/v"));
  prompts_.ChoiceAnswers.push_back(1);
  test::ClickMenuEntry(*window, window->mnuFile, window->mnuSavetoRWX);
  ASSERT_EQ(prompts_.ChoiceCaptions.size(), 1u);
  std::set<std::string> objects;
  for (const char* north : {"1197n", "1198n", "1199n"})
    for (const char* west : {"741w", "742w", "743w"}) objects.insert(std::string("v") + north + west + ".rwx");
  EXPECT_EQ(Listed("peak/v.prp"), objects);
  objects.insert("v.prp");
  EXPECT_EQ(FilesIn("peak"), objects);

  // 100 km across with 10 m objects: steps of 100000 / 399 = 250.6266 m
  // east-west and 92.4751 x 250.6266 / 74.5631 = 310.8336 m north-south, an
  // object grid of ceil(400 x 25.06266) + 2 = 10028 by ceil(340 x 31.08336)
  // + 2 = 10571 objects at most: 106 million, well within what it holds.
  // The heights follow: 840 m x 100000 / 29750.69 = 2823.46 m.
  ASSERT_EQ(window->Terra->FObjectSize, 10.0f);
  test::WhenModal<TfrmScaleIt>([](TfrmScaleIt& dialog) {
    QTest::mouseClick(dialog.edScaleX, Qt::LeftButton, {}, dialog.edScaleX->rect().center());
    QTest::keyClick(dialog.edScaleX, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(dialog.edScaleX, "100000");
    QTest::mouseClick(dialog.btAccept, Qt::LeftButton);
  });
  test::ClickMenuEntry(*frmTerMap, qobject_cast<QMenu*>(frmTerMap->mnuScale->parent()), frmTerMap->mnuScale);
  WaitForMapWindow();
  EXPECT_EQ(prompts_.Messages.size(), messages);
  const TznTerra& terra = *window->Terra;
  EXPECT_NEAR((terra.FXPoints - 1) * double{terra.FScaleX}, 100000, 0.01);
  EXPECT_NEAR(terra.Metres(terra.GetHighest()), 2823.46, 0.01);

  prompts_.YesNoAnswers.push_back(true);
  window->close();
}
