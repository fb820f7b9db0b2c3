// The map window's zoom: the factor it opens at, Ctrl + wheel over the map,
// and the "+" and "-" keys. The shaded picture keeps one pixel per grid
// point whatever the zoom; only its showing changes.
#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

#include "terrain/znTerra.h"
#include "views/untTerMap.h"
#include "views/znMapZoom.h"
#include "views/znWindowPlace.h"

namespace {

// One notch of a mouse wheel.
constexpr int kWheelNotch = 120;

}  // namespace

void TfrmTerMap::SetZoom(int zoom, QPoint anchor) {
  const int old = Image1->Zoom();
  zoom = ClampMapZoom(zoom);
  if (zoom == old) return;
  QScrollBar* across = ScrollBox1->horizontalScrollBar();
  QScrollBar* down = ScrollBox1->verticalScrollBar();
  const double x = (across->value() + anchor.x()) / static_cast<double>(old);
  const double y = (down->value() + anchor.y()) / static_cast<double>(old);
  Image1->SetZoom(zoom);
  ShowZoom();
  ArrangeControls();
  across->setValue(qRound(x * zoom) - anchor.x());
  down->setValue(qRound(y * zoom) - anchor.y());
}

void TfrmTerMap::ZoomBy(int steps, QPoint anchor) { SetZoom(Image1->Zoom() + steps, anchor); }

void TfrmTerMap::ZoomByWheel(QWheelEvent* event, QPoint anchor) {
  FWheelRest += event->angleDelta().y();
  const int steps = FWheelRest / kWheelNotch;
  FWheelRest -= steps * kWheelNotch;
  if (steps != 0) ZoomBy(steps, anchor);
}

void TfrmTerMap::Image1Wheel(QWheelEvent* event) {
  if (event->modifiers() != Qt::ControlModifier) {
    event->ignore();  // the scroll box scrolls
    return;
  }
  ZoomByWheel(event, Image1->mapTo(ScrollBox1->viewport(), event->position().toPoint()));
}

void TfrmTerMap::ShowZoom() { lbZoom->setText(QString("Zoom %1x").arg(Image1->Zoom())); }

void TfrmTerMap::ZoomToFit(const QRect& available) {
  const QSize points(FTerra.FXPoints, FTerra.FYPoints);
  FZoomedPoints = points;
  const QSize around = AroundPicture();
  Image1->SetZoom(FittingMapZoom(points, around.grownBy(FrameMargins(*this)), available.size()));
  ShowZoom();
  const QSize needed = points * Image1->Zoom() + around;
  resize(std::max({width(), needed.width(), pnControls->sizeHint().width()}), std::max(height(), needed.height()));
}

void TfrmTerMap::keyPressEvent(QKeyEvent* event) {
  const QPoint centre = ScrollBox1->viewport()->rect().center();
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      ZoomBy(1, centre);
      break;
    case Qt::Key_Minus:
      ZoomBy(-1, centre);
      break;
    default:
      QMainWindow::keyPressEvent(event);
  }
}

bool TfrmTerMap::eventFilter(QObject* watched, QEvent* event) {
  // The map itself takes the wheel; this is the scroll box around it, and
  // the map while it is disabled during shading.
  if (event->type() == QEvent::Wheel && ScrollBox1 && watched == ScrollBox1->viewport()) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (wheel->modifiers() == Qt::ControlModifier) {
      ZoomByWheel(wheel, wheel->position().toPoint());
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}
