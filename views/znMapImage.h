// A picture control: shows one image, each pixel as a square of zoom x zoom
// screen pixels (nearest neighbour), lets its owner draw over it, and
// reports the mouse over it.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

class QMouseEvent;
class QPainter;
class QWheelEvent;

class TznMapImage : public QWidget {
  Q_OBJECT

 public:
  explicit TznMapImage(QWidget* parent = nullptr);

  // Shows the image and takes its size times the zoom.
  void SetPicture(QImage picture);
  const QImage& Picture() const { return FPicture; }

  // 1 to 8 screen pixels per image pixel.
  void SetZoom(int zoom);
  int Zoom() const { return FZoom; }

  QSize sizeHint() const override { return FPicture.size() * FZoom; }

  std::function<void(QMouseEvent*)> OnMouseDown;
  std::function<void(QMouseEvent*)> OnMouseMove;
  // Without it, and when it ignores the event, the wheel goes on to the
  // parent.
  std::function<void(QWheelEvent*)> OnWheel;
  // Draws over the picture, in screen pixels of this control.
  std::function<void(QPainter&)> OnPaintOver;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  QImage FPicture;
  int FZoom = 1;
};
