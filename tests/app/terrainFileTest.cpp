// A height raster through "File" > "Load" and the terrain kept through
// "File" > "Save terrain as…", as the user does it: menu entries clicked,
// dialogs answered from the script; a named pipe refused at once, and the
// progress window of a slow load cancelled with its button.
#include <sys/stat.h>

#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <filesystem>

#include "app/untKalvor.h"
#include "app/untLoadProgress.h"
#include "app/znStatusPanels.h"
#include "appTest.h"
#include "support/rasterFiles.h"
#include "support/testFiles.h"
#include "terrain/znTerra.h"
#include "views/untTerMap.h"

namespace fs = std::filesystem;

class TerrainFiles : public test::AppTest {
 protected:
  std::unique_ptr<TfrmKalvor> Start() {
    // Windows an earlier test closed go first, as the event loop would have
    // deleted them.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    folders_ = HomeFolders();
    auto window = std::make_unique<TfrmKalvor>(folders_, &prompts_);
    window->show();
    return window;
  }
  void Load(TfrmKalvor& window, const std::string& path) {
    prompts_.OpenAnswers.push_back(fs::absolute(path).string());
    test::ClickMenuEntry(window, window.mnuFile, window.mnuLoad);
    WaitForMapWindow();
  }
  void SaveTerrainAs(TfrmKalvor& window, const std::string& path) {
    prompts_.SaveAnswers.push_back(fs::absolute(path).string());
    test::ClickMenuEntry(window, window.mnuFile, window.mnuSaveTerrainAs);
  }

  TznAppFolders folders_;
};

TEST_F(TerrainFiles, ARasterLoadsAndTheTerrainIsKeptAsTer) {
  // 4098 x 3 cells of 5 m: one point too many along X, averaged down to
  // 4097 x 3, and the user is told.
  test::Raster raster = test::MakeRaster(4098, 3, [](int c, int r) { return 200.0 + (c % 50) + r; });
  raster.geo_transform = {400000, 5, 0, 5200000, 0, -5};
  raster.epsg = 32632;
  raster.Save("wide.tif");
  auto window = Start();

  Load(*window, "wide.tif");
  EXPECT_EQ(prompts_.Messages, (std::vector<std::string>{"wide.tif: 4098 x 3 points averaged down to 4097 x 3"}));
  EXPECT_EQ(window->StatusBar2->Text(0), "wide.tif");
  EXPECT_EQ(window->StatusBar2->Text(2), "XPts: 4097");
  EXPECT_EQ(window->StatusBar2->Text(3), "YPts: 3");

  SaveTerrainAs(*window, "kept.ter");
  ASSERT_EQ(prompts_.SaveRequests.size(), 1u);
  EXPECT_EQ(prompts_.SaveRequests[0].Filter, "Terragen (*.ter)|*.ter");
  EXPECT_EQ(prompts_.SaveRequests[0].FileName, fs::absolute("wide.ter").string());  // named after the raster
  EXPECT_TRUE(prompts_.Questions.empty());
  // The raster's 20 km keep their size; read back at true size. Its 51 m
  // over 16000 units would go into the file at five units to one, a height
  // factor of 5 x 51 x 100 / 16000 = 1.59 (a little less, averaged), which
  // GDAL reads at an ALTW of 65.536 x 1.59 / 5 = 20.9: the file takes 21
  // and the factor that matches it, 21 x 5 x 1000 / 65536 = 1.602173, and
  // the user is told its step.
  EXPECT_EQ(window->StatusBar2->Text(0), "Wrote kept.ter: 4097 x 3 points, height step 0.0160217 m");
  TznTerra kept;
  kept.SetFitRule(TznFitRule::TrueSize);
  kept.LoadFromFile("kept.ter");
  EXPECT_EQ(kept.FXPoints, 4097);
  EXPECT_EQ(kept.FYPoints, 3);
  EXPECT_EQ(kept.FScaleX, window->Terra->FScaleX);
  EXPECT_EQ(kept.FScaleZ, 1.6021728515625f);
  EXPECT_EQ(kept.FHeightScale, 21);
  ASSERT_EQ(kept.FHeights.size(), window->Terra->FHeights.size());
  for (size_t k = 0; k < kept.FHeights.size(); ++k)
    ASSERT_LE(std::fabs(kept.Metres(kept.FHeights[k]) - window->Terra->Metres(window->Terra->FHeights[k])),
              1.6021728515625 / 200)
        << k;

  // An existing file is replaced only after a Yes; the loaded file never.
  test::WriteFile("old.ter", "old");
  prompts_.YesNoAnswers.push_back(false);
  SaveTerrainAs(*window, "old.ter");
  EXPECT_EQ(prompts_.Questions, (std::vector<std::string>{"File already exist. Ovewrite?"}));
  EXPECT_EQ(test::ReadFile("old.ter"), "old");
  Load(*window, "kept.ter");
  SaveTerrainAs(*window, "kept.ter");
  EXPECT_EQ(prompts_.Questions.size(), 1u);
  EXPECT_EQ(prompts_.Messages.back(), "\"" + fs::absolute("kept.ter").string() +
                                          "\" is the file the terrain was loaded from; save it under another name");
  prompts_.YesNoAnswers.push_back(true);
  window->close();
}

TEST_F(TerrainFiles, ANamedPipeIsRefusedAtOnce) {
  auto window = Start();
  // Opening either for reading would wait for a writer for ever.
  for (const std::string name : {"pipe.ter", "pipe.tif"}) {
    const std::string path = Home() + name;
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    Load(*window, path);
    EXPECT_EQ(prompts_.Messages.back(), "Cannot open file \"" + path + "\". It is a named pipe, not a file");
  }
  EXPECT_EQ(prompts_.Messages.size(), 2u);
  EXPECT_TRUE(window->Terra->FHeights.empty());
  prompts_.YesNoAnswers.push_back(true);
  window->close();
}

TEST_F(TerrainFiles, CancelInTheProgressWindowOfASlowLoadLeavesNoTerrain) {
  // 1024 x 4096 heights of 4 bytes: four strips of 4 MB, read twice, with a
  // progress call after each. The clock moves 0.2 s at every reading: the
  // start reads 0.2, the third call 0.8, the first past half a second.
  test::Raster raster = test::MakeRaster(1024, 4096, [](int c, int r) { return (c + r) % 100; });
  raster.creation_options = {"COMPRESS=DEFLATE"};
  raster.Save(Home() + "slow.tif");
  auto window = Start();
  double now = 0;
  window->LoadClock = [&now] { return now += 0.2; };

  // The user reads the window once it shows, then clicks "Cancel".
  std::string caption, text, button;
  int bar = -1;
  QTimer user;
  user.setInterval(0);
  QObject::connect(&user, &QTimer::timeout, [&] {
    auto* progress = window->findChild<TfrmLoadProgress*>("frmLoadProgress");
    if (!progress || !progress->isVisible() || !caption.empty()) return;
    caption = progress->windowTitle().toStdString();
    text = progress->Label1->text().toStdString();
    button = progress->btCancel->text().toStdString();
    bar = progress->ProgressBar1->value();
    QTest::mouseClick(progress->btCancel, Qt::LeftButton, {}, progress->btCancel->rect().center());
  });
  user.start();
  Load(*window, Home() + "slow.tif");
  user.stop();

  EXPECT_EQ(caption, "Kalvor");
  EXPECT_EQ(text, "Loading slow.tif…");
  EXPECT_EQ(button, "Cancel");
  EXPECT_EQ(bar, 38);  // 3072 of 4096 rows in the first of two passes: 37.5 %
  EXPECT_EQ(window->findChild<TfrmLoadProgress*>(), nullptr);
  // As after a failed load, without a box.
  EXPECT_TRUE(prompts_.Messages.empty());
  EXPECT_TRUE(window->Terra->FHeights.empty());
  EXPECT_EQ(window->Terra->FXPoints, 0);
  EXPECT_EQ(window->StatusBar2->Text(0), "Loading cancelled");
  prompts_.YesNoAnswers.push_back(true);
  window->close();
}
