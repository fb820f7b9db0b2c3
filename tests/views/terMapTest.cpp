// The map window driven through its widgets on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QWheelEvent>

#include <filesystem>
#include <memory>

#include "base/znIniFile.h"
#include "support/testFiles.h"
#include "views/untTerMap.h"
#include "views/viewsTest.h"
#include "views/znScriptedPrompts.h"

namespace {

class TerMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::App();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    settings_ = (std::filesystem::current_path() / (std::string(info->name()) + ".ini")).string();
    std::filesystem::remove(settings_);
    // 101 x 101 points 1 m apart; heights 0 to 200 m.
    test::FillTerra(terra_, 101, 101, 1, [](int i, int j) { return static_cast<int16_t>(i + j); });
  }

  void TearDown() override {
    if (window_) window_->close();
    FlushDeletes();
  }

  static void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  // Opens the map at the zoom that fits the screen.
  TfrmTerMap& OpenAsIs() {
    window_ = new TfrmTerMap(terra_, settings_, prompts_);
    window_->OnShowScene = [this] { ++scene_shown_; };
    window_->show();
    return *window_;
  }

  // Opens the map and zooms out with "-" to one screen pixel per grid point,
  // where the tests count pixels.
  TfrmTerMap& Open() {
    OpenAsIs();
    for (int i = 1; i < 8; ++i) Key(Qt::Key_Minus);
    return *window_;
  }

  // A key pressed while the map window is the active one.
  void Key(Qt::Key key) {
    QWidget* focus = window_->focusWidget();
    QTest::keyClick(focus ? focus : window_.data(), key);
  }

  // Notches of the mouse wheel over a picture pixel. A sent wheel event
  // stays with the map (only the window system's go on to the parents).
  void Wheel(QPoint at, int notches, Qt::KeyboardModifiers modifiers) {
    QWheelEvent event(at, window_->Image1->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(window_->Image1, &event);
  }

  // What the map shows on screen, overlays included.
  QImage Shown() const { return window_->Image1->grab().toImage(); }

  TfrmTerMap& OpenAndShade() {
    Open().RefreshMap();
    WaitForMapWindow();
    return *window_;
  }

  static void Enter(QLineEdit* edit, const char* text) {
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
  }

  void Click(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at) {
    QTest::mouseClick(window_->Image1, button, modifiers, at);
  }

  TznTerra terra_;
  TznScriptedPrompts prompts_;
  std::string settings_;
  QPointer<TfrmTerMap> window_;
  int scene_shown_ = 0;
};

}  // namespace

TEST_F(TerMapTest, RefreshShadesInTheBackgroundAndShowsTheSceneOnce) {
  terra_.SetWaterLevel(5);
  TfrmTerMap& map = Open();
  EXPECT_EQ(frmTerMap, &map);
  map.RefreshMap();
  EXPECT_TRUE(map.Busy());
  EXPECT_FALSE(map.pnControls->isEnabled());
  EXPECT_FALSE(map.Image1->isEnabled());
  EXPECT_EQ(map.StatusBar1->currentMessage(), "Busy...");
  EXPECT_EQ(scene_shown_, 1);
  WaitForMapWindow();
  EXPECT_FALSE(map.Busy());
  EXPECT_TRUE(map.pnControls->isEnabled());
  EXPECT_TRUE(map.Image1->isEnabled());
  EXPECT_EQ(map.StatusBar1->currentMessage(), "");
  ASSERT_EQ(map.Image1->Picture().size(), QSize(101, 101));
  // Water at 5 m: grid point (1, 1) at 2 m is blue; grid point (99, 99) at
  // 198 m is Round(163 * 193 / 195 + 92) = Round(253.33) = 253. (Columns and
  // rows 0, 10, ... carry the object grid.)
  EXPECT_EQ(map.Image1->Picture().pixel(1, 99), qRgb(0, 0, 255));
  EXPECT_EQ(map.Image1->Picture().pixel(99, 1), qRgb(253, 253, 253));
  EXPECT_EQ(map.edWater->text(), "5.00");
  EXPECT_EQ(map.edOriginX->text(), "50.00");
  EXPECT_EQ(map.edSideY->text(), "100.00");
  EXPECT_EQ(map.lbHeight->text(), "200.00m");
  EXPECT_EQ(map.lbDepth->text(), "0.00m");
  map.RefreshMap();
  WaitForMapWindow();
  EXPECT_EQ(scene_shown_, 1);
  EXPECT_TRUE(prompts_.Messages.empty());
}

TEST_F(TerMapTest, CtrlClicksPlaceSelectionAndOriginOtherClicksDoNothing) {
  TfrmTerMap& map = OpenAndShade();
  map.cbShowSelection->setChecked(false);
  const TVec3 centre = terra_.FSelCentre, origin = terra_.FOrigin;
  Click(Qt::LeftButton, Qt::NoModifier, {30, 20});
  Click(Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier, {30, 20});
  Click(Qt::RightButton, Qt::ControlModifier | Qt::AltModifier, {30, 20});
  Click(Qt::RightButton, Qt::NoModifier, {30, 20});
  EXPECT_EQ(terra_.FSelCentre, centre);
  EXPECT_EQ(terra_.FOrigin, origin);
  EXPECT_FALSE(map.cbShowSelection->isChecked());

  // Pixel (30, 20) is grid point (30, 101 - 20 - 1 = 80): 30 m east, 80 m north.
  terra_.SetSelectionCentre(TVec3{1, 2, 7});
  Click(Qt::LeftButton, Qt::ControlModifier, {30, 20});
  EXPECT_EQ(terra_.FSelCentre, (TVec3{30, 80, 7}));
  EXPECT_EQ(map.edCentreX->text(), "30.00");
  EXPECT_EQ(map.edCentreY->text(), "80.00");
  EXPECT_TRUE(map.cbShowSelection->isChecked());
  EXPECT_EQ(terra_.FOrigin, origin);

  map.cbShowOrigin->setChecked(false);
  terra_.SetOrigin(TVec3{0, 0, 3.5f});
  Click(Qt::RightButton, Qt::ControlModifier, {12, 100});
  EXPECT_EQ(terra_.FOrigin, (TVec3{12, 0, 3.5f}));
  EXPECT_EQ(map.edOriginX->text(), "12.00");
  EXPECT_EQ(map.edOriginY->text(), "0.00");
  EXPECT_EQ(map.edOriginZ->text(), "3.50");
  EXPECT_TRUE(map.cbShowOrigin->isChecked());
  // The map shows the new origin: its orange line runs down column 12.
  EXPECT_EQ(Shown().pixel(12, 40), qRgb(255, 128, 0));
}

TEST_F(TerMapTest, WaterLevelIsTypedInMetres) {
  TfrmTerMap& map = OpenAndShade();
  terra_.SetScaleZ(50);  // stored units of 0.5 m
  Enter(map.edWater, " 12.345 ");
  // 12.35 m is Round(24.7) = 25 stored units; the edit then shows that level.
  EXPECT_EQ(terra_.FWaterLevel, 25);
  EXPECT_EQ(map.edWater->text(), "12.50");
  EXPECT_TRUE(map.Busy());  // the map is shaded again
  WaitForMapWindow();

  Enter(map.edWater, "deep");
  ASSERT_EQ(prompts_.Messages.size(), 1u);
  EXPECT_EQ(prompts_.Messages[0], "'deep' is not a valid floating point value");
  EXPECT_EQ(terra_.FWaterLevel, 25);
  EXPECT_FALSE(map.Busy());

  // Stored heights of 0.5 m reach from -16384 m to 16383.5 m; a level that
  // rounds beyond them (-16384.26 m is -32768.52 units) is refused and the
  // water stays.
  Enter(map.edWater, "1e39");
  Enter(map.edWater, "-16384.26");
  ASSERT_EQ(prompts_.Messages.size(), 3u);
  EXPECT_EQ(prompts_.Messages[1], "'1e39' is not a valid floating point value (from -16384.00 to 16383.50 m)");
  EXPECT_EQ(prompts_.Messages[2], "'-16384.26' is not a valid floating point value (from -16384.00 to 16383.50 m)");
  EXPECT_EQ(terra_.FWaterLevel, 25);
  EXPECT_FALSE(map.Busy());
  Enter(map.edWater, "16383.5");
  EXPECT_EQ(terra_.FWaterLevel, 32767);
  WaitForMapWindow();
}

// "1e39" reads as a number but no single float holds it; positions beyond
// ten thousand kilometres could not be rounded into centimetres. Such a
// value changes nothing, the object grid stays, and no caption reads INF.
TEST_F(TerMapTest, TypedPositionsBeyondWhatTheTerrainHoldsChangeNothing) {
  terra_.SetRenderMode(TznRenderMode::RWXPreview);
  TfrmTerMap& map = OpenAndShade();
  const int objects = terra_.GetChunkCount();
  Enter(map.edOriginX, "1e39");
  map.edOriginX->setText("50");
  map.edCentreY->setText("-20000000");
  Enter(map.edSideX, "4");
  ASSERT_EQ(prompts_.Messages.size(), 2u);
  EXPECT_EQ(prompts_.Messages[0], "'1e39' is not a valid floating point value (from -10000000.00 to 10000000.00 m)");
  EXPECT_EQ(prompts_.Messages[1],
            "'-20000000' is not a valid floating point value (from -10000000.00 to 10000000.00 m)");
  EXPECT_EQ(terra_.FOrigin, (TVec3{50, 50, 0}));
  EXPECT_EQ(terra_.FSelCentre, (TVec3{50, 50, 0}));
  EXPECT_EQ(terra_.FSideX, 100);
  EXPECT_EQ(terra_.GetChunkCount(), objects);

  // An origin far west: the object grid would start there. With objects of
  // 10 cm, along X the terrain's 10100 cm and the start at -999999990 cm
  // need ceil(1000010090 / 10) + 1 = 100001010 objects, along Y
  // ceil(10100 / 10) + 2 = 1012: more than an int numbers.
  terra_.SetObjectSize(0.1f);
  Enter(map.edOriginX, "-10000000");
  terra_.SetObjectSize(10);
  ASSERT_EQ(prompts_.Messages.size(), 3u);
  EXPECT_EQ(prompts_.Messages[2],
            "Too many objects! The terrain would be cut into up to 101201022120 objects of 0.1 m; "
            "the object grid holds no more than 2147483647.");
  EXPECT_EQ(terra_.FOrigin, (TVec3{50, 50, 0}));

  // Far east the grid still starts at the terrain's edge. The caption is
  // relative to the origin: pixel (40, 10) lies 9999960 m west and 40 m
  // north of it, 130 m high.
  map.edCentreY->setText("50");
  Enter(map.edOriginX, "10000000");
  EXPECT_EQ(prompts_.Messages.size(), 3u);
  EXPECT_EQ(terra_.FOrigin, (TVec3{10000000, 50, 0}));
  EXPECT_EQ(terra_.GetChunkCount(), objects);
  QTest::mouseMove(map.Image1, {40, 10});
  EXPECT_EQ(map.windowTitle(), "4.000n 999996.000w 130.00m (1130.00m)");
}

TEST_F(TerMapTest, TypedPositionsAreReadInOrderUntilOneIsNotANumber) {
  TfrmTerMap& map = OpenAndShade();
  Enter(map.edOriginX, "500");
  EXPECT_EQ(terra_.FOrigin, (TVec3{500, 50, 0}));
  EXPECT_EQ(map.edOriginX->text(), "500.00");

  map.edOriginY->setText("20.5");
  map.edCentreX->setText("x");
  map.edSideX->setText("7");
  Enter(map.edSideY, "9");
  ASSERT_EQ(prompts_.Messages.size(), 1u);
  EXPECT_EQ(prompts_.Messages[0], "'x' is not a valid floating point value");
  EXPECT_EQ(terra_.FOrigin, (TVec3{500, 20.5f, 0}));
  EXPECT_EQ(terra_.FSelCentre.x, 50);
  EXPECT_EQ(terra_.FSideX, 100);
  EXPECT_EQ(map.edSideX->text(), "7");

  Enter(map.edCentreX, "10.004");
  EXPECT_EQ(map.edCentreX->text(), "10.00");
  EXPECT_EQ(terra_.FSelCentre, (TVec3{10, 50, 0}));
  EXPECT_EQ(terra_.FSideX, 7);
  EXPECT_EQ(terra_.FSideY, 9);
}

TEST_F(TerMapTest, CaptionFollowsTheMouse) {
  TfrmTerMap& map = OpenAndShade();
  // Pixel (30, 20): 30 m east and 80 m north, 110 m high; relative to the
  // origin at (50, 50, 0): 20 m west is 2 "w", 30 m north is 3 "n". The
  // water lies at -1000 stored units, -1000 m.
  QTest::mouseMove(map.Image1, {30, 20});
  EXPECT_EQ(map.windowTitle(), "3.000n 2.000w 110.00m (1110.00m)");
  map.CoordsButtons->button(0)->click();
  EXPECT_EQ(map.windowTitle(), "8.000n 3.000e 110.00m (1110.00m)");
}

TEST_F(TerMapTest, MenuOpensSceneAndScaleButNotScaleWhileShading) {
  TfrmTerMap& map = Open();
  int scaled = 0;
  map.OnScale = [&] { ++scaled; };
  map.RefreshMap();
  EXPECT_FALSE(map.mnuScale->isEnabled());
  WaitForMapWindow();
  EXPECT_TRUE(map.mnuScale->isEnabled());
  map.mnuScale->trigger();
  EXPECT_EQ(scaled, 1);
  map.mnuShowGL->trigger();
  EXPECT_EQ(scene_shown_, 2);
}

TEST_F(TerMapTest, ResetButtonsRestoreOriginAndSelection) {
  TfrmTerMap& map = OpenAndShade();
  terra_.SetOrigin(TVec3{3, 4, 5});
  terra_.SetSideX(1);
  map.btResetOrigin->click();
  map.btResetSelection->click();
  EXPECT_EQ(terra_.FOrigin, (TVec3{50, 50, 0}));
  EXPECT_EQ(terra_.FSideX, 100);
  EXPECT_EQ(map.edOriginX->text(), "50.00");
  EXPECT_EQ(map.edSideX->text(), "100.00");
}

TEST_F(TerMapTest, RenderModeAndCoordinateChoicesReachTheTerrain) {
  TfrmTerMap& map = OpenAndShade();
  EXPECT_TRUE(terra_.FRelative);
  EXPECT_EQ(map.CoordsButtons->checkedId(), 1);
  map.CoordsButtons->button(0)->click();
  EXPECT_FALSE(terra_.FRelative);

  terra_.SetRenderMode(TznRenderMode::RWXTexture);
  map.SyncRenderMode();
  EXPECT_EQ(map.RenderModeButtons->checkedId(), 2);

  const int shown = scene_shown_;
  map.RenderModeButtons->button(1)->click();
  EXPECT_EQ(terra_.FRenderMode, TznRenderMode::RWXPreview);
  EXPECT_EQ(scene_shown_, shown);  // only "Show Scene" opens the preview
  EXPECT_GT(terra_.GetChunkCount(), 0);
}

TEST_F(TerMapTest, PositionAndSizeComeFromTheSettingsAndGoBackAtClose) {
  terra_.Clear();  // no map to make the window grow
  TznIniFile ini(settings_);
  ini.WriteInteger("MainForm", "Left", 7);
  ini.WriteInteger("Map", "Left", 10);
  ini.WriteInteger("Map", "Top", 20);
  ini.WriteInteger("Map", "Width", 500);
  ini.WriteInteger("Map", "Height", 600);
  ini.UpdateFile();
  TfrmTerMap& map = Open();
  // Left and Top are where the client area begins, inside the frame.
  EXPECT_EQ(map.geometry(), QRect(10, 20, 500, 600));
  map.setGeometry(30, 40, 470, 540);
  map.close();
  const TznIniFile written(settings_);
  EXPECT_EQ(written.ReadInteger("Map", "Left", 0), 30);
  EXPECT_EQ(written.ReadInteger("Map", "Top", 0), 40);
  EXPECT_EQ(written.ReadInteger("Map", "Width", 0), 470);
  EXPECT_EQ(written.ReadInteger("Map", "Height", 0), 540);
  EXPECT_EQ(written.ReadInteger("MainForm", "Left", 0), 7);
}

TEST_F(TerMapTest, DefaultsWithoutSettings) {
  terra_.Clear();
  TfrmTerMap& map = Open();
  EXPECT_EQ(map.geometry(), QRect(50, 50, 458, 526));
}

TEST_F(TerMapTest, ZoomByWheelAndKeysAndCtrlClicksAtZoomedPixels) {
  // 101 x 101 points 3 m apart: the 10 m objects' boundaries lie 3.33
  // pixels apart at 1x, 6.67 at 2x. The origin (150, 150) is point 50.
  test::FillTerra(terra_, 101, 101, 3, [](int i, int j) { return static_cast<int16_t>(i + j); });
  TfrmTerMap& map = OpenAsIs();
  map.RefreshMap();
  WaitForMapWindow();
  // It opens at the zoom that fits the screen and shows the whole map.
  const int opened = map.Image1->width() / 101;
  EXPECT_EQ(map.lbZoom->text(), QString("Zoom %1x").arg(opened));
  EXPECT_EQ(map.Image1->size(), QSize(101, 101) * opened);
  EXPECT_TRUE(map.screen()->availableGeometry().contains(map.frameGeometry()));
  EXPECT_EQ(map.ScrollBox1->viewport()->size(), map.Image1->size());

  auto yellow_in_column = [this](int x) {
    const QImage shown = Shown();
    int count = 0;
    for (int y = 0; y < shown.height(); ++y) count += shown.pixel(x, y) == qRgb(255, 255, 0);
    return count;
  };
  for (int i = 0; i < 8; ++i) Key(Qt::Key_Minus);  // no further than 1x
  EXPECT_EQ(map.lbZoom->text(), "Zoom 1x");
  EXPECT_EQ(map.Image1->size(), QSize(101, 101));
  // Boundary Round((150 + 10) / 3) = 53 is not drawn at 1x; the origin is.
  EXPECT_EQ(yellow_in_column(53), 0);
  EXPECT_EQ(Shown().pixel(50, 20), qRgb(255, 128, 0));

  Wheel({53, 20}, 1, Qt::ControlModifier);
  EXPECT_EQ(map.lbZoom->text(), "Zoom 2x");
  EXPECT_EQ(map.Image1->size(), QSize(202, 202));
  EXPECT_GT(yellow_in_column(2 * 53 + 1), 0);  // now drawn, through the middle of point 53
  EXPECT_EQ(Shown().pixel(2 * 50 + 1, 40), qRgb(255, 128, 0));
  Wheel({53, 20}, 1, Qt::NoModifier);  // scrolls, does not zoom
  EXPECT_EQ(map.Image1->size(), QSize(202, 202));

  Key(Qt::Key_Plus);
  Key(Qt::Key_Plus);
  EXPECT_EQ(map.lbZoom->text(), "Zoom 4x");
  // Pixel (123, 81) at 4x is point (30, 20): 90 m east and (101 - 20 - 1)
  // * 3 = 240 m north.
  Click(Qt::LeftButton, Qt::ControlModifier, {123, 81});
  EXPECT_EQ(terra_.FSelCentre, (TVec3{90, 240, 0}));
  EXPECT_EQ(map.edCentreX->text(), "90.00");
  EXPECT_EQ(map.edCentreY->text(), "240.00");
  // Pixel (49, 403) is point (12, 100): the origin goes to 36 m east, 0 m
  // north, and its line to screen column 12 * 4 + 2.
  Click(Qt::RightButton, Qt::ControlModifier, {49, 403});
  EXPECT_EQ(terra_.FOrigin, (TVec3{36, 0, 0}));
  EXPECT_EQ(map.edOriginX->text(), "36.00");
  EXPECT_EQ(Shown().pixel(50, 200), qRgb(255, 128, 0));
  EXPECT_NE(Shown().pixel(49, 200), qRgb(255, 128, 0));
  // The caption names point (30, 20) relative to the origin: 240 m north
  // is 24.000n, 54 m east is 5.400e; 110 m high, water at -1000 m.
  QTest::mouseMove(map.Image1, {123, 81});
  EXPECT_EQ(map.windowTitle(), "24.000n 5.400e 110.00m (1110.00m)");

  // While the map is shaded again the zoom still changes, and the new
  // picture comes at it.
  Enter(map.edWater, "20");
  ASSERT_TRUE(map.Busy());
  Key(Qt::Key_Minus);
  WaitForMapWindow();
  EXPECT_EQ(map.lbZoom->text(), "Zoom 3x");
  EXPECT_EQ(map.Image1->size(), QSize(303, 303));
  EXPECT_TRUE(prompts_.Messages.empty());
}

TEST_F(TerMapTest, ClosingWhileShadingEndsTheThreadAndForgetsTheWindow) {
  // A large map, so that the thread is still shading when the window closes.
  test::FillTerra(terra_, 2001, 2001, 0.5f, [](int i, int j) { return static_cast<int16_t>(i - j); });
  TfrmTerMap& map = Open();
  int closing = 0;
  map.OnClosing = [&] { ++closing; };
  map.RefreshMap();
  ASSERT_TRUE(map.Busy());
  map.setWindowTitle("closing");
  EXPECT_TRUE(map.close());
  EXPECT_EQ(closing, 1);
  EXPECT_EQ(frmTerMap, nullptr);
  EXPECT_FALSE(map.Busy());
  // The completion is not delivered: nothing repaints the closed window
  // before it goes.
  QCoreApplication::processEvents();
  if (window_) {
    EXPECT_EQ(window_->windowTitle(), "closing");
  }
  FlushDeletes();
  EXPECT_TRUE(window_.isNull());
  EXPECT_TRUE(prompts_.Messages.empty());
  EXPECT_TRUE(std::filesystem::exists(settings_));
  WaitForMapWindow();  // returns at once without a map window
}
