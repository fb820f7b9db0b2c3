// A picture control: shows one image at its natural size and reports the
// mouse over it.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

class QMouseEvent;

class TznMapImage : public QWidget {
  Q_OBJECT

 public:
  explicit TznMapImage(QWidget* parent = nullptr);

  // Shows the image and takes its size.
  void SetPicture(QImage picture);
  const QImage& Picture() const { return FPicture; }

  QSize sizeHint() const override { return FPicture.size(); }

  std::function<void(QMouseEvent*)> OnMouseDown;
  std::function<void(QMouseEvent*)> OnMouseMove;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QImage FPicture;
};
