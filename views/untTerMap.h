// The 2D map window: the terrain from above, shaded by a worker thread at
// one pixel per grid point and shown zoomed 1 to 8 times (Ctrl + wheel, "+"
// and "-"); it opens at the largest zoom that fits the screen. The user places the origin and the selection
// with the mouse (Ctrl + left / right) or by typing values, sets the water
// level, the render mode of the 3D preview and how positions are shown.
// There is at most one map window; frmTerMap refers to it while it is open.
#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>

#include <functional>
#include <optional>
#include <string>

#include "views/znMapImage.h"
#include "views/znMapOverlay.h"

class QAction;
class TMapTh;
class TznPrompts;
class TznTerra;

class TfrmTerMap : public QMainWindow {
  Q_OBJECT

 public:
  // Restores the position and size of section "Map" of the settings file
  // and shows positions relative to the origin. The window deletes itself
  // when closed.
  TfrmTerMap(TznTerra& terra, std::string settings_file, TznPrompts& prompts, QWidget* parent = nullptr);
  ~TfrmTerMap() override;

  // Shows the water level, origin, selection and extremes, starts shading
  // the map, and the first time also shows the 3D preview (OnShowScene).
  void RefreshMap();
  // Sets rgRenderMode from the terrain's render mode.
  void SyncRenderMode();
  // Draws the current picture with the origin, object grid, selection and
  // rulers, without shading it again.
  void PaintMap();
  // A map computation is under way; the terrain must not change meanwhile.
  bool Busy() const { return FBusy; }
  // The window that opened this one: without a saved position the map
  // opens beside it.
  void SetOpener(QWidget* opener) { FOpener = opener; }

  // The windows this one opens, wired by the main window: the 3D preview
  // ("Show Scene", the first RefreshMap), the scale
  // dialog ("Scale"), and what closes with this window (the preview).
  std::function<void()> OnShowScene;
  std::function<void()> OnScale;
  std::function<void()> OnClosing;

  QScrollArea* ScrollBox1 = nullptr;
  TznMapImage* Image1 = nullptr;
  QWidget* pnControls = nullptr;
  QLabel* lbHeight = nullptr;
  QLabel* lbDepth = nullptr;
  QLineEdit* edWater = nullptr;
  QLineEdit* edCentreX = nullptr;
  QLineEdit* edCentreY = nullptr;
  QLineEdit* edSideX = nullptr;
  QLineEdit* edSideY = nullptr;
  QLineEdit* edOriginX = nullptr;
  QLineEdit* edOriginY = nullptr;
  QLineEdit* edOriginZ = nullptr;
  QPushButton* btResetOrigin = nullptr;
  QPushButton* btResetSelection = nullptr;
  QCheckBox* cbShowOrigin = nullptr;
  QCheckBox* cbShowSelection = nullptr;
  QGroupBox* rgCoords = nullptr;
  QButtonGroup* CoordsButtons = nullptr;
  QGroupBox* rgRenderMode = nullptr;
  QButtonGroup* RenderModeButtons = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QLabel* lbZoom = nullptr;
  QAction* mnuShowGL = nullptr;
  QAction* mnuScale = nullptr;
  TznMapImage* vImage = nullptr;
  TznMapImage* hImage = nullptr;
  TznMapImage* AVertical = nullptr;
  TznMapImage* AHorizontal = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private slots:
  void MapThreadDone();

 private:
  void CreateControls();
  QWidget* CreatePanel();
  void CreateMenu();
  void ReadSettings();
  void WriteSettings();

  void StartMapThread();
  void StopMapThread();
  void UpdateCaption();
  void ShowScene();
  void DisableControls();
  void EnableControls();
  void ArrangeControls();
  void ShowOrigin();
  void ShowSelection();
  void ShowExtremes();
  void RebuildInRWXMode();
  // Runs a handler; an error shows its message and the window goes on.
  void Guarded(const std::function<void()>& handler);
  void DrawOverlays(QPainter& painter) const;

  // Zoom (untTerMapZoom.cpp). The anchor is a point of the scroll box's
  // view that keeps showing the same grid point.
  void SetZoom(int zoom, QPoint anchor);
  void ZoomBy(int steps, QPoint anchor);
  void ZoomByWheel(QWheelEvent* event, QPoint anchor);
  void Image1Wheel(QWheelEvent* event);
  void ShowZoom();
  // The largest zoom at which the window shows the whole map inside the
  // available geometry; the window grows to show it.
  void ZoomToFit(const QRect& available);
  // The window's parts around the picture, in pixels of its client area.
  QSize AroundPicture() const;

  void Image1MouseDown(QMouseEvent* event);
  void Image1MouseMove(QMouseEvent* event);
  void edWaterKeyDown();
  void edSelectionKeyDown();
  void btResetOriginClick();
  void btResetSelectionClick();
  void rgCoordsClick();
  void rgRenderModeClick();
  void mnuShowGLClick();
  void mnuScaleClick();

  TznTerra& FTerra;
  TznPrompts& FPrompts;
  std::string FSettingsFile;
  QImage FBitmap;
  QImage vNumbers;
  QImage hNumbers;
  TMapTh* FMapThread = nullptr;
  bool FBusy = false;
  // The grid point under the mouse.
  int FMouseX = 0, FMouseY = 0;
  std::optional<TznOriginOverlay> FOriginOverlay;
  std::optional<TznSelectionOverlay> FSelectionOverlay;
  // Wheel turns not yet worth a zoom step (touch pads send small ones).
  int FWheelRest = 0;
  // The terrain size the zoom was last fitted to.
  QSize FZoomedPoints;
  QPointer<QWidget> FOpener;
  bool FHasSavedPlace = false;
  bool FPlaced = false;
  bool FSceneShown = false;
  bool FClosed = false;
};

// The open map window, or null.
extern TfrmTerMap* frmTerMap;

// Processes events until the open map window (if any) has finished shading;
// the main window calls it before it changes the terrain.
void WaitForMapWindow();
