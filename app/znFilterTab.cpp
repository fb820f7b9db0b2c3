#include "app/znFilterTab.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/znElidedLabel.h"
#include "app/znFileListBox.h"
#include "app/znFilterEnabling.h"
#include "app/znFilterText.h"

namespace {

constexpr int kListWidth = 124;
constexpr int kLimitWidth = 64;     // room for "25.000w" or "-120.00"
constexpr int kGradientWidth = 48;  // room for "90.0"

// The captions of the vertex choice, in the order of TznApplyToVerts.
struct TznApplyToCaption {
  const char* Name;
  const char* Caption;
};
constexpr TznApplyToCaption kApplyToCaptions[] = {
    {"rbFilterLowest", "lowest"},          {"rbFilter2Lowest", "2 lowest"}, {"rbFilterHighest", "highest"},
    {"rbFilter2Highest", "2 highest"},     {"rbFilterAll3", "all 3"},       {"rbFilterAny", "any"},
    {"rbFilterFaceCentre", "face centre"},
};

QString ToText(const std::string& text) { return QString::fromStdString(text); }

std::string FromText(const QLineEdit* edit) { return edit->text().toStdString(); }

}  // namespace

TznFilterTab::TznFilterTab(TznAppContext& context, QWidget* parent)
    : QWidget(parent), FEditor(context, {.Noun = "filter", .Title = "Filter", .Extension = "FTR"}) {
  setObjectName("tbFilter");
  FilterList = new TznFileListBox(this);
  FilterList->setObjectName("FilterList");
  FilterList->setFixedWidth(kListWidth);

  auto* left = new QVBoxLayout;
  left->setSpacing(4);
  left->addWidget(FilterList, 1);
  left->addWidget(BuildButtonPanel());

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(left);
  layout->addWidget(BuildFilterGroup(), 1);

  FEditor.SetControls({.List = FilterList,
                       .Group = gbFilter,
                       .NameLabel = lbFilterName,
                       .Edit = btFilterEdit,
                       .Create = btFilterCreate,
                       .Duplicate = btFilterDuplicate,
                       .Accept = btFilterAccept,
                       .Cancel = btFilterCancel});
  FEditor.ItemToControls = [this] { FilterToControls(); };
  FEditor.ControlsToItem = [this] { ControlsToFilter(); };
  connect(FilterList, &TznFileListBox::Change, this, &TznFilterTab::FilterListChange);
  FilterToControls();
  SetFilterEditState();
}

QPushButton* TznFilterTab::MakeButton(const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromLatin1(caption), Panel2);
  button->setObjectName(name);
  button->setFlat(true);
  return button;
}

QWidget* TznFilterTab::BuildButtonPanel() {
  auto* panel = new QFrame(this);
  Panel2 = panel;
  panel->setObjectName("Panel2");
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFixedWidth(kListWidth);
  btFilterCreate = MakeButton("btFilterCreate", "create");
  btFilterDuplicate = MakeButton("btFilterDuplicate", "duplicate");
  btFilterEdit = MakeButton("btFilterEdit", "edit");
  btFilterAccept = MakeButton("btFilterAccept", "accept");
  btFilterCancel = MakeButton("btFilterCancel", "cancel");

  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(2, 2, 2, 2);
  grid->setSpacing(0);
  grid->addWidget(btFilterCreate, 0, 0);
  grid->addWidget(btFilterDuplicate, 0, 1);
  grid->addWidget(btFilterEdit, 1, 0, 1, 2);
  grid->addWidget(btFilterAccept, 2, 0);
  grid->addWidget(btFilterCancel, 2, 1);

  connect(btFilterCreate, &QPushButton::clicked, this, &TznFilterTab::btFilterCreateClick);
  connect(btFilterDuplicate, &QPushButton::clicked, this, &TznFilterTab::btFilterDuplicateClick);
  connect(btFilterEdit, &QPushButton::clicked, this, &TznFilterTab::btFilterEditClick);
  connect(btFilterAccept, &QPushButton::clicked, this, &TznFilterTab::btFilterAcceptClick);
  connect(btFilterCancel, &QPushButton::clicked, this, &TznFilterTab::btFilterCancelClick);
  return panel;
}

QGroupBox* TznFilterTab::BuildFilterGroup() {
  gbFilter = new QGroupBox("Filter", this);
  gbFilter->setObjectName("gbFilter");
  lbFilterName = NewFileNameLabel(gbFilter, "lbFilterName");

  auto* groups = new QHBoxLayout;
  groups->setSpacing(4);
  groups->addWidget(BuildVerticesGroup(), 0, Qt::AlignTop);
  groups->addWidget(BuildGradientGroup(), 0, Qt::AlignTop);
  groups->addStretch(1);

  auto* layout = new QVBoxLayout(gbFilter);
  layout->setContentsMargins(4, 2, 4, 4);
  layout->addWidget(lbFilterName);
  layout->addLayout(groups);
  layout->addStretch(1);
  return gbFilter;
}

QCheckBox* TznFilterTab::AddLimitRow(QGridLayout& grid, int row, const char* switch_name, const QString& caption,
                                     const char* edit_name, QLineEdit*& edit, int edit_width) {
  QWidget* group = grid.parentWidget();
  auto* check = new QCheckBox(caption, group);
  check->setObjectName(switch_name);
  edit = new QLineEdit(group);
  edit->setObjectName(edit_name);
  edit->setFixedWidth(edit_width);
  grid.addWidget(check, row, 0);
  grid.addWidget(edit, row, 1);
  connect(check, &QCheckBox::toggled, this, &TznFilterTab::cbFilterClick);
  return check;
}

QGroupBox* TznFilterTab::BuildVerticesGroup() {
  gbFilterVertices = new QGroupBox("Vertices", gbFilter);
  gbFilterVertices->setObjectName("gbFilterVertices");
  auto* grid = new QGridLayout(gbFilterVertices);
  grid->setContentsMargins(4, 2, 4, 4);
  grid->setSpacing(3);
  cbFilterHigh = AddLimitRow(*grid, 0, "cbFilterHigh", "High (m)", "edFilterHigh", edFilterHigh, kLimitWidth);
  cbFilterLow = AddLimitRow(*grid, 1, "cbFilterLow", "Low (m)", "edFilterLow", edFilterLow, kLimitWidth);
  cbFilterWest = AddLimitRow(*grid, 2, "cbFilterWest", "West (10m)", "edFilterWest", edFilterWest, kLimitWidth);
  cbFilterEast = AddLimitRow(*grid, 3, "cbFilterEast", "East (10m)", "edFilterEast", edFilterEast, kLimitWidth);
  cbFilterNorth = AddLimitRow(*grid, 4, "cbFilterNorth", "North (10m)", "edFilterNorth", edFilterNorth, kLimitWidth);
  cbFilterSouth = AddLimitRow(*grid, 5, "cbFilterSouth", "South (10m)", "edFilterSouth", edFilterSouth, kLimitWidth);
  grid->addWidget(BuildApplyToGroup(), 0, 2, 6, 1);
  return gbFilterVertices;
}

QGroupBox* TznFilterTab::BuildApplyToGroup() {
  rgFilterVertices = new QGroupBox("Apply to", gbFilterVertices);
  rgFilterVertices->setObjectName("rgFilterVertices");
  FApplyToChoices = new QButtonGroup(rgFilterVertices);
  auto* column = new QVBoxLayout(rgFilterVertices);
  column->setContentsMargins(4, 2, 4, 2);
  column->setSpacing(0);
  int id = 0;
  for (const TznApplyToCaption& choice : kApplyToCaptions) {
    auto* button = new QRadioButton(QString::fromLatin1(choice.Caption), rgFilterVertices);
    button->setObjectName(choice.Name);
    FApplyToChoices->addButton(button, id++);
    column->addWidget(button);
  }
  FApplyToChoices->button(avLowest)->setChecked(true);
  return rgFilterVertices;
}

QGroupBox* TznFilterTab::BuildGradientGroup() {
  GroupBox2 = new QGroupBox("Gradient", gbFilter);
  GroupBox2->setObjectName("GroupBox2");
  auto* grid = new QGridLayout(GroupBox2);
  grid->setContentsMargins(4, 2, 4, 4);
  grid->setSpacing(3);
  cbFilterGradientHigh = AddLimitRow(*grid, 0, "cbFilterGradientHigh", QStringLiteral("High (°)"),
                                     "edFilterGradientHigh", edFilterGradientHigh, kGradientWidth);
  cbFilterGradientLow = AddLimitRow(*grid, 1, "cbFilterGradientLow", QStringLiteral("Low (°)"), "edFilterGradientLow",
                                    edFilterGradientLow, kGradientWidth);
  return GroupBox2;
}

void TznFilterTab::Start() { FEditor.Start(); }

std::string TznFilterTab::FilterName() const { return FEditor.CurrentName(); }

std::string TznFilterTab::SelectedFileName() const { return FEditor.SelectedFileName(); }

void TznFilterTab::SelectFilterFile(const std::string& name) { FEditor.SelectFile(name); }

bool TznFilterTab::TrySelectFilterFile(const std::string& name) { return FEditor.TrySelectFile(name); }

void TznFilterTab::FilterListChange() { FEditor.ListChange(); }

void TznFilterTab::FilterToControls() {
  const TznRWXFaceFilter& filter = FEditor.Current();
  cbFilterHigh->setChecked(filter.UseHigh());
  edFilterHigh->setText(ToText(FormatAltitude(filter.High())));
  cbFilterLow->setChecked(filter.UseLow());
  edFilterLow->setText(ToText(FormatAltitude(filter.Low())));
  cbFilterNorth->setChecked(filter.UseNorth());
  edFilterNorth->setText(ToText(FormatNorthSouth(filter.North())));
  cbFilterSouth->setChecked(filter.UseSouth());
  edFilterSouth->setText(ToText(FormatNorthSouth(filter.South())));
  cbFilterEast->setChecked(filter.UseEast());
  edFilterEast->setText(ToText(FormatWestEast(filter.East())));
  cbFilterWest->setChecked(filter.UseWest());
  edFilterWest->setText(ToText(FormatWestEast(filter.West())));
  cbFilterGradientHigh->setChecked(filter.UseHighGradient());
  edFilterGradientHigh->setText(ToText(FormatGradient(filter.HighGradient())));
  cbFilterGradientLow->setChecked(filter.UseLowGradient());
  edFilterGradientLow->setText(ToText(FormatGradient(filter.LowGradient())));
  if (QAbstractButton* choice = FApplyToChoices->button(filter.ApplyToVerts())) choice->setChecked(true);
  EnableFilterControls();
}

void TznFilterTab::ControlsToFilter() {
  TznRWXFaceFilter& filter = FEditor.Current();
  filter.SetUseHigh(cbFilterHigh->isChecked());
  filter.SetUseLow(cbFilterLow->isChecked());
  filter.SetUseNorth(cbFilterNorth->isChecked());
  filter.SetUseSouth(cbFilterSouth->isChecked());
  filter.SetUseEast(cbFilterEast->isChecked());
  filter.SetUseWest(cbFilterWest->isChecked());
  filter.SetUseHighGradient(cbFilterGradientHigh->isChecked());
  filter.SetUseLowGradient(cbFilterGradientLow->isChecked());
  filter.SetHigh(ReadLimit(FromText(edFilterHigh), filter.High()));
  filter.SetLow(ReadLimit(FromText(edFilterLow), filter.Low()));
  filter.SetNorth(ReadNorthSouth(FromText(edFilterNorth)));
  filter.SetSouth(ReadNorthSouth(FromText(edFilterSouth)));
  filter.SetWest(ReadWestEast(FromText(edFilterWest)));
  filter.SetEast(ReadWestEast(FromText(edFilterEast)));
  filter.SetHighGradient(ReadLimit(FromText(edFilterGradientHigh), filter.HighGradient()));
  filter.SetLowGradient(ReadLimit(FromText(edFilterGradientLow), filter.LowGradient()));
  const int choice = FApplyToChoices->checkedId();
  if (choice >= avLowest && choice <= avFaceCentre) filter.SetApplyToVerts(static_cast<TznApplyToVerts>(choice));
  FilterToControls();
}

void TznFilterTab::EnableFilterControls() {
  edFilterHigh->setEnabled(cbFilterHigh->isChecked());
  edFilterLow->setEnabled(cbFilterLow->isChecked());
  edFilterNorth->setEnabled(cbFilterNorth->isChecked());
  edFilterSouth->setEnabled(cbFilterSouth->isChecked());
  edFilterWest->setEnabled(cbFilterWest->isChecked());
  edFilterEast->setEnabled(cbFilterEast->isChecked());
  edFilterGradientHigh->setEnabled(cbFilterGradientHigh->isChecked());
  edFilterGradientLow->setEnabled(cbFilterGradientLow->isChecked());
  TznFilterBoundSwitches bounds;
  bounds.High = cbFilterHigh->isChecked();
  bounds.Low = cbFilterLow->isChecked();
  bounds.West = cbFilterWest->isChecked();
  bounds.East = cbFilterEast->isChecked();
  bounds.North = cbFilterNorth->isChecked();
  bounds.South = cbFilterSouth->isChecked();
  rgFilterVertices->setEnabled(bounds.Any());
}

void TznFilterTab::SetFilterEditState() { FEditor.SetEditState(); }

void TznFilterTab::btFilterEditClick() { FEditor.EditClick(); }

void TznFilterTab::btFilterAcceptClick() { FEditor.AcceptClick(); }

void TznFilterTab::btFilterCancelClick() { FEditor.CancelClick(); }

void TznFilterTab::btFilterCreateClick() { FEditor.CreateClick(); }

void TznFilterTab::btFilterDuplicateClick() { FEditor.DuplicateClick(); }

void TznFilterTab::cbFilterClick() { EnableFilterControls(); }
