// A status bar divided into panels of fixed width, each a label that is
// either sunken or flat.
#pragma once

#include <QFrame>
#include <QLabel>

#include <algorithm>
#include <string>
#include <vector>

struct TznPanelDesign {
  const char* Text;
  int Width;
  bool Flat;
};

class TznStatusPanels : public QFrame {
 public:
  TznStatusPanels(const char* name, const std::vector<TznPanelDesign>& panels, QWidget* parent = nullptr);

  int Count() const { return static_cast<int>(FPanels.size()); }
  QString Text(int index) const;
  void SetText(int index, const std::string& text);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Arrange();

  std::vector<QLabel*> FPanels;
  std::vector<int> FWidths;
};
