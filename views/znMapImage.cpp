#include "views/znMapImage.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include "views/znMapZoom.h"

TznMapImage::TznMapImage(QWidget* parent) : QWidget(parent) {}

void TznMapImage::SetPicture(QImage picture) {
  FPicture = std::move(picture);
  setFixedSize(FPicture.size() * FZoom);
  update();
}

void TznMapImage::SetZoom(int zoom) {
  FZoom = ClampMapZoom(zoom);
  setFixedSize(FPicture.size() * FZoom);
  update();
}

void TznMapImage::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  // Only the image pixels under the exposed part are scaled, whole, so that
  // each lands on its own square; without smoothing the scaling repeats
  // pixels.
  const QRect exposed = event->rect();
  const QPoint first(MapPointAt(exposed.left(), FZoom), MapPointAt(exposed.top(), FZoom));
  const QPoint last(MapPointAt(exposed.right(), FZoom), MapPointAt(exposed.bottom(), FZoom));
  const QRect source = QRect(first, last).intersected(FPicture.rect());
  if (!source.isEmpty()) painter.drawImage(QRect(source.topLeft() * FZoom, source.size() * FZoom), FPicture, source);
  if (OnPaintOver) OnPaintOver(painter);
}

void TznMapImage::mousePressEvent(QMouseEvent* event) {
  if (OnMouseDown) OnMouseDown(event);
}

void TznMapImage::mouseMoveEvent(QMouseEvent* event) {
  if (OnMouseMove) OnMouseMove(event);
}

void TznMapImage::wheelEvent(QWheelEvent* event) {
  if (OnWheel)
    OnWheel(event);
  else
    event->ignore();
}
