// A height raster through "File" > "Load" and the terrain kept through
// "File" > "Save terrain as…", as the user does it: menu entries clicked,
// dialogs answered from the script.
#include <QMenuBar>
#include <QTest>

#include <filesystem>

#include "app/untKalvor.h"
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
  // over 16000 units go into the file at five units to one.
  TznTerra kept;
  kept.SetFitRule(TznFitRule::TrueSize);
  kept.LoadFromFile("kept.ter");
  EXPECT_EQ(kept.FXPoints, 4097);
  EXPECT_EQ(kept.FYPoints, 3);
  EXPECT_EQ(kept.FScaleX, window->Terra->FScaleX);
  EXPECT_EQ(kept.FScaleZ, window->Terra->FScaleZ * 5);
  ASSERT_EQ(kept.FHeights.size(), window->Terra->FHeights.size());
  for (size_t k = 0; k < kept.FHeights.size(); ++k)
    ASSERT_LE(std::abs(kept.FHeights[k] * 5 - window->Terra->FHeights[k]), 2) << k;

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
