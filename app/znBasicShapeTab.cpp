#include "app/znBasicShapeTab.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

#include "app/znVertexChoices.h"
#include "base/znFormat.h"
#include "base/znRound.h"
#include "terrain/znTerra.h"
#include "views/znPrompts.h"

namespace {

// The adaptive count in the label is the mean of up to 5 x 5 objects.
constexpr int kTriangleSamplesPerSide = 5;

QGroupBox* Group(QWidget* parent, const char* name, const char* title) {
  auto* group = new QGroupBox(title, parent);
  group->setObjectName(name);
  return group;
}

// One row of radio buttons in the group's grid, named after the group with
// their index ("rgMesh0", "rgMesh1"); the first is checked.
QButtonGroup* RadioRow(QWidget* owner, QGroupBox* group, QGridLayout* grid, const QStringList& captions) {
  auto* buttons = new QButtonGroup(owner);
  int i = 0;
  for (const QString& caption : captions) {
    auto* button = new QRadioButton(caption, group);
    button->setObjectName(group->objectName() + QString::number(i));
    buttons->addButton(button, i);
    grid->addWidget(button, 0, i);
    ++i;
  }
  buttons->button(0)->setChecked(true);
  return buttons;
}

QComboBox* MakeList(const char* name, QGroupBox* group) {
  auto* list = new QComboBox(group);
  list->setObjectName(name);
  return list;
}

QLabel* MakeNamedLabel(const char* name, const char* caption, QGroupBox* group) {
  auto* label = new QLabel(caption, group);
  label->setObjectName(name);
  return label;
}

// The group's one row: the list at its own width, the label taking the rest.
void PutListBesideLabel(QGroupBox* group, QComboBox* list, QLabel* label) {
  auto* row = new QHBoxLayout(group);
  row->addWidget(list);
  row->addSpacing(12);
  row->addWidget(label, 1);
}

void Check(QButtonGroup* buttons, int index) {
  if (QAbstractButton* button = buttons->button(index)) button->setChecked(true);
}

}  // namespace

TznBasicShapeTab::TznBasicShapeTab(TznAppContext& context, TznTerra& terra, QWidget* parent)
    : QWidget(parent), FContext(context), FTerra(terra) {
  setObjectName("tbBasicShape");

  rgObjectSize = Group(this, "rgObjectSize", "Object Size");
  QStringList sizes;  // "10m", "20m", "30m"
  for (int size : TznCuttingOptions::kObjectSizes) sizes << QString::number(size) + "m";
  ObjectSizeButtons = RadioRow(this, rgObjectSize, new QGridLayout(rgObjectSize), sizes);
  connect(ObjectSizeButtons, &QButtonGroup::idClicked, this, [this](int) { rgObjectSizeClick(); });

  QGroupBox* vertices = Group(this, "GroupBox1", "Number of Vertices per 10m x 10m");
  cbNumVertices = MakeList("cbNumVertices", vertices);
  for (int n = kMinListVertices; n <= kMaxListVertices; ++n)
    cbNumVertices->addItem(QString::fromStdString(VertexEntryText(n)));
  cbNumVertices->setMaxVisibleItems(kVertexEntryCount);
  lbNumVertices = MakeNamedLabel("lbNumVertices", "Total per object", vertices);
  PutListBesideLabel(vertices, cbNumVertices, lbNumVertices);
  connect(cbNumVertices, &QComboBox::activated, this, [this](int) { cbNumVerticesChange(); });

  QGroupBox* bounds = Group(this, "gbMaxBounds", "World Size");
  cbMaxBounds = MakeList("cbMaxBounds", bounds);
  for (const std::string& entry : WorldSizeEntries()) cbMaxBounds->addItem(QString::fromStdString(entry));
  cbMaxBounds->setCurrentIndex(0);
  PutListBesideLabel(bounds, cbMaxBounds, MakeNamedLabel("Label11", "(not used)", bounds));
  connect(cbMaxBounds, &QComboBox::activated, this, [this](int) { cbMaxBoundsChange(); });

  BuildMeshGroup();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(rgObjectSize);
  layout->addWidget(vertices);
  layout->addWidget(rgMesh);
  layout->addWidget(bounds);
  layout->addStretch(1);
}

void TznBasicShapeTab::BuildMeshGroup() {
  rgMesh = Group(this, "rgMesh", "Mesh");
  auto* grid = new QGridLayout(rgMesh);
  MeshButtons = RadioRow(this, rgMesh, grid, {"regular grid", "adaptive"});
  connect(MeshButtons, &QButtonGroup::idClicked, this, [this](int) { rgMeshClick(); });
  lbMaxError = new QLabel("max. error (cm)", rgMesh);
  lbMaxError->setObjectName("lbMaxError");
  edMaxError = new QLineEdit(QString::fromStdString(MaxErrorText(kDefaultMaxErrorCm)), rgMesh);
  edMaxError->setObjectName("edMaxError");
  edMaxError->setEnabled(false);
  edMaxError->setMaximumWidth(80);
  lbMaxError->setBuddy(edMaxError);
  connect(edMaxError, &QLineEdit::editingFinished, this, [this] { edMaxErrorKeyDown(); });
  lbTriangles = new QLabel("Triangles per object", rgMesh);
  lbTriangles->setObjectName("lbTriangles");
  grid->addWidget(lbMaxError, 0, 2, Qt::AlignRight);
  grid->addWidget(edMaxError, 0, 3);
  grid->addWidget(lbTriangles, 1, 0, 1, 4);
  grid->setColumnStretch(2, 1);
}

int TznBasicShapeTab::ObjectSizeItem() const { return ObjectSizeButtons->checkedId(); }

void TznBasicShapeTab::SelectObjectSizeItem(int index) { Check(ObjectSizeButtons, index); }

void TznBasicShapeTab::ApplyObjectSize() {
  const int item = ObjectSizeItem();
  if (item >= 0 && item < int(TznCuttingOptions::kObjectSizes.size())) {
    const float size = static_cast<float>(TznCuttingOptions::kObjectSizes[item]);
    // A size that would cut the terrain into more objects than the grid
    // holds is refused in every render mode; the size in force stays.
    const double objects = FTerra.MostRWXObjects(FTerra.FOrigin, FTerra.FScaleX, FTerra.FScaleY, size);
    if (objects > TznTerra::kMaxRWXObjects) {
      ShowObjectSize();
      FContext.Prompts->ShowMessage("Too many objects! " + RWXObjectLimitText(objects, size));
      return;
    }
    FTerra.SetObjectSize(size);
  }
  if (IsRWXMode(FTerra.FRenderMode)) FTerra.RebuildChunks();
  FContext.RunUpdateTerrainComposer();
}

void TznBasicShapeTab::ApplyNumVertices() {
  try {
    FTerra.SetVertices(cbNumVertices->currentIndex() + kMinListVertices);
    if (IsRWXMode(FTerra.FRenderMode)) FTerra.RebuildChunks();
    FContext.RunUpdateTerrainComposer();
  } catch (...) {
    // A density the terrain cannot take leaves the terrain as it was.
  }
}

void TznBasicShapeTab::ShowObjectSize() {
  const auto& sizes = TznCuttingOptions::kObjectSizes;
  const auto found = std::find(sizes.begin(), sizes.end(), Round(FTerra.FObjectSize / 10.0) * 10);
  if (found != sizes.end()) {
    SelectObjectSizeItem(static_cast<int>(found - sizes.begin()));
  } else {
    FTerra.SetObjectSize(static_cast<float>(sizes[0]));
    SelectObjectSizeItem(0);
  }
}

int TznBasicShapeTab::MeshItem() const { return MeshButtons->checkedId(); }

void TznBasicShapeTab::SelectMeshItem(int index) { Check(MeshButtons, index); }

double TznBasicShapeTab::MaxErrorCm() const {
  // Text typed but not yet taken counts as the error in force.
  return ParseMaxErrorCm(edMaxError->text().toStdString()).value_or(FTerra.FMaxError * 100);
}

void TznBasicShapeTab::SelectMaxErrorCm(double centimetres) {
  edMaxError->setText(QString::fromStdString(MaxErrorText(std::clamp(centimetres, kMinMaxErrorCm, kMaxMaxErrorCm))));
}

void TznBasicShapeTab::ApplyMesh() {
  const uint8_t mesh = MeshItem() == 1 ? TznTerra::kAdaptiveMesh : TznTerra::kGridMesh;
  const double metres = MaxErrorCm() / 100;
  edMaxError->setEnabled(mesh == TznTerra::kAdaptiveMesh);
  if (mesh == FTerra.FMesh && metres == FTerra.FMaxError) return;
  FTerra.SetMesh(mesh);
  FTerra.SetMaxError(metres);
  if (IsRWXMode(FTerra.FRenderMode)) FTerra.RebuildChunks();
}

void TznBasicShapeTab::ShowMesh() {
  SelectMeshItem(FTerra.FMesh == TznTerra::kAdaptiveMesh ? 1 : 0);
  SelectMaxErrorCm(FTerra.FMaxError * 100);
  edMaxError->setEnabled(FTerra.FMesh == TznTerra::kAdaptiveMesh);
}

void TznBasicShapeTab::ShowTriangles() {
  const bool adaptive = FTerra.FMesh == TznTerra::kAdaptiveMesh;
  std::optional<double> mean;
  try {
    if (adaptive) mean = FTerra.SampleAdaptiveTriangles(kTriangleSamplesPerSide);
  } catch (...) {
    // Without a sample the label gives the grid's count as the limit.
  }
  const int64_t grid = GridTrianglesPerObject(FTerra.FVertices, FTerra.FObjectSize);
  lbTriangles->setText(QString::fromStdString(TrianglesPerObjectText(grid, adaptive, mean)));
}

void TznBasicShapeTab::rgMeshClick() {
  ApplyMesh();
  ShowTriangles();
}

void TznBasicShapeTab::edMaxErrorKeyDown() {
  if (FShowingMessage) return;
  const std::string typed = edMaxError->text().toStdString();
  const std::optional<double> centimetres = ParseMaxErrorCm(typed);
  if (!centimetres) {
    // Back to the error in force before the message takes the focus.
    SelectMaxErrorCm(FTerra.FMaxError * 100);
    std::string message = "'";
    message.append(Trim(typed)).append("' is not a valid floating point value");
    FShowingMessage = true;
    if (FContext.Prompts) FContext.Prompts->ShowMessage(message);
    FShowingMessage = false;
    return;
  }
  SelectMaxErrorCm(*centimetres);
  ApplyMesh();
  ShowTriangles();
}

void TznBasicShapeTab::ShowNumVertices() { cbNumVertices->setCurrentIndex(FTerra.FVertices - kMinListVertices); }

void TznBasicShapeTab::ShowTotal() {
  lbNumVertices->setText(
      QString::fromStdString(TotalPerObjectText(VerticesPerObject(FTerra.FVertices, FTerra.FObjectSize))));
  ShowTriangles();
}

void TznBasicShapeTab::rgObjectSizeClick() {
  ApplyObjectSize();
  ShowTotal();
  if (OnObjectSizeChanged) OnObjectSizeChanged();
}

void TznBasicShapeTab::cbNumVerticesChange() {
  ApplyNumVertices();
  ShowTotal();
}
