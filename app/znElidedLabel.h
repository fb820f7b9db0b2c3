// A one-line label for a name the user chose (a material, filter or
// composer file): a long name is shortened in the middle with "…" to the
// room the layout gives, instead of widening the window, and the whole name
// shows as a tool tip. text() is always the whole name.
#pragma once

#include <QLabel>

class TznElidedLabel : public QLabel {
  Q_OBJECT

 public:
  explicit TznElidedLabel(QWidget* parent = nullptr);

  QSize minimumSizeHint() const override;
  // The text as painted in the label's present width.
  QString ShownText() const;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

// The bold label of a tab that names its file.
TznElidedLabel* NewFileNameLabel(QWidget* parent, const char* object_name);
