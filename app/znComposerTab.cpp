#include "app/znComposerTab.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <exception>

#include "app/untComposeSelect.h"
#include "app/znComposerCitnum.h"
#include "app/znComposerPopupState.h"
#include "app/znComposerRowEdits.h"
#include "app/znElidedLabel.h"
#include "app/znSettingsName.h"
#include "base/znFormat.h"
#include "base/znSafeFile.h"
#include "draw/znComposerTextures.h"
#include "rwx/znComposerBuilder.h"
#include "views/znPrompts.h"

namespace {

constexpr int kFilterColumn = 1;
constexpr int kMaterialColumn = 2;

const char* const kExplanation =
    "Couple Filters and Materials in the Composer. Faces are selected by the first filter that applies to "
    "them, and the corresponding Material is used for them.  If no Filter qualifies, the Basic Material is "
    "used.";

QString ToQt(const std::string& text) { return QString::fromStdString(text); }

// Room for a caption with a file name in a popup menu; a longer one is
// shortened in the middle, so that the menu stays near its list.
constexpr int kMenuCaptionWidth = 420;

// A caption with a file name for an entry of the menu: shortened to fit,
// and "&" doubled, where it would mark a shortcut.
QString MenuCaption(const QMenu& menu, const std::string& caption) {
  return menu.fontMetrics().elidedText(ToQt(caption), Qt::ElideMiddle, kMenuCaptionWidth).replace("&", "&&");
}

std::string CurrentNameOf(const TznEditorLink& editor) {
  return editor.CurrentName ? std::string(Trim(editor.CurrentName())) : std::string();
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  return label;
}

void ApplyState(const QMenu& menu, QAction* action, const TznMenuItemState& state) {
  action->setEnabled(state.Enabled);
  if (!state.Caption.empty()) action->setText(MenuCaption(menu, state.Caption));
}

}  // namespace

TznComposerTab::TznComposerTab(TznAppContext& context, TznEditorLink filter_editor, TznEditorLink material_editor,
                               QWidget* parent)
    : QWidget(parent),
      FContext(context),
      FFilterEditor(std::move(filter_editor)),
      FMaterialEditor(std::move(material_editor)) {
  setObjectName("tbCompose");
  BuildControls();
  BuildComposeMenu();
  BuildBasicMaterialMenu();
}

void TznComposerTab::BuildControls() {
  FComposerName = NewFileNameLabel(this, "lbComposerName");

  FComposerList = new QTreeWidget(this);
  FComposerList->setObjectName("ComposerList");
  FComposerList->setColumnCount(3);
  FComposerList->setHeaderLabels({"#", "Filter", "Material"});
  FComposerList->setColumnWidth(0, 30);
  FComposerList->setColumnWidth(kFilterColumn, 150);
  FComposerList->setColumnWidth(kMaterialColumn, 150);
  FComposerList->setRootIsDecorated(false);
  FComposerList->setItemsExpandable(false);
  FComposerList->setUniformRowHeights(true);
  FComposerList->setSelectionMode(QAbstractItemView::SingleSelection);
  FComposerList->setSelectionBehavior(QAbstractItemView::SelectRows);
  FComposerList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FComposerList->setToolTip("right-click for options");
  FComposerList->setContextMenuPolicy(Qt::CustomContextMenu);
  FComposerList->setMinimumWidth(30 + 150 + 150 + 4);
  connect(FComposerList, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { FComposeMenu->popup(FComposerList->viewport()->mapToGlobal(at)); });

  // The flat button lies over the label, so that clicking the label opens
  // the basic material's menu.
  QLabel* basic_label = NewLabel(this, "Label4", "Basic material:");
  FBasicMaterialButton = new QPushButton(this);
  FBasicMaterialButton->setObjectName("btBasicMaterial");
  FBasicMaterialButton->setFlat(true);
  FBasicMaterialButton->setCursor(Qt::PointingHandCursor);
  FBasicMaterialButton->setToolTip("click to select the basic material");
  FBasicMaterialButton->setStyleSheet("QPushButton { background: transparent; border: none; }");
  connect(FBasicMaterialButton, &QPushButton::clicked, this, &TznComposerTab::btBasicMaterialClick);
  FBasicMaterialName = NewFileNameLabel(this, "lbBasicMaterialName");

  FGeneralSettingsBox = new QGroupBox("Use the General Settings of", this);
  FGeneralSettingsBox->setObjectName("rgBasicMaterial");
  FGeneralSettings = new QButtonGroup(FGeneralSettingsBox);
  auto* choices = new QVBoxLayout(FGeneralSettingsBox);
  choices->setContentsMargins(6, 2, 6, 2);
  choices->setSpacing(0);
  const char* const names[] = {"rbBasicMaterial", "rbIndividualMaterials"};
  const char* const captions[] = {"basic material", "individual materials"};
  for (int choice = 0; choice < 2; ++choice) {
    auto* button = new QRadioButton(captions[choice], FGeneralSettingsBox);
    button->setObjectName(names[choice]);
    FGeneralSettings->addButton(button, choice);
    choices->addWidget(button);
  }
  FGeneralSettings->button(0)->setChecked(true);
  connect(FGeneralSettings, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (checked) rgBasicMaterialClick();
  });

  QLabel* citnum_label = NewLabel(this, "Label7", "Citizen number for propdump:");
  FCitnum = new QLineEdit("0", this);
  FCitnum->setObjectName("edCitnum");

  QLabel* explanation = NewLabel(this, "Label10", kExplanation);
  explanation->setWordWrap(true);
  QFont small = explanation->font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  explanation->setFont(small);

  auto* side = new QVBoxLayout;
  side->setSpacing(3);
  auto* basic_cell = new QGridLayout;
  basic_cell->addWidget(basic_label, 0, 0);
  basic_cell->addWidget(FBasicMaterialButton, 0, 0);
  side->addLayout(basic_cell);
  side->addWidget(FBasicMaterialName);
  side->addWidget(FGeneralSettingsBox);
  side->addWidget(citnum_label);
  side->addWidget(FCitnum);
  side->addWidget(explanation);
  side->addStretch(1);
  FBasicMaterialButton->raise();

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setHorizontalSpacing(8);
  layout->setVerticalSpacing(3);
  layout->addWidget(FComposerName, 0, 0);
  layout->addWidget(FComposerList, 1, 0);
  layout->addLayout(side, 0, 1, 2, 1);
  layout->setColumnStretch(0, 1);
  layout->setRowStretch(1, 1);
}

QAction* TznComposerTab::AddAction(QMenu* menu, const char* name, const char* caption, void (TznComposerTab::*slot)()) {
  auto* action = new QAction(caption, menu);
  action->setObjectName(name);
  menu->addAction(action);
  connect(action, &QAction::triggered, this, slot);
  return action;
}

void TznComposerTab::BuildComposeMenu() {
  FComposeMenu = new QMenu(this);
  FComposeMenu->setObjectName("puCompose");
  QMenu* menu = FComposeMenu;
  AddAction(menu, "muInsertItem", "insert item", &TznComposerTab::muInsertItemClick);
  FDeleteItem = AddAction(menu, "mnuDeleteItem", "delete item", &TznComposerTab::mnuDeleteItemClick);
  menu->addSeparator();
  FGetCurrentFilter =
      AddAction(menu, "mnuGetCurrentFilter", "get current filter", &TznComposerTab::mnuGetCurrentFilterClick);
  FGetCurrentMaterial =
      AddAction(menu, "mnuGetCurrentMaterial", "get current material", &TznComposerTab::mnuGetCurrentMaterialClick);
  FGetBoth = AddAction(menu, "mnuGetBoth", "get both", &TznComposerTab::mnuGetBothClick);
  menu->addSeparator();
  FMakeFilterCurrent =
      AddAction(menu, "mnuMakeFilterCurrent", "make filter current", &TznComposerTab::mnuMakeFilterCurrentClick);
  FMakeMaterialCurrent =
      AddAction(menu, "mnuMakeMaterialCurrent", "make material current", &TznComposerTab::mnuMakeMaterialCurrentClick);
  FMakeBothCurrent =
      AddAction(menu, "mnuMakeBothCurrent", "make both current", &TznComposerTab::mnuMakeBothCurrentClick);
  menu->addSeparator();
  FMoveUp = AddAction(menu, "mnuMoveUp", "move up", &TznComposerTab::mnuMoveUpClick);
  FMoveDown = AddAction(menu, "mnuMoveDown", "move down", &TznComposerTab::mnuMoveDownClick);
  menu->addSeparator();
  AddAction(menu, "mnuSelector", "select composer", &TznComposerTab::mnuSelectorClick);
  AddAction(menu, "mnuCreateComposer", "create composer", &TznComposerTab::mnuCreateComposerClick);
  AddAction(menu, "mnuDuplicateComposer", "duplicate composer", &TznComposerTab::mnuDuplicateComposerClick);
  connect(menu, &QMenu::aboutToShow, this, &TznComposerTab::puComposePopup);
}

void TznComposerTab::BuildBasicMaterialMenu() {
  FBasicMaterialMenu = new QMenu(this);
  FBasicMaterialMenu->setObjectName("puBasicMaterial");
  FGetCurrentMaterial1 = AddAction(FBasicMaterialMenu, "mnuGetCurrentMaterial1", "get current material",
                                   &TznComposerTab::mnuGetCurrentMaterial1Click);
  AddAction(FBasicMaterialMenu, "mnuMakeBasicMaterialCurrent", "make basic material current",
            &TznComposerTab::mnuMakeBasicMaterialCurrentClick);
  connect(FBasicMaterialMenu, &QMenu::aboutToShow, this, &TznComposerTab::puBasicMaterialPopup);
}

// ---- the tab's content ----

std::vector<TznComposerRow> TznComposerTab::Rows() const {
  std::vector<TznComposerRow> rows;
  for (int i = 0; i < FComposerList->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = FComposerList->topLevelItem(i);
    rows.push_back({item->text(kFilterColumn).toStdString(), item->text(kMaterialColumn).toStdString()});
  }
  return rows;
}

void TznComposerTab::ShowRows(const std::vector<TznComposerRow>& rows, int selected) {
  FComposerList->clear();
  for (size_t i = 0; i < rows.size(); ++i) {
    auto* item = new QTreeWidgetItem(FComposerList);
    item->setText(0, ToQt(FormatInt(static_cast<int64_t>(i) + 1)));
    item->setText(kFilterColumn, ToQt(rows[i].Filter));
    item->setText(kMaterialColumn, ToQt(rows[i].Material));
  }
  FComposerList->clearSelection();
  if (QTreeWidgetItem* item = FComposerList->topLevelItem(selected)) {
    FComposerList->setCurrentItem(item);
    item->setSelected(true);
  }
}

int TznComposerTab::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = FComposerList->selectedItems();
  return selected.isEmpty() ? -1 : FComposerList->indexOfTopLevelItem(selected.first());
}

void TznComposerTab::SetRowName(int row, int column, const std::string& name) {
  if (QTreeWidgetItem* item = FComposerList->topLevelItem(row)) item->setText(column, ToQt(name));
}

int TznComposerTab::GeneralSettings() const { return FGeneralSettings->checkedId() == 1 ? 1 : 0; }

void TznComposerTab::SetGeneralSettings(int choice) { FGeneralSettings->button(choice == 1 ? 1 : 0)->setChecked(true); }

TznComposerFile TznComposerTab::ComposerData() const {
  TznComposerFile data;
  data.Rows = Rows();
  data.BasicMaterial = Trim(FBasicMaterialName->text().toStdString());
  data.GeneralSettings = GeneralSettings();
  return data;
}

void TznComposerTab::ShowComposer(const TznComposerFile& data, const std::string& file_name) {
  FComposerName->setText(ToQt(file_name));
  FBasicMaterialName->setText(ToQt(data.BasicMaterial));
  {
    // Loading must not write the file back through the choice's handler.
    const QSignalBlocker detached(FGeneralSettings);
    SetGeneralSettings(data.GeneralSettings);
  }
  ShowRows(data.Rows);
}

std::string TznComposerTab::ComposerName() const { return std::string(Trim(FComposerName->text().toStdString())); }

std::string TznComposerTab::CitnumText() const { return FCitnum->text().toStdString(); }

void TznComposerTab::SetCitnumText(const std::string& text) { FCitnum->setText(ToQt(text)); }

// ---- files and composers ----

void TznComposerTab::Start() {
  FBasicMaterialName->clear();
  const std::string standard = FContext.SettingsDir + "Standard.CMP";
  if (!FileExists(standard)) SaveComposerFile(standard);
  LoadComposerFile(standard);
}

bool TznComposerTab::WriteComposer(const std::string& path, const TznComposerFile& data) {
  try {
    WriteComposerFile(path, data);
    return true;
  } catch (const std::exception& error) {
    FContext.Prompts->ShowMessage(error.what());
    return false;
  }
}

void TznComposerTab::SaveComposerFile(const std::string& path) {
  WriteComposer(path, ComposerData());
  FContext.RunUpdateTerrainComposer();
}

void TznComposerTab::LoadComposerFile(const std::string& path) {
  if (!FileExists(path)) return;
  // Read the whole file before the tab changes, so that a file that cannot
  // be read leaves the tab on the composer it showed, still saving there.
  try {
    ShowComposer(ReadComposerFile(path), ExtractFileName(path));
  } catch (const std::exception& error) {
    FContext.Prompts->ShowMessage(error.what());
  }
  FContext.RunUpdateTerrainComposer();
}

void TznComposerTab::SaveTab() {
  const std::string name = ComposerName();
  if (name.empty()) return;
  const std::string path = FContext.SettingsDir + name;
  if (FileExists(path)) SaveComposerFile(path);
}

std::unique_ptr<TznRWXComposer> TznComposerTab::BuildComposerFromTab() {
  const int32_t citizen_number = ParseCitizenNumber(CitnumText());
  // Missing filter and material files give defaults without a word here;
  // only the commands that make them current report them.
  TznComposerBuild build = BuildComposer(ComposerData(), FContext.SettingsDir, FContext.TexturesDir, citizen_number);
  SetCitnumText(FormatInt(citizen_number));
  // Texture pictures are read into memory only; they reach GL when the
  // preview first applies them, so no context is needed here.
  LoadTextures(*build.Composer);
  return std::move(build.Composer);
}

// ---- the list's menu ----

void TznComposerTab::puComposePopup() {
  const TznComposePopupState state =
      ComposePopupState(Rows(), SelectedRow(), CurrentNameOf(FFilterEditor), CurrentNameOf(FMaterialEditor));
  ApplyState(*FComposeMenu, FDeleteItem, state.DeleteItem);
  ApplyState(*FComposeMenu, FGetCurrentFilter, state.GetCurrentFilter);
  ApplyState(*FComposeMenu, FGetCurrentMaterial, state.GetCurrentMaterial);
  ApplyState(*FComposeMenu, FGetBoth, state.GetBoth);
  ApplyState(*FComposeMenu, FMakeFilterCurrent, state.MakeFilterCurrent);
  ApplyState(*FComposeMenu, FMakeMaterialCurrent, state.MakeMaterialCurrent);
  ApplyState(*FComposeMenu, FMakeBothCurrent, state.MakeBothCurrent);
  ApplyState(*FComposeMenu, FMoveUp, state.MoveUp);
  ApplyState(*FComposeMenu, FMoveDown, state.MoveDown);
}

void TznComposerTab::muInsertItemClick() {
  std::vector<TznComposerRow> rows = Rows();
  const int selected = SelectedRow();
  InsertEmptyRow(rows, selected);
  ShowRows(rows, selected >= 0 ? selected + 1 : -1);
  SaveTab();
}

void TznComposerTab::mnuDeleteItemClick() {
  const int selected = SelectedRow();
  if (selected < 0 || !FContext.Prompts->AskYesNo("Delete this item?")) return;
  std::vector<TznComposerRow> rows = Rows();
  rows.erase(rows.begin() + selected);
  ShowRows(rows);
  SaveTab();
}

void TznComposerTab::mnuGetCurrentFilterClick() {
  const int selected = SelectedRow();
  if (selected < 0) return;
  SetRowName(selected, kFilterColumn, CurrentNameOf(FFilterEditor));
  SaveTab();
}

void TznComposerTab::mnuGetCurrentMaterialClick() {
  const int selected = SelectedRow();
  if (selected < 0) return;
  SetRowName(selected, kMaterialColumn, CurrentNameOf(FMaterialEditor));
  SaveTab();
}

void TznComposerTab::mnuGetBothClick() {
  const int selected = SelectedRow();
  if (selected < 0) return;
  SetRowName(selected, kFilterColumn, CurrentNameOf(FFilterEditor));
  SetRowName(selected, kMaterialColumn, CurrentNameOf(FMaterialEditor));
  SaveTab();
}

void TznComposerTab::SelectEditorFile(const TznEditorLink& editor, const std::string& name,
                                      const std::string& not_found) {
  if (!FileExists(FContext.SettingsDir + name)) {
    FContext.Prompts->ShowMessage(not_found);
    return;
  }
  if (editor.SelectFile) editor.SelectFile(name);
}

void TznComposerTab::SelectFilterFile(const std::string& name) {
  SelectEditorFile(FFilterEditor, name, "Filter file not found!");
}

void TznComposerTab::SelectMaterialFile(const std::string& name) {
  SelectEditorFile(FMaterialEditor, name, "Material file not found!");
}

void TznComposerTab::mnuMakeFilterCurrentClick() {
  const int selected = SelectedRow();
  if (selected < 0) return;
  const std::string name = Rows()[selected].Filter;
  if (!name.empty()) SelectFilterFile(name);
}

void TznComposerTab::mnuMakeMaterialCurrentClick() {
  const int selected = SelectedRow();
  if (selected < 0) return;
  const std::string name = Rows()[selected].Material;
  if (!name.empty()) SelectMaterialFile(name);
}

void TznComposerTab::mnuMakeBothCurrentClick() {
  mnuMakeFilterCurrentClick();
  mnuMakeMaterialCurrentClick();
}

void TznComposerTab::mnuMoveUpClick() {
  std::vector<TznComposerRow> rows = Rows();
  if (!MoveRowUp(rows, SelectedRow())) return;
  ShowRows(rows);
  SaveTab();
}

void TznComposerTab::mnuMoveDownClick() {
  std::vector<TznComposerRow> rows = Rows();
  if (!MoveRowDown(rows, SelectedRow())) return;
  ShowRows(rows);
  SaveTab();
}

void TznComposerTab::mnuSelectorClick() {
  TfrmComposeSelect dialog(FContext.SettingsDir, window());
  const int result = FSelectDialogRunner ? FSelectDialogRunner(dialog) : dialog.exec();
  if (result != QDialog::Accepted) return;
  const std::string path = dialog.FileName();
  if (!path.empty() && FileExists(path)) LoadComposerFile(path);
}

void TznComposerTab::NewComposerFile(const std::string& caption, bool keep_rows) {
  try {
    const std::optional<std::string> path = AskNewSettingsFile(*FContext.Prompts, FContext.SettingsDir, caption, "CMP");
    if (!path) return;
    TznComposerFile data = ComposerData();
    if (!keep_rows) data.Rows.clear();
    // The tab moves to the new file only once it is written; otherwise it
    // stays on its own file with its rows.
    const bool written = WriteComposer(*path, data);
    FContext.RunUpdateTerrainComposer();
    if (written) LoadComposerFile(*path);
  } catch (const std::exception& error) {
    FContext.Prompts->ShowMessage(error.what());
  }
}

void TznComposerTab::mnuCreateComposerClick() { NewComposerFile("Create new Compose file", false); }

void TznComposerTab::mnuDuplicateComposerClick() { NewComposerFile("Duplicate Compose file", true); }

// ---- the basic material ----

void TznComposerTab::btBasicMaterialClick() {
  FBasicMaterialMenu->popup(FBasicMaterialButton->mapToGlobal(QPoint(0, FBasicMaterialButton->height() + 16)));
}

void TznComposerTab::puBasicMaterialPopup() {
  FGetCurrentMaterial1->setText(
      MenuCaption(*FBasicMaterialMenu, "Get current material: " + CurrentNameOf(FMaterialEditor)));
}

void TznComposerTab::mnuGetCurrentMaterial1Click() {
  FBasicMaterialName->setText(ToQt(CurrentNameOf(FMaterialEditor)));
  SaveTab();
}

void TznComposerTab::mnuMakeBasicMaterialCurrentClick() {
  const std::string name(Trim(FBasicMaterialName->text().toStdString()));
  if (!name.empty()) SelectMaterialFile(name);
}

void TznComposerTab::rgBasicMaterialClick() { SaveTab(); }
