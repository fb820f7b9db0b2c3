// The "Basic Shape" tab: the side of the objects (10, 20 or 30 m), the
// number of vertices per 10 m × 10 m and the mesh (the regular grid or
// adaptive meshes within a chosen error), all pushed into the terrain at
// once, and the world size list, which is display only.
#pragma once

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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
  QGroupBox* rgMesh = nullptr;
  QButtonGroup* MeshButtons = nullptr;
  QLabel* lbMaxError = nullptr;
  QLineEdit* edMaxError = nullptr;
  QLabel* lbTriangles = nullptr;

  // After the user picked another object size: the map redraws its grid.
  std::function<void()> OnObjectSizeChanged;

  int ObjectSizeItem() const;
  void SelectObjectSizeItem(int index);
  int NumVerticesItem() const { return cbNumVertices->currentIndex(); }
  void SelectNumVerticesItem(int index) { cbNumVertices->setCurrentIndex(index); }

  // 0 the regular grid, 1 adaptive meshes.
  int MeshItem() const;
  void SelectMeshItem(int index);
  // The error as the edit shows it, in centimetres (the terrain's when the
  // edit holds no number).
  double MaxErrorCm() const;
  // Shows the error, held within 0.1 .. 1000 cm.
  void SelectMaxErrorCm(double centimetres);

  // Push the tab's choice into the terrain (and rebuild its grid in the
  // RWX render modes, and the composer).
  void ApplyObjectSize();
  void ApplyNumVertices();
  // The mesh and the error; the error's edit is enabled for adaptive
  // meshes only.
  void ApplyMesh();
  // Set the tab's choice from the terrain.
  void ShowObjectSize();
  void ShowNumVertices();
  void ShowMesh();
  // "Total per object: %.1d" and the triangles per object for the choices
  // in force.
  void ShowTotal();
  // "Triangles per object: ..."; for adaptive meshes the mean of a sample
  // of the loaded terrain's objects.
  void ShowTriangles();

 public slots:
  void rgObjectSizeClick();
  void cbNumVerticesChange();
  void cbMaxBoundsChange() {}
  void rgMeshClick();
  // Enter in the error's edit, or the focus leaving it.
  void edMaxErrorKeyDown();

 private:
  void BuildMeshGroup();

  TznAppContext& FContext;
  TznTerra& FTerra;
  bool FShowingMessage = false;  // the edit's message box took the focus
};
