// The "Basic Shape" tab: the side of the objects (10, 20 or 30 m) and the
// number of vertices per 10 m × 10 m, both pushed into the terrain at once,
// and the world size list, which is display only.
#pragma once

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

#include <functional>

#include "app/znAppContext.h"

class TznTerra;

class TznBasicShapeTab : public QWidget {
  Q_OBJECT

 public:
  TznBasicShapeTab(TznAppContext& context, TznTerra& terra, QWidget* parent = nullptr);

  QGroupBox* rgObjectSize = nullptr;
  QButtonGroup* ObjectSizeButtons = nullptr;
  QComboBox* cbNumVertices = nullptr;
  QLabel* lbNumVertices = nullptr;
  QComboBox* cbMaxBounds = nullptr;

  // After the user picked another object size: the map redraws its grid.
  std::function<void()> OnObjectSizeChanged;

  int ObjectSizeItem() const;
  void SelectObjectSizeItem(int index);
  int NumVerticesItem() const { return cbNumVertices->currentIndex(); }
  void SelectNumVerticesItem(int index) { cbNumVertices->setCurrentIndex(index); }

  // Push the tab's choice into the terrain (and rebuild its grid in the
  // RWX render modes, and the composer).
  void ApplyObjectSize();
  void ApplyNumVertices();
  // Set the tab's choice from the terrain.
  void ShowObjectSize();
  void ShowNumVertices();
  // "Total per object: %.1d" for the choices in force.
  void ShowTotal();

 public slots:
  void rgObjectSizeClick();
  void cbNumVerticesChange();
  void cbMaxBoundsChange() {}

 private:
  TznAppContext& FContext;
  TznTerra& FTerra;
};
