#include "views/untTerGL.h"

#include <GL/gl.h>

#include <QActionGroup>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <array>

#include "base/znError.h"
#include "base/znIniFile.h"
#include "draw/znPreviewScene.h"
#include "views/znDebugLog.h"
#include "views/znSettingsFile.h"
#include "views/znWindowPlace.h"

namespace {

TfrmTerGL* frmTerGL = nullptr;

const char kSection[] = "Renderer";
constexpr int kTimerInterval = 10;       // ms
constexpr float kFastWalkingSpeed = 10;  // m/s
constexpr int kPanelWidth = 50;

const char* const kVisibilityNames[kVisibilityItemCount] = {"mnu20m",  "mnu30m",  "mnu40m",  "mnu50m",
                                                            "mnu60m",  "mnu70m",  "mnu80m",  "mnu90m",
                                                            "mnu100m", "mnu110m", "mnu120m", "mnuMaxM"};
const char* const kVisibilityTexts[kVisibilityItemCount] = {"20m", "30m", "40m",  "50m",  "60m",  "70m",
                                                            "80m", "90m", "100m", "110m", "120m", "maximum"};

}  // namespace

TfrmTerGL* TfrmTerGL::Instance() { return frmTerGL; }

TfrmTerGL::TfrmTerGL(TznTerra& terra, const std::string& ini_file_name, TznPrompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window), FTerra(terra), FIniFileName(ini_file_name), FPrompts(prompts) {
  if (frmTerGL) frmTerGL->close();
  frmTerGL = this;
  setObjectName("frmTerGL");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("Renderer");
  setMinimumSize(50, 50);
  resize(455, 377);
  CreateControls();
  CreatePopupMenu();
  ReadBounds();
  Clock = &TznGLMyKey::SteadyNow;

  TznGLReality& reality = Reality();
  reality.SetOnPrepare([](TznGLReality&) {});
  reality.SetOnPrepaint([this](TznGLReality&) { ScenePrepaint(); });
  reality.SetOnPaint([this](TznGLReality&) { ScenePaint(); });
  reality.SetOnSelect([this](TznGLReality&, TznMouseButton, TznShiftState, int, int) { SceneSelect(); });
  reality.SetOnError([this](TznGLReality&, const std::exception& e) { ShowMessageLater(e.what()); });
  reality.SetOnGLError([this](TznGLReality&) { SceneGLError(); });
  FGLWidget->SetOnStart([this] { StartScene(); });
  FGLWidget->SetOnKeyDown([this](uint16_t key, TznShiftState shift) { FormKeyDown(key, shift); });
  FGLWidget->SetOnKeyUp([this](uint16_t, TznShiftState) { FFrameWanted = true; });
  FGLWidget->SetOnMouseDown(
      [this](TznMouseButton button, TznShiftState shift, int x, int y) { FormMouseDown(button, shift, x, y); });
  Timer1->start();
}

TfrmTerGL::~TfrmTerGL() {
  // Destroyed by its owner without a close: the bounds are kept all the same.
  if (!FClosing) {
    try {
      FormClose();
    } catch (const std::exception&) {
    }
  }
  if (frmTerGL == this) frmTerGL = nullptr;
}

// --- controls

void TfrmTerGL::CreateControls() {
  FGLWidget = new TznGLWidget(this);
  FGLWidget->setObjectName("glScene");
  // No alpha channel: the translucent water would otherwise make the
  // window's frame translucent where it lies.
  FGLWidget->setTextureFormat(GL_RGB8);
  FGLWidget->setContextMenuPolicy(Qt::CustomContextMenu);
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName("StatusBar1");
  StatusBar1->setSizeGripEnabled(false);
  for (int i = 0; i < 3; ++i) {
    FPanels[i] = new QLabel(StatusBar1);
    FPanels[i]->setObjectName(QString("StatusBar1Panel%1").arg(i));
    FPanels[i]->setMinimumWidth(kPanelWidth);
    StatusBar1->addWidget(FPanels[i]);
  }
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(FGLWidget, 1);
  layout->addWidget(StatusBar1);
  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(kTimerInterval);
  connect(Timer1, &QTimer::timeout, this, &TfrmTerGL::Timer1Timer);
}

QAction* TfrmTerGL::AddItem(QMenu& menu, const char* name, const char* text) {
  QAction* item = menu.addAction(text);
  item->setObjectName(name);
  return item;
}

void TfrmTerGL::CreatePopupMenu() {
  puScene = new QMenu(this);
  puScene->setObjectName("puScene");
  mnuTeleport = AddItem(*puScene, "mnuTeleport", "teleport");
  mnuTeleport->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
  puScene->addSeparator()->setObjectName("N1");
  mnuToggleFog = AddItem(*puScene, "mnuToggleFog", "fog");
  mnuToggleFog->setCheckable(true);
  mnuToggleAltitudeCheck = AddItem(*puScene, "mnuToggleAltitudeCheck", "altitude check");
  mnuToggleAltitudeCheck->setCheckable(true);

  QMenu* visibility = puScene->addMenu("rwx mode visibility");
  visibility->setObjectName("mnurwxmodevisibility");
  auto* visibility_group = new QActionGroup(this);
  for (int item = 0; item < kVisibilityItemCount; ++item) {
    mnuVisibility[item] = AddItem(*visibility, kVisibilityNames[item], kVisibilityTexts[item]);
    mnuVisibility[item]->setCheckable(true);
    mnuVisibility[item]->setActionGroup(visibility_group);
  }
  mnuLightPosition = AddItem(*puScene, "mnuLightPosition", "light...");

  QMenu* render_mode = puScene->addMenu("render mode");
  render_mode->setObjectName("mnuRendermode");
  auto* mode_group = new QActionGroup(this);
  mnuTerragen = AddItem(*render_mode, "mnuTerragen", "Terragen");
  mnuTerragen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  mnuRWXPreview = AddItem(*render_mode, "mnuRWXPreview", "RWX Preview");
  mnuRWXPreview->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  mnuRWXTexture = AddItem(*render_mode, "mnuRWXTexture", "RWX Texture");
  mnuRWXTexture->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  for (QAction* item : {mnuTerragen, mnuRWXPreview, mnuRWXTexture}) {
    item->setCheckable(true);
    item->setActionGroup(mode_group);
  }
  // The shortcuts work whenever the window is active, not only in the menu.
  for (QAction* item : {mnuTeleport, mnuTerragen, mnuRWXPreview, mnuRWXTexture}) {
    item->setShortcutContext(Qt::WindowShortcut);
    addAction(item);
  }

  connect(puScene, &QMenu::aboutToShow, this, &TfrmTerGL::puScenePopup);
  connect(FGLWidget, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { puScene->popup(FGLWidget->mapToGlobal(at)); });
  connect(mnuTeleport, &QAction::triggered, this, &TfrmTerGL::mnuTeleportClick);
  connect(mnuToggleFog, &QAction::triggered, this, &TfrmTerGL::mnuToggleFogClick);
  connect(mnuToggleAltitudeCheck, &QAction::triggered, this, &TfrmTerGL::mnuToggleAltitudeCheckClick);
  connect(visibility_group, &QActionGroup::triggered, this, &TfrmTerGL::mnuVisibilityClick);
  connect(mnuLightPosition, &QAction::triggered, this, &TfrmTerGL::mnuLightPositionClick);
  connect(mnuTerragen, &QAction::triggered, this, &TfrmTerGL::mnuTerragenClick);
  connect(mnuRWXPreview, &QAction::triggered, this, &TfrmTerGL::mnuRWXPreviewClick);
  connect(mnuRWXTexture, &QAction::triggered, this, &TfrmTerGL::mnuRWXTextureClick);
}

QString TfrmTerGL::PanelText(int index) const { return index >= 0 && index < 3 ? FPanels[index]->text() : QString(); }

// --- settings

void TfrmTerGL::ReadBounds() {
  try {
    const TznIniFile ini(FIniFileName);
    FHasSavedPlace = ini.ValueExists(kSection, "Left") && ini.ValueExists(kSection, "Top");
    resize(ini.ReadInteger(kSection, "Width", width()), ini.ReadInteger(kSection, "Height", height()));
    PutClientAt(*this, QPoint(ini.ReadInteger(kSection, "Left", 0), ini.ReadInteger(kSection, "Top", 0)));
  } catch (const EznError&) {
    // An unreadable settings file leaves the window where it is.
  }
}

void TfrmTerGL::WriteBounds() {
  SaveSettingsFile(FIniFileName, [this](TznIniFile& ini) {
    ini.WriteInteger(kSection, "Left", ClientPosition(*this).x());
    ini.WriteInteger(kSection, "Top", ClientPosition(*this).y());
    ini.WriteInteger(kSection, "Width", width());
    ini.WriteInteger(kSection, "Height", height());
  });
}

// --- lifecycle

void TfrmTerGL::FormClose() {
  FClosing = true;
  Timer1->stop();
  if (frmTerGL == this) frmTerGL = nullptr;
  WriteBounds();
}

void TfrmTerGL::closeEvent(QCloseEvent* event) {
  if (!FClosing) {
    try {
      FormClose();
    } catch (const std::exception& e) {
      FPrompts.ShowMessage(e.what());
    }
  }
  QWidget::closeEvent(event);
}

void TfrmTerGL::showEvent(QShowEvent* event) {
  FFrameWanted = true;
  QWidget::showEvent(event);
  if (event->spontaneous()) return;
  PlaceWindow(*this, FPlaced || FHasSavedPlace ? nullptr : FOpener.data());
  FPlaced = true;
}

void TfrmTerGL::changeEvent(QEvent* event) {
  // Losing the activation releases every held key (FormDeactivate).
  if (event->type() == QEvent::ActivationChange && !isActiveWindow() && !FClosing) Reality().Keys().ReleaseAll();
  QWidget::changeEvent(event);
}

void TfrmTerGL::resizeEvent(QResizeEvent* event) {
  FFrameWanted = true;
  QWidget::resizeEvent(event);
}

bool TfrmTerGL::AppInactive() const {
  if (IsAppInactive) return IsAppInactive();
  return QGuiApplication::applicationState() != Qt::ApplicationActive;
}

// A box cannot open while OpenGL paints: it waits for the event loop.
void TfrmTerGL::ShowMessageLater(const std::string& text) {
  QMetaObject::invokeMethod(
      this, [this, text] { FPrompts.ShowMessage(text); }, Qt::QueuedConnection);
}

// --- the scene

void TfrmTerGL::StartScene() {
  if (FClosing) return;
  FLastRenderMode = FTerra.FRenderMode;
  TznGLReality& reality = Reality();
  // A failure was shown by the error handler; the next paint tries again.
  if (!reality.InitGL(glDoubleBuffer, 32, 0, 0, FGLWidget->DeviceWidth(), FGLWidget->DeviceHeight())) return;
  reality.Keys().SetOnMove([this](TznGLPositionDef& camera, bool& accept) { ViewerMoved(camera, accept); });
  reality.Keys().SetFastSpeed(kFastWalkingSpeed);
  if (!reality.Lights().GetLight(0)) ShowMessageLater("No lights");
  SetUpPreviewScene(reality, FTerra);
}

void TfrmTerGL::ViewerMoved(TznGLPositionDef& camera, bool&) {
  if (FClosing) return;
  FTerra.FViewer.Assign(camera);
}

void TfrmTerGL::ScenePrepaint() { PrepaintPreviewScene(Reality(), FTerra, FAltitudeCheck && !FClosing); }

void TfrmTerGL::ScenePaint() {
  if (FClosing) return;
  if (FLastRenderMode != FTerra.FRenderMode) {
    FPanels[1]->clear();
    FLastRenderMode = FTerra.FRenderMode;
  }
  // An incomplete frame is only a frame: the next one tries again.
  try {
    PaintPreviewFrame(Reality(), FTerra, FPainter);
  } catch (const std::exception&) {
  }
  if (!FPicking) {
    // The caption counts the objects drawn: this frame's, now that the
    // next frame may be long in coming.
    UpdateCaption();
    FPanels[2]->setText(QString::fromStdString(ObjectsShownText(FTerra)));
    FShown = SceneState();
    // Objects still to build ask for the next frame.
    FFrameWanted = ObjectsWaiting(FTerra);
  }
}

TznPreviewState TfrmTerGL::SceneState() {
  return PreviewStateOf(FTerra, Reality().Background().GetFog(), FAltitudeCheck);
}

bool TfrmTerGL::FrameWanted() { return FFrameWanted || Reality().Keys().AnyHeld() || SceneState() != FShown; }

void TfrmTerGL::UpdateCaption() { setWindowTitle(QString::fromStdString(PreviewCaption(FTerra, Reality().Camera()))); }

void TfrmTerGL::SceneSelect() {
  if (FClosing) return;
  try {
    TznGLHit hit;
    Reality().GetNearestHit(hit);
    const TznPickedObject picked = PickedObject(hit, FTerra);
    FTerra.SelectChunk(picked.ChunkIndex);
    FPanels[1]->setText(QString::fromStdString(PickReport(picked)));
  } catch (const std::exception&) {
  }
}

void TfrmTerGL::SceneGLError() {
  if (FTerra.FRenderMode == TznRenderMode::RWXTexture) SetRenderMode(TznRenderMode::RWXPreview);
  TznDebugLog::Instance().ReportGLError(&Reality());
}

// --- timer, keys and mouse

void TfrmTerGL::Timer1Timer() {
  if (FClosing) return;
  if (AppInactive()) {
    Reality().Keys().ReleaseAll();
    FDrewLastTick = false;
    return;
  }
  // Only a running scene draws here; starting one is the paint's task.
  if (!Reality().Active()) return;
  if (!FrameWanted()) {
    FDrewLastTick = false;
    return;
  }
  FGLWidget->update();
  const double now = Clock();
  // The rate of the frames drawn one after the other: the time since a
  // frame before a pause is no frame rate, and the panel keeps its text.
  if (FDrewLastTick) {
    const std::string rate = FrameRateText(FLastFrameTime, now);
    if (!rate.empty()) FPanels[0]->setText(QString::fromStdString(rate));
  }
  FLastFrameTime = now;
  FDrewLastTick = true;
}

void TfrmTerGL::FormKeyDown(uint16_t key, TznShiftState shift) {
  if (FClosing) return;
  if (key == 'T' && (shift & ssCtrl)) Teleport();
}

void TfrmTerGL::FormMouseDown(TznMouseButton button, TznShiftState shift, int x, int y) {
  if (FClosing || button != TznMouseButton::mbLeft) return;
  FPicking = true;
  Reality().Select(button, shift, x, y, 2, 2);
  FPicking = false;
  FFrameWanted = true;
}

// --- pop-up menu

void TfrmTerGL::puScenePopup() {
  mnuToggleFog->setChecked(Reality().Background().GetFog());
  mnuToggleAltitudeCheck->setChecked(FAltitudeCheck);
  mnuVisibility[VisibilityItemOf(FTerra.GetViewDistance())]->setChecked(true);
  mnuTerragen->setChecked(FTerra.FRenderMode == TznRenderMode::Terragen);
  mnuRWXPreview->setChecked(FTerra.FRenderMode == TznRenderMode::RWXPreview);
  mnuRWXTexture->setChecked(FTerra.FRenderMode == TznRenderMode::RWXTexture);
}

void TfrmTerGL::Teleport() {
  const std::optional<std::string> text = FPrompts.InputBox("Teleport", "coordinates", "");
  if (!text) return;
  try {
    TeleportViewer(FTerra, *text);
  } catch (const EznError& e) {
    FPrompts.ShowMessage(e.what());
  }
}

void TfrmTerGL::mnuTeleportClick() {
  if (!FClosing) Teleport();
}

void TfrmTerGL::mnuToggleFogClick() {
  TznGLBackground& background = Reality().Background();
  background.SetFog(!background.GetFog());
}

void TfrmTerGL::mnuToggleAltitudeCheckClick() { FAltitudeCheck = !FAltitudeCheck; }

void TfrmTerGL::mnuVisibilityClick(QAction* sender) {
  for (int item = 0; item < kVisibilityItemCount; ++item)
    if (sender == mnuVisibility[item]) FTerra.SetViewDistance(VisibilityItemMetres(item));
}

void TfrmTerGL::SetRenderMode(TznRenderMode mode) {
  FTerra.SetRenderMode(mode);
  if (OnRenderModeChanged) OnRenderModeChanged();
}

void TfrmTerGL::mnuTerragenClick() { SetRenderMode(TznRenderMode::Terragen); }
void TfrmTerGL::mnuRWXPreviewClick() { SetRenderMode(TznRenderMode::RWXPreview); }
void TfrmTerGL::mnuRWXTextureClick() { SetRenderMode(TznRenderMode::RWXTexture); }

void TfrmTerGL::mnuLightPositionClick() {
  if (FClosing || FLightDialogOpen || !OnLightPosition) return;
  FLightDialogOpen = true;
  bool accepted = false;
  try {
    accepted = OnLightPosition();
  } catch (const std::exception& e) {
    FPrompts.ShowMessage(e.what());
  }
  FLightDialogOpen = false;
  if (accepted) ApplyTerrainLight();
}

void TfrmTerGL::ApplyTerrainLight() {
  TznGLLightSource* sun = Reality().Lights().GetLight(0);
  if (!sun || !Reality().Active()) return;
  std::array<float, 4> direction;
  FTerra.GetLightDirection(direction);
  sun->Position().SetVector(direction.data());
  sun->Diffuse().SetColor(FTerra.FColor);
  FGLWidget->makeCurrent();
  sun->Apply();
  FGLWidget->update();
}
