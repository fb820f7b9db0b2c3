// The map window's event handlers and what they show in the controls.
#include <QMouseEvent>

#include <exception>

#include "terrain/znTerra.h"
#include "views/untTerGL.h"
#include "views/untTerMap.h"
#include "views/znMapTexts.h"
#include "views/znMapValues.h"
#include "views/znMapZoom.h"
#include "views/znPrompts.h"
#include "views/znWindowPlace.h"

namespace {

// The value of a position or length edit, written back with two decimals;
// a value the terrain cannot hold is refused and the edit left alone.
double ReadEdit(QLineEdit* edit) {
  const TznTypedValue typed = ReadMapMetres(edit->text().toStdString());
  edit->setText(QString::fromStdString(typed.Text));
  return typed.Value;
}

void ShowValue(QLineEdit* edit, double value) { edit->setText(QString::fromStdString(EditText(value))); }

}  // namespace

void TfrmTerMap::Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    FPrompts.ShowMessage(error.what());
  }
}

void TfrmTerMap::RefreshMap() {
  ShowValue(edWater, FTerra.Metres(FTerra.FWaterLevel));
  ShowOrigin();
  ShowSelection();
  ShowExtremes();
  if (isVisible() && QSize(FTerra.FXPoints, FTerra.FYPoints) != FZoomedPoints) {
    // A terrain of another size: the zoom that fits it.
    ZoomToFit(PlacementScreen(*this, nullptr));
    PlaceWindow(*this);
  }
  StartMapThread();
  if (!FSceneShown) ShowScene();
}

void TfrmTerMap::SyncRenderMode() { RenderModeButtons->button(RenderModeNumber(FTerra.FRenderMode))->setChecked(true); }

void TfrmTerMap::ShowOrigin() {
  ShowValue(edOriginX, FTerra.FOrigin.x);
  ShowValue(edOriginY, FTerra.FOrigin.y);
  ShowValue(edOriginZ, FTerra.FOrigin.z);
}

void TfrmTerMap::ShowSelection() {
  ShowValue(edCentreX, FTerra.FSelCentre.x);
  ShowValue(edCentreY, FTerra.FSelCentre.y);
  ShowValue(edSideX, FTerra.FSideX);
  ShowValue(edSideY, FTerra.FSideY);
}

void TfrmTerMap::ShowExtremes() {
  lbHeight->setText(QString::fromStdString(EditText(FTerra.Metres(FTerra.GetHighest())) + "m"));
  lbDepth->setText(QString::fromStdString(EditText(FTerra.Metres(FTerra.GetLowest())) + "m"));
}

void TfrmTerMap::UpdateCaption() { setWindowTitle(QString::fromStdString(MapCaption(FTerra, FMouseX, FMouseY))); }

void TfrmTerMap::ShowScene() {
  FSceneShown = true;
  if (OnShowScene) Guarded(OnShowScene);
}

void TfrmTerMap::RebuildInRWXMode() {
  if (IsRWXMode(FTerra.FRenderMode)) FTerra.RebuildChunks();
}

void TfrmTerMap::Image1MouseDown(QMouseEvent* event) {
  if (event->modifiers() != Qt::ControlModifier || event->buttons() != event->button()) return;
  const bool left = event->button() == Qt::LeftButton;
  if (!left && event->button() != Qt::RightButton) return;
  const QPoint at = event->position().toPoint();
  const int x = MapPointAt(at.x(), Image1->Zoom()), y = MapPointAt(at.y(), Image1->Zoom());
  const float east = x * FTerra.FScaleX;
  const float north = (FTerra.FYPoints - y - 1) * FTerra.FScaleY;
  if (left) {
    FTerra.SetSelectionCentre(TVec3{east, north, FTerra.FSelCentre.z});
    ShowValue(edCentreX, east);
    ShowValue(edCentreY, north);
    cbShowSelection->setChecked(true);
  } else {
    FTerra.SetOrigin(TVec3{east, north, FTerra.FOrigin.z});
    ShowOrigin();
    cbShowOrigin->setChecked(true);
  }
  Guarded([this] {
    RebuildInRWXMode();
    PaintMap();
  });
}

void TfrmTerMap::Image1MouseMove(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  FMouseX = MapPointAt(at.x(), Image1->Zoom());
  FMouseY = MapPointAt(at.y(), Image1->Zoom());
  UpdateCaption();
}

void TfrmTerMap::edWaterKeyDown() {
  Guarded([this] {
    const TznTypedWater water = ReadWaterLevel(edWater->text().toStdString(), FTerra.FScaleZ);
    edWater->setText(QString::fromStdString(water.Text));
    FTerra.SetWaterLevel(water.Stored);
    RefreshMap();
  });
}

void TfrmTerMap::edSelectionKeyDown() {
  // A value that is not a number stops the reading there; what was read
  // before it stays, and the grids and the map follow it.
  Guarded([this] {
    const float origin_x = ReadEdit(edOriginX);
    const float origin_y = ReadEdit(edOriginY);
    const float origin_z = ReadEdit(edOriginZ);
    CheckOriginGrid(FTerra, TVec3{origin_x, origin_y, origin_z});
    FTerra.SetOrigin(TVec3{origin_x, origin_y, origin_z});
    const float centre_x = ReadEdit(edCentreX);
    const float centre_y = ReadEdit(edCentreY);
    FTerra.SetSelectionCentre(TVec3{centre_x, centre_y, FTerra.FSelCentre.z});
    FTerra.SetSideX(ReadEdit(edSideX));
    FTerra.SetSideY(ReadEdit(edSideY));
  });
  Guarded([this] {
    RebuildInRWXMode();
    PaintMap();
  });
}

void TfrmTerMap::btResetOriginClick() {
  Guarded([this] {
    FTerra.ResetOrigin();
    ShowOrigin();
    RebuildInRWXMode();
    PaintMap();
  });
}

void TfrmTerMap::btResetSelectionClick() {
  Guarded([this] {
    FTerra.ResetSelection();
    ShowSelection();
    RebuildInRWXMode();
    PaintMap();
  });
}

void TfrmTerMap::rgCoordsClick() {
  FTerra.SetRelative(CoordsButtons->checkedId() == 1);
  UpdateCaption();
}

void TfrmTerMap::rgRenderModeClick() {
  const TznRenderMode mode = RenderModeOfNumber(RenderModeButtons->checkedId()).value_or(TznRenderMode::Terragen);
  Guarded([this, mode] { FTerra.SetRenderMode(mode); });
  // Only "Show Scene" opens the preview: a preview the user closed stays
  // closed.
  if (TfrmTerGL* preview = TfrmTerGL::Instance()) preview->show();
}

void TfrmTerMap::mnuShowGLClick() { ShowScene(); }

void TfrmTerMap::mnuScaleClick() {
  if (OnScale) Guarded(OnScale);
}
