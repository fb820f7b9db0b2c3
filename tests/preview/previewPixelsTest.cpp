// The snapshot tool draws the preview window's frame: for the same terrain,
// view and size, its picture and the window's frame have the same pixels.
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

#include "base/znFormat.h"
#include "previewWindow.h"
#include "support/testFiles.h"

namespace {

using test::PreviewWindowTest;

int RunSnapshot(const std::string& arguments) {
  const std::string command = std::string(KALVOR_SNAPSHOT) + " " + arguments + " > out.txt 2> err.txt";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Rows of RGB bytes; alpha plays no part in what the user sees.
std::vector<uint8_t> RGB(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  std::vector<uint8_t> bytes;
  for (int y = 0; y < rgb.height(); ++y)
    bytes.insert(bytes.end(), rgb.constScanLine(y), rgb.constScanLine(y) + rgb.width() * 3);
  return bytes;
}

size_t DifferentPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  size_t count = 0;
  for (size_t i = 0; i + 2 < a.size() && i + 2 < b.size(); i += 3)
    if (a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2]) ++count;
  return count;
}

size_t CountPixels(const std::vector<uint8_t>& rgb, const std::function<bool(int, int, int)>& test) {
  size_t count = 0;
  for (size_t i = 0; i + 2 < rgb.size(); i += 3)
    if (test(rgb[i], rgb[i + 1], rgb[i + 2])) ++count;
  return count;
}

int LargestDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  int largest = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) largest = std::max(largest, std::abs(a[i] - b[i]));
  return largest;
}

}  // namespace

TEST_F(PreviewWindowTest, TheSnapshotIsTheWindowsFrame) {
  // Water about 6 m up in the valley south-east of the origin; the viewer
  // 5 m north and 5 m west of the origin looking south-east over the marker
  // and down to the water.
  const int16_t water = static_cast<int16_t>(600 / terra.FScaleZ);
  terra.SetWaterLevel(water);
  terra.SetViewDistance(50);
  if (!Open()) GTEST_SKIP() << "no display with OpenGL";
  for (const int mode : {0, 1}) {
    SCOPED_TRACE("mode " + std::to_string(mode));
    const std::string png = "snapshot" + std::to_string(mode) + ".png";
    ASSERT_EQ(RunSnapshot(std::string(KALVOR_SAMPLES_DIR) + "/valley.ter " + png + " --size 160x120 --mode " +
                          std::to_string(mode) + " --viewer 5,5,12,225 --pitch -15 --view-distance 50 --water " +
                          FormatFixed(terra.Metres(water), 6)),
              0)
        << test::ReadFile("err.txt");
    EXPECT_EQ(test::ReadFile("err.txt"), "");
    const QImage snapshot(QString::fromStdString(png));
    ASSERT_EQ(snapshot.size(), QSize(160, 120));

    terra.SetRenderMode(RenderModeOfNumber(mode).value());
    PlaceViewer(5, 5, 12, 225, -15);
    const QImage frame = Grab();
    ASSERT_EQ(frame.size(), QSize(160, 120));
    const std::vector<uint8_t> expected = RGB(snapshot);
    const std::vector<uint8_t> shown = RGB(frame);
    ASSERT_EQ(expected.size(), shown.size());
    EXPECT_EQ(LargestDifference(expected, shown), 0);
    EXPECT_EQ(DifferentPixels(expected, shown), 0u);
    // The picture holds the red pole of the marker and the green water
    // plane (fogged towards the blue sky).
    EXPECT_GT(CountPixels(expected, [](int r, int g, int b) { return r > 200 && g < 40 && b < 40; }), 50u);
    EXPECT_GT(CountPixels(expected, [](int r, int g, int b) { return r < 40 && g > 60 && b < 250; }), 50u);
  }
}
