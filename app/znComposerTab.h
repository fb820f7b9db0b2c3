// The "Composer" tab of the main window: the ordered filter/material rows
// of one .CMP file in the Settings folder, its basic material, whose
// general settings apply, and the citizen number of the object list. Every
// change is written to the file at once, and every write or load asks the
// main window to rebuild the terrain's composer.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/znAppContext.h"
#include "app/znEditorLink.h"
#include "rwx/znComposerFile.h"
#include "rwx/znRWXComposer.h"

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeWidget;
class TfrmComposeSelect;

class TznComposerTab : public QWidget {
  Q_OBJECT

 public:
  // Runs the composer selection dialog and returns its result
  // (QDialog::Accepted or Rejected); by default the dialog's modal exec.
  using TznSelectDialogRunner = std::function<int(TfrmComposeSelect&)>;

  TznComposerTab(TznAppContext& context, TznEditorLink filter_editor, TznEditorLink material_editor,
                 QWidget* parent = nullptr);

  // Start-up: clears the basic material name; writes the (empty) tab to
  // Standard.CMP when the Settings folder has none; then loads that file.
  void Start();
  // Writes the tab to the .CMP file at path, then rebuilds the terrain's
  // composer. A failed write is shown in a message box.
  void SaveComposerFile(const std::string& path);
  // Reads the .CMP file at path into the tab, then rebuilds the terrain's
  // composer. Nothing happens when the file does not exist; a file that
  // cannot be read is shown in a message box and the tab keeps what it shows.
  void LoadComposerFile(const std::string& path);
  // A new composer from the tab, its preview textures loaded; the caller owns
  // it. Normalises the citizen number box. Throws what reading a filter or
  // material file throws.
  std::unique_ptr<TznRWXComposer> BuildComposerFromTab();

  // The composer's file name without folder, trimmed.
  std::string ComposerName() const;
  std::string CitnumText() const;
  void SetCitnumText(const std::string& text);
  // What the tab shows, as the content of a .CMP file.
  TznComposerFile ComposerData() const;

  // Selects and loads a file (name without folder) on the Filter or
  // Material tab; "Filter file not found!" or "Material file not found!"
  // when the Settings folder does not hold it.
  void SelectFilterFile(const std::string& name);
  void SelectMaterialFile(const std::string& name);

  void SetSelectDialogRunner(TznSelectDialogRunner runner) { FSelectDialogRunner = std::move(runner); }

 public slots:
  void puComposePopup();
  void muInsertItemClick();
  void mnuDeleteItemClick();
  void mnuGetCurrentFilterClick();
  void mnuGetCurrentMaterialClick();
  void mnuGetBothClick();
  void mnuMakeFilterCurrentClick();
  void mnuMakeMaterialCurrentClick();
  void mnuMakeBothCurrentClick();
  void mnuMoveUpClick();
  void mnuMoveDownClick();
  void mnuSelectorClick();
  void mnuCreateComposerClick();
  void mnuDuplicateComposerClick();
  void btBasicMaterialClick();
  void puBasicMaterialPopup();
  void mnuGetCurrentMaterial1Click();
  void mnuMakeBasicMaterialCurrentClick();
  void rgBasicMaterialClick();

 private:
  void BuildControls();
  void BuildComposeMenu();
  void BuildBasicMaterialMenu();
  QAction* AddAction(QMenu* menu, const char* name, const char* caption, void (TznComposerTab::*slot)());

  std::vector<TznComposerRow> Rows() const;
  // Rewrites the list from rows, numbered 1 .. n; selects the row at
  // selected (none when -1).
  void ShowRows(const std::vector<TznComposerRow>& rows, int selected = -1);
  void ShowComposer(const TznComposerFile& data, const std::string& file_name);
  int SelectedRow() const;
  void SetRowName(int row, int column, const std::string& name);
  int GeneralSettings() const;
  void SetGeneralSettings(int choice);

  // Writes data to path; false (after telling the user) when that failed.
  bool WriteComposer(const std::string& path, const TznComposerFile& data);
  // Writes the tab to its own file, if that file still exists.
  void SaveTab();
  // "create composer" and "duplicate composer".
  void NewComposerFile(const std::string& caption, bool keep_rows);
  void SelectEditorFile(const TznEditorLink& editor, const std::string& name, const std::string& not_found);

  TznAppContext& FContext;
  TznEditorLink FFilterEditor;
  TznEditorLink FMaterialEditor;
  TznSelectDialogRunner FSelectDialogRunner;

  QLabel* FComposerName = nullptr;
  QTreeWidget* FComposerList = nullptr;
  QPushButton* FBasicMaterialButton = nullptr;
  QLabel* FBasicMaterialName = nullptr;
  QGroupBox* FGeneralSettingsBox = nullptr;
  QButtonGroup* FGeneralSettings = nullptr;
  QLineEdit* FCitnum = nullptr;

  QMenu* FComposeMenu = nullptr;
  QAction* FDeleteItem = nullptr;
  QAction* FGetCurrentFilter = nullptr;
  QAction* FGetCurrentMaterial = nullptr;
  QAction* FGetBoth = nullptr;
  QAction* FMakeFilterCurrent = nullptr;
  QAction* FMakeMaterialCurrent = nullptr;
  QAction* FMakeBothCurrent = nullptr;
  QAction* FMoveUp = nullptr;
  QAction* FMoveDown = nullptr;
  QMenu* FBasicMaterialMenu = nullptr;
  QAction* FGetCurrentMaterial1 = nullptr;
};
