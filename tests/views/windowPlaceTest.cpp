// Where windows go on a desktop of two screens side by side: A at the left
// (1280 x 1024), B at its right (1920 x 1080).
#include <gtest/gtest.h>

#include <vector>

#include "views/znWindowPlace.h"

namespace {

const std::vector<QRect> kScreens = {QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)};

}  // namespace

TEST(WindowPlace, SavedFramesComeBackOntoTheNearestScreen) {
  EXPECT_EQ(FitOnScreen(QRect(100, 100, 300, 200), kScreens), QRect(100, 100, 300, 200));
  // Far right and above: B is nearest; its right edge 3200 - 600, its top.
  EXPECT_EQ(FitOnScreen(QRect(5000, -3000, 600, 400), kScreens), QRect(2600, 0, 600, 400));
  // Mostly on A (1280 x 974 against 620 x 1030 on B): shrunk to A's size.
  EXPECT_EQ(FitOnScreen(QRect(-100, 50, 2000, 1200), kScreens), QRect(0, 0, 1280, 1024));
  // Mostly on B (320 pixels across against 80): moved onto it.
  EXPECT_EQ(FitOnScreen(QRect(1200, 100, 400, 300), kScreens), QRect(1280, 100, 400, 300));
  EXPECT_EQ(FitOnScreen(QRect(5000, 0, 10, 10), {}), QRect(5000, 0, 10, 10));  // no screen known
}

TEST(WindowPlace, AWindowWithoutSavedPlaceOpensBesideItsOpener) {
  // Right of the opener, tops in line.
  EXPECT_EQ(BesideOpener(QRect(0, 0, 600, 400), QSize(460, 530), kScreens), QRect(600, 0, 460, 530));
  // No room on the right of A: left of the opener.
  EXPECT_EQ(BesideOpener(QRect(700, 0, 600, 400), QSize(460, 530), kScreens), QRect(240, 0, 460, 530));
  // Room on neither side nor below: the right place, moved into A.
  EXPECT_EQ(BesideOpener(QRect(300, 0, 700, 600), QSize(460, 530), kScreens), QRect(820, 0, 460, 530));
  // The preview beside a 560 x 790 map right of a 600 x 400 main window:
  // not right of the map (1160 + 459 > 1280), not left of it over the main
  // window, not below it (790 + 413 > 1024), not right of the main window
  // over the map, but below the main window.
  EXPECT_EQ(BesideOpener(QRect(600, 0, 560, 790), QSize(459, 413), kScreens, {QRect(0, 0, 600, 400)}),
            QRect(0, 400, 459, 413));
}
