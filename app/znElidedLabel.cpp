#include "app/znElidedLabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

TznElidedLabel::TznElidedLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  // The layout gives the label its room; the name never asks for more.
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QSize TznElidedLabel::minimumSizeHint() const { return {0, QLabel::minimumSizeHint().height()}; }

QString TznElidedLabel::ShownText() const {
  return fontMetrics().elidedText(text(), Qt::ElideMiddle, contentsRect().width());
}

bool TznElidedLabel::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    if (ShownText() != text())
      QToolTip::showText(help->globalPos(), text(), this);
    else
      QToolTip::hideText();
    return true;
  }
  return QLabel::event(event);
}

void TznElidedLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  style()->drawItemText(&painter, contentsRect(), QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                        isEnabled(), ShownText(), foregroundRole());
}

TznElidedLabel* NewFileNameLabel(QWidget* parent, const char* object_name) {
  auto* label = new TznElidedLabel(parent);
  label->setObjectName(object_name);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}
