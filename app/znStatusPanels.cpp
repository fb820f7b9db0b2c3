#include "app/znStatusPanels.h"

TznStatusPanels::TznStatusPanels(const char* name, const std::vector<TznPanelDesign>& panels, QWidget* parent)
    : QFrame(parent) {
  setObjectName(name);
  for (size_t i = 0; i < panels.size(); ++i) {
    auto* panel = new QLabel(panels[i].Text, this);
    panel->setObjectName(QString("%1Panel%2").arg(name).arg(i));
    panel->setFrameStyle(panels[i].Flat ? QFrame::NoFrame : QFrame::Panel | QFrame::Sunken);
    panel->setIndent(2);
    FPanels.push_back(panel);
    FWidths.push_back(panels[i].Width);
  }
  setFixedHeight(FPanels.empty() ? 18 : FPanels.front()->sizeHint().height() + 4);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  Arrange();
}

QString TznStatusPanels::Text(int index) const {
  return index >= 0 && index < Count() ? FPanels[index]->text() : QString();
}

void TznStatusPanels::SetText(int index, const std::string& text) {
  if (index < 0 || index >= Count()) return;
  FPanels[index]->setText(QString::fromStdString(text));
  Arrange();
}

void TznStatusPanels::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  Arrange();
}

void TznStatusPanels::Arrange() {
  // Panels keep their designed widths while the bar is wide enough, and are
  // cut down to their texts when it is not, so that every value stays in
  // sight on a narrow window.
  std::vector<int> fitted(FPanels.size()), designed(FPanels.size());
  int designed_total = 0;
  for (size_t i = 0; i < FPanels.size(); ++i) {
    const bool blank = FPanels[i]->text().isEmpty();
    fitted[i] = blank ? std::min(FWidths[i], 4) : FPanels[i]->sizeHint().width() + 8;
    designed[i] = std::max(FWidths[i], fitted[i]);
    designed_total += designed[i] + 2;
  }
  const std::vector<int>& widths = designed_total <= width() ? designed : fitted;
  int x = 1;
  for (size_t i = 0; i < FPanels.size(); ++i) {
    FPanels[i]->setGeometry(x, 2, widths[i], height() - 3);
    x += widths[i] + 2;
  }
}
