#include <gtest/gtest.h>

#include <QApplication>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include "support/qtApp.h"

#include <string>
#include <vector>

#include "support/commaLocale.h"
#include "support/terFiles.h"
#include "terrain/znTerra.h"
#include "views/untLightPosition.h"
#include "views/untScaleIt.h"
#include "views/znLightSettings.h"
#include "views/znScriptedPrompts.h"

namespace {

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

void Type(QLineEdit* edit, const char* text) {
  edit->clear();
  QTest::keyClicks(edit, text);
}

// Loads an nx x ny terrain whose stored height at (i, j) is i + j + 100.
void LoadTerrain(TznTerra& terra, int nx, int ny, float scale) {
  test::TerFile(nx, ny, scale, [](int i, int j) {
    return static_cast<int16_t>((i + j + 100) * 10);
  }).Save("dialogs.ter");
  terra.LoadFromFile("dialogs.ter");
}

// ---------------------------------------------------------------- light

TEST(LightRules, BrightnessIsAGreyRoundedHalfToEven) {
  EXPECT_EQ(ColorFromBrightness(100), 0xFFFFFFu);
  EXPECT_EQ(ColorFromBrightness(50), 0x808080u);  // 127.5 -> 128
  EXPECT_EQ(ColorFromBrightness(30), 0x4C4C4Cu);  // 76.5 -> 76
  EXPECT_EQ(ColorFromBrightness(0), 0x000000u);
  EXPECT_EQ(BrightnessFromColor(0x0000C8), 78);  // red 200
  EXPECT_EQ(BrightnessFromColor(0xC80000), 0);   // blue is not red
  EXPECT_EQ(BrightnessCaption(40), "Brightness 40%");
}

TEST(LightRules, AnglesAreTrimmedPointDecimalsThatFitAFloat) {
  test::CommaLocale comma;
  EXPECT_EQ(ParseAngle("  -90 "), -90.0);
  EXPECT_EQ(ParseAngle("12.5"), 12.5);
  EXPECT_FALSE(ParseAngle("12,5"));
  EXPECT_FALSE(ParseAngle(""));
  EXPECT_FALSE(ParseAngle("1e39"));
  EXPECT_EQ(FormatAngle(225), "225.0");
}

class LightDialog : public ::testing::Test {
 protected:
  void SetUp() override { test::App(); }
  TznTerra terra_;
  TznScriptedPrompts prompts_;
};

TEST_F(LightDialog, OpensWithTheTerrainsSun) {
  terra_.SetColor(0x0000C8);
  TfrmLightPosition dialog(terra_, prompts_);
  EXPECT_EQ(dialog.windowTitle(), "light");
  EXPECT_EQ(Text(dialog.edAzimuth), "225.0");
  EXPECT_EQ(Text(dialog.edAltitude), "60.0");
  EXPECT_EQ(dialog.tbBrightness->value(), 78);
  EXPECT_EQ(dialog.lbBrightness->text(), "Brightness 78%");
  EXPECT_EQ(dialog.Label1->text(), "Azimuth N to W");
  EXPECT_EQ(dialog.Button1->text(), "ok");
}

TEST_F(LightDialog, OkWritesTheSunAndTheGreyBack) {
  TfrmLightPosition dialog(terra_, prompts_);
  dialog.show();
  Type(dialog.edAzimuth, " -90 ");
  Type(dialog.edAltitude, "12.5  ");
  dialog.tbBrightness->setValue(50);
  QTest::mouseClick(dialog.Button1, Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FLOAT_EQ(terra_.GetLightAzimuth(), 270.0f);
  EXPECT_FLOAT_EQ(terra_.GetLightElevation(), 12.5f);
  EXPECT_EQ(terra_.FColor, 0x808080u);
  EXPECT_TRUE(prompts_.Messages.empty());
}

TEST_F(LightDialog, BadNumberKeepsTheDialogOpenAndTheTerrainAsItWas) {
  TfrmLightPosition dialog(terra_, prompts_);
  dialog.show();
  Type(dialog.edAltitude, "high");
  dialog.tbBrightness->setValue(100);
  QTest::mouseClick(dialog.Button1, Qt::LeftButton);
  EXPECT_EQ(prompts_.Messages, std::vector<std::string>{"Error in input!"});
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FLOAT_EQ(terra_.GetLightAzimuth(), 225.0f);
  EXPECT_EQ(terra_.FColor, 0xC0C0C0u);

  Type(dialog.edAltitude, "45");
  QTest::mouseClick(dialog.Button1, Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FLOAT_EQ(terra_.GetLightElevation(), 45.0f);
  EXPECT_EQ(terra_.FColor, 0xFFFFFFu);
}

TEST_F(LightDialog, CloseBoxChangesNothing) {
  TfrmLightPosition dialog(terra_, prompts_);
  dialog.show();
  Type(dialog.edAzimuth, "10");
  dialog.tbBrightness->setValue(0);
  dialog.close();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FLOAT_EQ(terra_.GetLightAzimuth(), 225.0f);
  EXPECT_EQ(terra_.FColor, 0xC0C0C0u);
}

TEST_F(LightDialog, RunReportsWhetherTheValuesWereApplied) {
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<TfrmLightPosition*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->tbBrightness->setValue(0);
    dialog->Button1->click();
  });
  EXPECT_TRUE(RunLightPositionDialog(nullptr, terra_, prompts_));
  EXPECT_EQ(terra_.FColor, 0u);

  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  EXPECT_FALSE(RunLightPositionDialog(nullptr, terra_, prompts_));
}

// ---------------------------------------------------------------- scale

class ScaleDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    test::App();
    // 257 x 257 at scale 30 is cut down to 3.90625 m on all three scales;
    // stored heights run from 100 to 612.
    LoadTerrain(terra_, 257, 257, 30);
    hooks_.UpdateTerrainComposer = [this] { calls_.push_back("composer"); };
    hooks_.UpdateStatusBars = [this] { calls_.push_back("status"); };
    hooks_.RefreshMap = [this] { calls_.push_back("map"); };
  }

  void ExpectUnchanged() const {
    EXPECT_FLOAT_EQ(terra_.FScaleX, 3.90625f);
    EXPECT_FLOAT_EQ(terra_.FScaleY, 3.90625f);
    EXPECT_FLOAT_EQ(terra_.FScaleZ, 3.90625f);
    EXPECT_EQ(terra_.FLowest, 100);
    EXPECT_EQ(terra_.FHighest, 612);
    EXPECT_TRUE(calls_.empty());
  }

  TznTerra terra_;
  TznScriptedPrompts prompts_;
  TznScaleHooks hooks_;
  std::vector<std::string> calls_;
};

TEST_F(ScaleDialog, HalvingTheEdgeKeepsTheAspectAndHalvesEveryScale) {
  TfrmScaleIt dialog(terra_, prompts_, hooks_);
  EXPECT_EQ(dialog.windowTitle(), "scale map");
  EXPECT_EQ(Text(dialog.edScaleX), "1000.00");
  EXPECT_EQ(Text(dialog.edScaleY), "1000.00");
  EXPECT_EQ(Text(dialog.edHigh), "23.91");  // 612 * 3.90625 / 100
  EXPECT_EQ(Text(dialog.edLow), "3.91");

  Type(dialog.edScaleX, "500");
  QTest::mouseClick(dialog.btTest, Qt::LeftButton);
  EXPECT_EQ(Text(dialog.edScaleX), "500.00");
  EXPECT_EQ(Text(dialog.edScaleY), "500.00");
  EXPECT_EQ(Text(dialog.edHigh), "11.95");
  EXPECT_EQ(Text(dialog.edLow), "1.95");
  ExpectUnchanged();

  QTest::mouseClick(dialog.btAccept, Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FLOAT_EQ(terra_.FScaleX, 1.953125f);
  EXPECT_FLOAT_EQ(terra_.FScaleY, 1.953125f);
  EXPECT_FLOAT_EQ(terra_.FScaleZ, 1.953125f);
  EXPECT_EQ(terra_.FLowest, 100);
  EXPECT_EQ(terra_.FOrigin, MakeVector3f(250, 250, 0));
  EXPECT_FLOAT_EQ(terra_.FSideX, 500);
  EXPECT_EQ(calls_, (std::vector<std::string>{"composer", "status", "map"}));
  EXPECT_TRUE(prompts_.Messages.empty());
}

TEST_F(ScaleDialog, EitherEdgeDrivesAndTheOtherFollowsTheAspect) {
  // 129 x 65 points at 2 m: 256 m by 128 m.
  LoadTerrain(terra_, 129, 65, 2);
  TfrmScaleIt dialog(terra_, prompts_, hooks_);
  EXPECT_TRUE(dialog.edScaleX->isEnabled());
  EXPECT_FALSE(dialog.edScaleY->isEnabled());
  Type(dialog.edScaleX, "512");
  EXPECT_TRUE(dialog.CheckValues());
  EXPECT_EQ(Text(dialog.edScaleY), "256.00");

  QTest::mouseClick(dialog.btScaleY, Qt::LeftButton);
  EXPECT_TRUE(dialog.DriveY());
  EXPECT_FALSE(dialog.edScaleX->isEnabled());
  EXPECT_TRUE(dialog.edScaleY->isEnabled());
  Type(dialog.edScaleY, "64");
  QTest::mouseClick(dialog.btAccept, Qt::LeftButton);
  EXPECT_EQ(Text(dialog.edScaleX), "128.00");
  EXPECT_FLOAT_EQ(terra_.FScaleX, 1.0f);
  EXPECT_FLOAT_EQ(terra_.FScaleY, 1.0f);
  EXPECT_FLOAT_EQ(terra_.FScaleZ, 1.0f);  // (1 + 1) / (2 + 2) * 2
}

TEST_F(ScaleDialog, AltitudeItemsOpenTheirEdits) {
  TfrmScaleIt dialog(terra_, prompts_, hooks_);
  EXPECT_FALSE(dialog.edHigh->isEnabled());
  EXPECT_FALSE(dialog.edLow->isEnabled());
  dialog.SetAltitudeIndex(1);
  EXPECT_TRUE(dialog.edHigh->isEnabled() && dialog.btHigh->isEnabled());
  EXPECT_TRUE(dialog.edLow->isEnabled() && dialog.btLow->isEnabled());
  dialog.SetAltitudeIndex(2);
  EXPECT_FALSE(dialog.edHigh->isEnabled() || dialog.btHigh->isEnabled());
  EXPECT_TRUE(dialog.edLow->isEnabled());

  TznScaleOptions options;
  options.Altitude = TznAltitudeRule::EditHighLow;
  TznScaleEnabling flat = ScaleEnabling(options, false);
  EXPECT_FALSE(flat.HighEdit || flat.HighButton);
  EXPECT_TRUE(flat.LowEdit && flat.LowButton);
  options.KeepAspect = false;
  TznScaleEnabling free_edges = ScaleEnabling(options, true);
  EXPECT_TRUE(free_edges.ScaleXEdit && free_edges.ScaleYEdit);
  EXPECT_FALSE(free_edges.ScaleXButton || free_edges.ScaleYButton);
}

TEST_F(ScaleDialog, LowestPointMovedToZeroKeepsTheRange) {
  TfrmScaleIt dialog(terra_, prompts_, hooks_);
  dialog.SetAltitudeIndex(2);
  Type(dialog.edLow, " 5 ");
  QTest::mouseClick(dialog.btTest, Qt::LeftButton);
  EXPECT_EQ(Text(dialog.edLow), "5.00");
  EXPECT_EQ(Text(dialog.edHigh), "25.00");  // (512 + 128) * 3.90625 / 100

  Type(dialog.edLow, "0");
  QTest::mouseClick(dialog.btAccept, Qt::LeftButton);
  EXPECT_EQ(Text(dialog.edHigh), "20.00");
  EXPECT_EQ(terra_.FLowest, 0);
  EXPECT_EQ(terra_.FHighest, 512);
  EXPECT_EQ(terra_.GetHeight(10, 20), 30);
  EXPECT_FLOAT_EQ(terra_.FScaleZ, 3.90625f);
}

TEST_F(ScaleDialog, HighestBelowLowestSwapsTheTexts) {
  TfrmScaleIt dialog(terra_, prompts_, hooks_);
  dialog.SetAltitudeIndex(1);
  Type(dialog.edHigh, "10");
  Type(dialog.edLow, "50");
  QTest::mouseClick(dialog.btAccept, Qt::LeftButton);
  EXPECT_EQ(Text(dialog.edHigh), "50.00");
  EXPECT_EQ(Text(dialog.edLow), "10.00");
  // 40 m over 512 stored units; lowest at 10 m = 128 stored units.
  EXPECT_FLOAT_EQ(terra_.FScaleZ, 7.8125f);
  EXPECT_EQ(terra_.FLowest, 128);
  EXPECT_EQ(terra_.FHighest, 640);
  EXPECT_FLOAT_EQ(terra_.FScaleX, 3.90625f);
}

TEST_F(ScaleDialog, BadValuesRestoreTheLastGoodTextsAndChangeNothing) {
  TfrmScaleIt dialog(terra_, prompts_, hooks_);
  dialog.show();
  Type(dialog.edScaleX, "800");
  ASSERT_TRUE(dialog.CheckValues());
  Type(dialog.edScaleX, "12a");
  QTest::mouseClick(dialog.btAccept, Qt::LeftButton);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(Text(dialog.edScaleX), "800.00");
  EXPECT_EQ(Text(dialog.edScaleY), "800.00");

  Type(dialog.edScaleX, "0");
  EXPECT_FALSE(dialog.CheckValues());
  dialog.SetAltitudeIndex(1);
  Type(dialog.edHigh, "7");
  Type(dialog.edLow, "7");
  EXPECT_FALSE(dialog.CheckValues());
  dialog.SetAltitudeIndex(2);
  Type(dialog.edLow, "2000");  // 51200 stored units: past the 16-bit heights
  EXPECT_FALSE(dialog.CheckValues());
  // The last good text: 100 * 3.125 / 100 = 3.125 exactly, "%.2f" ties to even.
  EXPECT_EQ(Text(dialog.edLow), "3.12");

  ASSERT_EQ(prompts_.Messages.size(), 4u);
  EXPECT_EQ(prompts_.Messages[0], "'12a' is not a valid floating point value");
  EXPECT_EQ(prompts_.Messages[1], "The edges of the map must be longer than 0 m");
  EXPECT_EQ(prompts_.Messages[2], "Highest and lowest point must differ");
  // 32767 stored units at the terrain's 3.90625 cm each: 1279.96 m is the
  // most that fits; the lowest point at 2000 m puts the highest at 2020 m.
  EXPECT_EQ(prompts_.Messages[3].rfind("Heights out of range! The highest point would lie at ", 0), 0u);
  EXPECT_NE(prompts_.Messages[3].find("would lie at 2020.00 m; it can lie no higher than 1279.96 m."),
            std::string::npos)
      << prompts_.Messages[3];
  ExpectUnchanged();

  QTest::mouseClick(dialog.btReset, Qt::LeftButton);
  EXPECT_EQ(Text(dialog.edScaleX), "1000.00");
}

// Edges and heights that the object grid, the rounding or the 16-bit
// heights cannot hold are refused with the largest value that fits. With
// 10 m objects an axis of E cm holds at most ceil(E / 1000) + 2 of them, and
// the grid at most 2147483647, what an int numbers: 46340 x 46340 =
// 2147395600 fit, 46341 x 46341 do not, so E may reach 46338000 cm. Extents
// count all 257 points: an edge of 461576.98 m gives the single precision
// scale 1803.0350342 and 257 * 1803.0350342 * 100 = 46338000.4 cm;
// 461576.99 m gives 1803.0351563 and 46338003.5, rounded to even 46338004.
TEST_F(ScaleDialog, EdgesAndHeightsBeyondWhatTheTerrainHoldsAreRefused) {
  TfrmScaleIt dialog(terra_, prompts_, hooks_);
  dialog.show();
  const std::string too_long =
      " objects of 10 m; the object grid holds no more than 2147483647. The horizontal edge can be at most 461576.98 "
      "m.";

  // 30000000 / 256 = 117187.5 m a step; 257 steps make 3011718750 cm, so
  // 3011719 + 2 objects along each axis.
  Type(dialog.edScaleX, "30000000");
  QTest::mouseClick(dialog.btTest, Qt::LeftButton);
  Type(dialog.edScaleX, "1e30");
  QTest::mouseClick(dialog.btAccept, Qt::LeftButton);
  EXPECT_TRUE(dialog.isVisible());
  Type(dialog.edScaleX, "461576.99");
  QTest::mouseClick(dialog.btTest, Qt::LeftButton);
  ASSERT_EQ(prompts_.Messages.size(), 3u);
  EXPECT_EQ(prompts_.Messages[0], "Edges out of range! The terrain would be cut into up to 9070463381841" + too_long);
  // 1e30 m: (257 / 256 * 1e30 * 100 / 1000)^2 = 1.00783e58 objects.
  EXPECT_EQ(prompts_.Messages[1], "Edges out of range! The terrain would be cut into up to 1.00783e+58" + too_long);
  EXPECT_EQ(prompts_.Messages[2], "Edges out of range! The terrain would be cut into up to 2147488281" + too_long);
  EXPECT_EQ(Text(dialog.edScaleX), "1000.00");
  EXPECT_EQ(Text(dialog.edScaleY), "1000.00");
  ExpectUnchanged();

  // Heights typed beyond ten thousand kilometres, either way.
  dialog.SetAltitudeIndex(1);
  Type(dialog.edHigh, "1e30");
  Type(dialog.edLow, "0");
  QTest::mouseClick(dialog.btTest, Qt::LeftButton);
  Type(dialog.edHigh, "5");
  Type(dialog.edLow, "-20000000");
  QTest::mouseClick(dialog.btTest, Qt::LeftButton);
  ASSERT_EQ(prompts_.Messages.size(), 5u);
  EXPECT_EQ(prompts_.Messages[3],
            "Heights out of range! The highest point would lie at 1000000000000000019884624838656.00 m; it can lie no "
            "higher than 10000000.00 m.");
  EXPECT_EQ(prompts_.Messages[4],
            "Heights out of range! The lowest point would lie at -20000000.00 m; it can lie no lower than "
            "-10000000.00 m.");
  ExpectUnchanged();

  // The largest edge itself is taken, and the heights follow it.
  dialog.SetAltitudeIndex(0);
  Type(dialog.edScaleX, "461576.98");
  QTest::mouseClick(dialog.btAccept, Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(prompts_.Messages.size(), 5u);
  EXPECT_EQ(Text(dialog.edScaleY), "461576.97");  // 256 steps of 1803.0350342 m: 461576.96875
  EXPECT_FLOAT_EQ(terra_.FScaleX, 1803.0350342f);
  EXPECT_FLOAT_EQ(terra_.FScaleZ, 1803.0350342f);
  EXPECT_EQ(terra_.MostRWXObjects(terra_.FOrigin, terra_.FScaleX, terra_.FScaleY, 10), 2147395600);
}

TEST_F(ScaleDialog, CancelAndCloseBoxLeaveTheTerrainAlone) {
  TfrmScaleIt dialog(terra_, prompts_, hooks_);
  dialog.show();
  Type(dialog.edScaleX, "100");
  QTest::mouseClick(dialog.btTest, Qt::LeftButton);
  QTest::mouseClick(dialog.btCancel, Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  ExpectUnchanged();

  dialog.show();
  dialog.close();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  ExpectUnchanged();
}

TEST_F(ScaleDialog, ApplyScalesOriginSelectionAndViewerAxisByAxis) {
  terra_.SetOrigin(MakeVector3f(100, 200, 30));
  terra_.SetSelectionCentre(MakeVector3f(300, 400, 50));
  terra_.SetSideX(60);
  terra_.SetSideY(80);
  terra_.FViewer.SetXYZ(100, 40, -200);
  TznScaleValues values;
  values.NewScaleX = 7.8125f;    // x 2
  values.NewScaleY = 11.71875f;  // x 3
  values.NewScaleZ = 1.953125f;  // x 0.5
  values.Shift = -100;
  ApplyScaleValues(terra_, values);
  EXPECT_EQ(terra_.FOrigin, MakeVector3f(200, 600, 15));
  EXPECT_EQ(terra_.FSelCentre, MakeVector3f(600, 1200, 25));
  EXPECT_FLOAT_EQ(terra_.FSideX, 120);
  EXPECT_FLOAT_EQ(terra_.FSideY, 240);
  EXPECT_FLOAT_EQ(terra_.FViewer.GetX(), 200);
  EXPECT_FLOAT_EQ(terra_.FViewer.GetY(), 20);
  EXPECT_FLOAT_EQ(terra_.FViewer.GetZ(), -600);
  EXPECT_EQ(terra_.FLowest, 0);
  EXPECT_EQ(terra_.FHighest, 512);
}

}  // namespace
