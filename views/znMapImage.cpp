#include "views/znMapImage.h"

#include <QMouseEvent>
#include <QPainter>

TznMapImage::TznMapImage(QWidget* parent) : QWidget(parent) {}

void TznMapImage::SetPicture(QImage picture) {
  FPicture = std::move(picture);
  setFixedSize(FPicture.size());
  update();
}

void TznMapImage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, FPicture);
}

void TznMapImage::mousePressEvent(QMouseEvent* event) {
  if (OnMouseDown) OnMouseDown(event);
}

void TznMapImage::mouseMoveEvent(QMouseEvent* event) {
  if (OnMouseMove) OnMouseMove(event);
}
