// The 3D preview window: the user walks over the terrain with the keyboard,
// clicks objects to name them and changes fog, altitude check, RWX view
// distance, light and render mode from a pop-up menu. The caption shows the
// viewer's position and heading, status panel 0 the frame rate, panel 1 the
// last click, panel 2 in the RWX modes how many of the objects in view are
// shown. There is at most one such window; it writes its bounds to
// section "Renderer" of the settings file when it closes.
#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>

#include "draw/znTerraPainter.h"
#include "terrain/znTerra.h"
#include "views/znGLWidget.h"
#include "views/znPreviewState.h"
#include "views/znPreviewText.h"
#include "views/znPrompts.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QStatusBar;
class QTimer;

class TfrmTerGL : public QWidget {
  Q_OBJECT

 public:
  // Borrows the terrain and the prompts, reads the window bounds from the
  // settings file and starts the 10 ms frame timer. A preview that is
  // already open is closed first. The window deletes itself on close.
  TfrmTerGL(TznTerra& terra, const std::string& ini_file_name, TznPrompts& prompts, QWidget* parent = nullptr);
  ~TfrmTerGL() override;

  // The open preview, or nullptr.
  static TfrmTerGL* Instance();

  // Called after the preview changed the terrain's render mode (menu items
  // and the fall-back from "RWX Texture" on an OpenGL error).
  std::function<void()> OnRenderModeChanged;
  // Runs the light position dialog over the terrain's sun and colour; true
  // when the user accepted (the light is then applied to the scene).
  std::function<bool()> OnLightPosition;
  // True while the application is inactive; the timer then draws nothing.
  // Unset, the application state of Qt decides.
  std::function<bool()> IsAppInactive;
  // The clock of the frame rate, in days (tests replace it).
  std::function<double()> Clock;
  // The window that opened this one: without saved bounds the preview
  // opens beside it.
  void SetOpener(QWidget* opener) { FOpener = opener; }

  TznGLWidget& GLWidget() { return *FGLWidget; }
  TznGLReality& Reality() { return FGLWidget->Reality(); }
  TznTerraPainter& Painter() { return FPainter; }
  bool AltitudeCheck() const { return FAltitudeCheck; }
  QString PanelText(int index) const;

  // Handlers, public for the owner's shortcuts and for tests. The timer
  // draws a frame only when something changed since the last one: a key
  // held, pressed or released, the terrain, the viewer or a switch of the
  // scene, a resize, an exposure or a click.
  void Timer1Timer();
  void puScenePopup();
  void mnuTeleportClick();
  void mnuToggleFogClick();
  void mnuToggleAltitudeCheckClick();
  void mnuVisibilityClick(QAction* sender);
  void mnuLightPositionClick();
  void mnuTerragenClick();
  void mnuRWXPreviewClick();
  void mnuRWXTextureClick();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void CreatePopupMenu();
  QAction* AddItem(QMenu& menu, const char* name, const char* text);
  void ReadBounds();
  void WriteBounds();
  void FormClose();
  bool AppInactive() const;
  TznPreviewState SceneState();
  bool FrameWanted();
  void ShowMessageLater(const std::string& text);

  void StartScene();
  void ScenePrepaint();
  void ScenePaint();
  void SceneSelect();
  void SceneGLError();
  void ViewerMoved(TznGLPositionDef& camera, bool& accept);
  void FormKeyDown(uint16_t key, TznShiftState shift);
  void FormMouseDown(TznMouseButton button, TznShiftState shift, int x, int y);
  void UpdateCaption();
  void Teleport();
  void SetRenderMode(TznRenderMode mode);
  void ApplyTerrainLight();

  TznTerra& FTerra;
  std::string FIniFileName;
  TznPrompts& FPrompts;
  TznTerraPainter FPainter;
  double FLastFrameTime = 0;
  // The previous tick drew a frame: the frame rate runs between the two.
  bool FDrewLastTick = false;
  // Something the scene state does not hold asks for a frame.
  bool FFrameWanted = true;
  // The selection pass draws the scene, but nothing of it is shown.
  bool FPicking = false;
  // What the last frame showed.
  TznPreviewState FShown;
  bool FClosing = false;
  bool FAltitudeCheck = true;
  bool FLightDialogOpen = false;
  TznRenderMode FLastRenderMode = TznRenderMode::Terragen;
  QPointer<QWidget> FOpener;
  bool FHasSavedPlace = false;
  bool FPlaced = false;

  TznGLWidget* FGLWidget = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QLabel* FPanels[3] = {nullptr, nullptr, nullptr};
  QTimer* Timer1 = nullptr;
  QMenu* puScene = nullptr;
  QAction* mnuTeleport = nullptr;
  QAction* mnuToggleFog = nullptr;
  QAction* mnuToggleAltitudeCheck = nullptr;
  QAction* mnuVisibility[kVisibilityItemCount] = {};
  QAction* mnuLightPosition = nullptr;
  QAction* mnuTerragen = nullptr;
  QAction* mnuRWXPreview = nullptr;
  QAction* mnuRWXTexture = nullptr;
};
