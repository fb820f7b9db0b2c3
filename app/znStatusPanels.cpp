#include "app/znStatusPanels.h"

#include <QHBoxLayout>

TznStatusPanels::TznStatusPanels(const char* name, const std::vector<TznPanelDesign>& panels, QWidget* parent)
    : QFrame(parent) {
  setObjectName(name);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->setSpacing(2);
  for (size_t i = 0; i < panels.size(); ++i) {
    auto* panel = new QLabel(panels[i].Text, this);
    panel->setObjectName(QString("%1Panel%2").arg(name).arg(i));
    panel->setFixedWidth(panels[i].Width);
    panel->setFrameStyle(panels[i].Flat ? QFrame::NoFrame : QFrame::Panel | QFrame::Sunken);
    panel->setIndent(2);
    layout->addWidget(panel);
    FPanels.push_back(panel);
  }
  layout->addStretch(1);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

QString TznStatusPanels::Text(int index) const {
  return index >= 0 && index < Count() ? FPanels[index]->text() : QString();
}

void TznStatusPanels::SetText(int index, const std::string& text) {
  if (index >= 0 && index < Count()) FPanels[index]->setText(QString::fromStdString(text));
}
