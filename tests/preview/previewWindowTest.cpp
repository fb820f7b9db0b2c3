#include <GL/gl.h>

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include <fstream>
#include <vector>

#include "base/znIniFile.h"
#include "previewWindow.h"
#include "rwx/znRWXChunkCentral.h"
#include "support/testFiles.h"
#include "views/znDebugLog.h"

namespace {

using test::PreviewWindowTest;

void SendKey(QWidget& widget, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers) {
  QKeyEvent event(type, key, modifiers);
  QCoreApplication::sendEvent(&widget, &event);
}

QAction& Item(TfrmTerGL& window, const char* name) {
  auto* item = window.findChild<QAction*>(name);
  if (!item) throw std::runtime_error(std::string("no item ") + name);
  return *item;
}

std::vector<std::string> Checked(TfrmTerGL& window, std::initializer_list<const char*> names) {
  std::vector<std::string> checked;
  for (const char* name : names)
    if (Item(window, name).isChecked()) checked.push_back(name);
  return checked;
}

std::vector<std::string> CheckedModes(TfrmTerGL& window) {
  return Checked(window, {"mnuTerragen", "mnuRWXPreview", "mnuRWXTexture"});
}

std::vector<std::string> CheckedVisibility(TfrmTerGL& window) {
  return Checked(window, {"mnu20m", "mnu30m", "mnu40m", "mnu50m", "mnu60m", "mnu70m", "mnu80m", "mnu90m", "mnu100m",
                          "mnu110m", "mnu120m", "mnuMaxM"});
}

// Records the debug log's lines while it lives; leaves the log as it found it.
struct DebugLines {
  std::vector<std::string> lines;
  explicit DebugLines(bool debug) {
    TznDebugLog::Instance().SetDebugMode(debug);
    TznDebugLog::Instance().SetAppender([this](const std::string& line, bool) { lines.push_back(line); });
  }
  ~DebugLines() {
    TznDebugLog::Instance().SetDebugMode(false);
    TznDebugLog::Instance().SetAppender(nullptr);
  }
};

}  // namespace

TEST_F(PreviewWindowTest, ClicksNameTheMarkerTheWaterAndTheObjectsAndTheSkyClearsAll) {
  terra.SetRenderMode(TznRenderMode::RWXPreview);
  terra.SetWaterLevel(static_cast<int16_t>(terra.GetLowest() - 100));  // under the ground everywhere
  if (!Open()) GTEST_SKIP() << "no display with OpenGL";
  const double top = HighestMetres();

  PlaceViewer(0, 0, top + 150, 0, -90);  // over the origin: the marker's top 50 m below
  Grab();
  ClickCentre();
  EXPECT_EQ(window->PanelText(1), "Object clicked: GZ mark");
  EXPECT_EQ(terra.RWXChunks().SelectedIndex, -1);

  PlaceViewer(30, 0, top + 20, 0, -90);  // over the terrain, away from the marker
  Grab();
  ClickCentre();
  const int selected = terra.RWXChunks().SelectedIndex;
  ASSERT_GE(selected, 0);
  std::string label;
  terra.GetChunkLabel(selected, label);
  EXPECT_EQ(window->PanelText(1).toStdString(), "Object clicked: " + label);

  PlaceViewer(30, 0, top + 20, 0, 90);  // the sky
  Grab();
  ClickCentre();
  EXPECT_EQ(window->PanelText(1), "");
  EXPECT_EQ(terra.RWXChunks().SelectedIndex, -1);

  terra.SetWaterLevel(static_cast<int16_t>(terra.GetHighest() + 100));  // over the whole terrain
  PlaceViewer(30, 0, top + 20, 0, -90);
  Grab();
  ClickCentre();
  EXPECT_EQ(window->PanelText(1), "Object clicked: water");
  EXPECT_EQ(terra.RWXChunks().SelectedIndex, -1);
}

TEST_F(PreviewWindowTest, PopupChecksFollowTheSceneAndTheItemsChangeIt) {
  if (!Open()) GTEST_SKIP() << "no display with OpenGL";
  int mode_changes = 0;
  window->OnRenderModeChanged = [&] { ++mode_changes; };

  window->puScenePopup();
  EXPECT_EQ(CheckedModes(*window), std::vector<std::string>{"mnuTerragen"});
  EXPECT_TRUE(Item(*window, "mnuToggleFog").isChecked());
  EXPECT_TRUE(Item(*window, "mnuToggleAltitudeCheck").isChecked());
  EXPECT_EQ(CheckedVisibility(*window), std::vector<std::string>{"mnu50m"});

  const std::pair<const char*, TznRenderMode> modes[] = {{"mnuRWXTexture", TznRenderMode::RWXTexture},
                                                         {"mnuRWXPreview", TznRenderMode::RWXPreview},
                                                         {"mnuTerragen", TznRenderMode::Terragen}};
  for (const auto& [name, mode] : modes) {
    Item(*window, name).trigger();
    EXPECT_EQ(terra.FRenderMode, mode);
    window->puScenePopup();
    EXPECT_EQ(CheckedModes(*window), std::vector<std::string>{name});
  }
  EXPECT_EQ(mode_changes, 3);

  Item(*window, "mnu120m").trigger();
  EXPECT_EQ(terra.GetViewDistance(), 120);
  Item(*window, "mnuMaxM").trigger();
  EXPECT_EQ(terra.GetViewDistance(), 0);
  Item(*window, "mnu30m").trigger();
  EXPECT_EQ(terra.GetViewDistance(), 30);
  terra.SetViewDistance(10);  // not an item: "maximum" carries the mark
  window->puScenePopup();
  EXPECT_EQ(CheckedVisibility(*window), std::vector<std::string>{"mnuMaxM"});

  Item(*window, "mnuToggleFog").trigger();
  EXPECT_FALSE(window->Reality().Background().GetFog());
  Item(*window, "mnuToggleAltitudeCheck").trigger();
  EXPECT_FALSE(window->AltitudeCheck());
  window->puScenePopup();
  EXPECT_FALSE(Item(*window, "mnuToggleFog").isChecked());
  EXPECT_FALSE(Item(*window, "mnuToggleAltitudeCheck").isChecked());
}

TEST_F(PreviewWindowTest, WithoutAltitudeCheckTheViewerGoesUnderground) {
  if (!Open()) GTEST_SKIP() << "no display with OpenGL";
  const double low = terra.Metres(terra.GetLowest());
  window->mnuToggleAltitudeCheckClick();
  PlaceViewer(0, 0, low - 20, 0, 0);
  Grab();
  EXPECT_FLOAT_EQ(terra.FViewer.GetY(), static_cast<float>(low - 20));
  window->mnuToggleAltitudeCheckClick();
  Grab();
  EXPECT_GE(terra.FViewer.GetY(), static_cast<float>(low + 1.5));
}

TEST_F(PreviewWindowTest, TexturedModeNeverLooksExactlyNorthButShowsZero) {
  terra.SetRenderMode(TznRenderMode::RWXTexture);
  if (!Open()) GTEST_SKIP() << "no display with OpenGL";
  PlaceViewer(0, 0, 10, 0, 0);
  Grab();
  EXPECT_EQ(terra.FViewer.GetYaw(), 0.000001f);
  EXPECT_NE(window->windowTitle().indexOf(QString(" N 0.0\u00B0, pitch 0.0\u00B0  # ")), -1)
      << window->windowTitle().toStdString();
  window->mnuRWXPreviewClick();
  PlaceViewer(0, 0, 10, 0, 0);
  Grab();
  EXPECT_EQ(terra.FViewer.GetYaw(), 0);
}

TEST_F(PreviewWindowTest, TeleportsByCtrlTAndByTheMenuAndRefusesNothing) {
  if (!Open()) GTEST_SKIP() << "no display with OpenGL";
  PlaceViewer(0, 0, 50, 30, 0);
  prompts.InputAnswers = {std::string("1.5n 2e 90"), std::nullopt, std::string("no place")};

  SendKey(window->GLWidget(), QEvent::KeyPress, Qt::Key_T, Qt::ControlModifier);
  ASSERT_EQ(prompts.InputCaptions, std::vector<std::string>{"Teleport|coordinates|"});
  int north, west, up, heading;
  terra.GetViewerCentimetres(terra.FViewer, north, west, up, heading);
  EXPECT_EQ(north, 1500);
  EXPECT_EQ(west, -2000);
  EXPECT_EQ(up, 5000);
  EXPECT_EQ(heading, 900);

  Item(*window, "mnuTeleport").trigger();  // cancelled
  Item(*window, "mnuTeleport").trigger();  // nothing to read
  EXPECT_EQ(prompts.InputCaptions.size(), 3u);
  terra.GetViewerCentimetres(terra.FViewer, north, west, up, heading);
  EXPECT_EQ(north, 1500);
  EXPECT_EQ(west, -2000);
  EXPECT_EQ(up, 5000);
  EXPECT_EQ(heading, 900);
  EXPECT_TRUE(prompts.Messages.empty());
}

TEST_F(PreviewWindowTest, AGLErrorInTexturedModeFallsBackAndLogsOneLinePerErrorWhenDebugIsOn) {
  for (const bool debug : {true, false}) {
    SCOPED_TRACE(debug ? "Debug on" : "Debug off");
    DebugLines log(debug);
    terra.SetRenderMode(TznRenderMode::RWXTexture);
    if (!Open()) GTEST_SKIP() << "no display with OpenGL";
    int mode_changes = 0;
    window->OnRenderModeChanged = [&] { ++mode_changes; };

    window->GLWidget().makeCurrent();
    glEnable(0xFFFF);  // an invalid enumerant, found before the next frame
    Grab();
    EXPECT_EQ(terra.FRenderMode, TznRenderMode::RWXPreview);
    EXPECT_EQ(mode_changes, 1);
    if (debug) {
      ASSERT_EQ(log.lines.size(), 1u);
      EXPECT_EQ(log.lines[0].rfind("Error before OnPrepaint: ", 0), 0u) << log.lines[0];
      EXPECT_GT(log.lines[0].size(), std::string("Error before OnPrepaint: ").size());
    } else {
      EXPECT_TRUE(log.lines.empty());
    }

    window->GLWidget().makeCurrent();
    glLineWidth(-1);  // an invalid value; in "RWX Preview" no mode changes
    Grab();
    EXPECT_EQ(terra.FRenderMode, TznRenderMode::RWXPreview);
    EXPECT_EQ(mode_changes, 1);
    EXPECT_EQ(log.lines.size(), debug ? 2u : 0u);
    if (debug) {
      EXPECT_NE(log.lines[0], log.lines[1]);
    }
    window->close();
  }
}

TEST_F(PreviewWindowTest, TheTimerDrawsOnlyWhatChangedAndNothingWhileTheApplicationIsInactive) {
  if (!Open()) GTEST_SKIP() << "no display with OpenGL";
  window->findChild<QTimer*>("Timer1")->stop();  // ticks come from the test alone
  double now = 2;
  int clock_reads = 0;
  window->Clock = [&] {
    ++clock_reads;
    return now += 0.25 / 86400;  // a quarter of a second per frame
  };
  // Every frame sets the caption: a tick drew one when "idle" is gone.
  auto tick_draws = [&] {
    window->setWindowTitle("idle");
    window->Timer1Timer();
    QCoreApplication::processEvents();
    return window->windowTitle() != "idle";
  };
  for (int settle = 0; settle < 5 && tick_draws(); ++settle) {
  }
  TznGLWidget& gl = window->GLWidget();
  TznGLMyKey& keys = window->Reality().Keys();

  const int reads = clock_reads;
  EXPECT_FALSE(tick_draws());
  EXPECT_FALSE(tick_draws());
  EXPECT_EQ(clock_reads, reads);

  const float north = -terra.FViewer.GetZ();
  QTest::keyPress(&gl, Qt::Key_Up);
  EXPECT_TRUE(tick_draws());
  EXPECT_TRUE(tick_draws());
  EXPECT_EQ(window->PanelText(0), "4.00");  // frames a quarter of a second apart
  QTest::keyRelease(&gl, Qt::Key_Up);
  EXPECT_TRUE(tick_draws());  // the step of the release
  EXPECT_FALSE(tick_draws());
  EXPECT_GT(-terra.FViewer.GetZ(), north);  // yaw 0 looks north

  terra.SetWaterLevel(static_cast<int16_t>(terra.FWaterLevel + 10));
  EXPECT_TRUE(tick_draws());
  EXPECT_FALSE(tick_draws());
  EXPECT_EQ(window->PanelText(0), "4.00");  // one frame after a pause is no rate

  terra.SetRenderMode(TznRenderMode::RWXPreview);  // the last frame counts the objects it drew
  EXPECT_TRUE(tick_draws());
  // Objects still to build ask for more frames.
  for (int more = 0; more < 100 && ObjectsWaiting(terra); ++more) EXPECT_TRUE(tick_draws());
  ASSERT_GT(terra.GetDrawnCount(), 0);
  EXPECT_TRUE(window->windowTitle().endsWith(QString("# %1/%2").arg(terra.GetDrawnCount()).arg(terra.GetChunkCount())))
      << window->windowTitle().toStdString();
  EXPECT_EQ(window->PanelText(2), QString("%1 of %1 objects shown").arg(terra.GetDrawnCount()));
  EXPECT_FALSE(tick_draws());

  inactive = true;
  QTest::keyPress(&gl, Qt::Key_Up);
  ASSERT_TRUE(keys.IsHeld(TznGLMyKey::mvForward));
  const int inactive_reads = clock_reads;
  EXPECT_FALSE(tick_draws());
  EXPECT_FALSE(keys.IsHeld(TznGLMyKey::mvForward));
  EXPECT_EQ(clock_reads, inactive_reads);
  inactive = false;
  EXPECT_FALSE(tick_draws());  // the key was let go where nothing moved
}

TEST_F(PreviewWindowTest, KeepsItsBoundsInTheRendererSectionAndIsTheOnlyPreview) {
  { std::ofstream(ini) << "[Renderer]\nLeft=40\nTop=30\nWidth=300\nHeight=250\n"; }
  window = new TfrmTerGL(terra, ini, prompts);
  EXPECT_EQ(TfrmTerGL::Instance(), window.data());
  EXPECT_EQ(window->pos(), QPoint(40, 30));
  EXPECT_EQ(window->size(), QSize(300, 250));
  window->move(60, 70);
  window->resize(320, 260);

  QPointer<TfrmTerGL> second = new TfrmTerGL(terra, ini, prompts);  // closes the first
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(TfrmTerGL::Instance(), second.data());
  {
    const TznIniFile written(ini);
    EXPECT_EQ(written.ReadInteger("Renderer", "Left", 0), 60);
    EXPECT_EQ(written.ReadInteger("Renderer", "Top", 0), 70);
    EXPECT_EQ(written.ReadInteger("Renderer", "Width", 0), 320);
    EXPECT_EQ(written.ReadInteger("Renderer", "Height", 0), 260);
  }
  EXPECT_EQ(second->pos(), QPoint(60, 70));  // read back by the next preview
  EXPECT_EQ(second->size(), QSize(320, 260));
  second->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(TfrmTerGL::Instance(), nullptr);
}

TEST_F(PreviewWindowTest, OpensWithItsDesignedSizeWithoutSettings) {
  window = new TfrmTerGL(terra, ini, prompts);
  EXPECT_EQ(window->size(), QSize(455, 377));
  EXPECT_EQ(window->pos(), QPoint(0, 0));
  EXPECT_EQ(window->objectName(), "frmTerGL");
}

TEST_F(PreviewWindowTest, AnAcceptedLightDialogLightsTheSceneFromTheTerrainsSun) {
  if (!Open()) GTEST_SKIP() << "no display with OpenGL";
  TznGLLightSource& sun = *window->Reality().Lights().GetLight(0);
  int dialogs = 0;
  bool accept = false;
  window->OnLightPosition = [&] {
    ++dialogs;
    window->mnuLightPositionClick();  // the dialog is open: no second one
    terra.SetLightAzimuth(90);
    terra.SetLightElevation(30);
    terra.SetColor(0x808080);
    return accept;
  };
  const float x_before = sun.Position().GetX();
  Item(*window, "mnuLightPosition").trigger();  // cancelled: the scene keeps its light
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(sun.Position().GetX(), x_before);

  accept = true;
  Item(*window, "mnuLightPosition").trigger();
  EXPECT_EQ(dialogs, 2);
  // Towards the sun at azimuth 90 and elevation 30: (-10 cos 30, 10 sin 30, 0).
  EXPECT_NEAR(sun.Position().GetX(), -8.6603f, 1e-3);
  EXPECT_NEAR(sun.Position().GetY(), 5, 1e-4);
  EXPECT_NEAR(sun.Position().GetZ(), 0, 1e-4);
  EXPECT_EQ(sun.Position().GetW(), 0);
  EXPECT_EQ(sun.Diffuse().GetRed(), 0.5f);
}
