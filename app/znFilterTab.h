// The "Filter" tab of the main window: browses the .FTR files of the
// Settings folder and edits one of them, the current filter, through a
// browse/edit state machine. "edit" unlocks the values, "accept" writes them
// back to the same file, "cancel" drops them; "create" and "duplicate" make
// a new file from the defaults or from the current filter. Each value box is
// enabled only while its switch is on.
#pragma once

#include <QWidget>
#include <string>

#include "app/znEditorLink.h"
#include "app/znItemEditor.h"
#include "rwx/znRWXFaceFilter.h"

struct TznAppContext;
class TznFileListBox;
class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TznFilterTab : public QWidget {
  Q_OBJECT

 public:
  explicit TznFilterTab(TznAppContext& context, QWidget* parent = nullptr);

  // Start-up: the current filter takes the defaults, Standard.FTR is written
  // when missing (never overwritten), the list shows the Settings folder's
  // .FTR files and its first entry is loaded; the editor is left browsing.
  void Start();

  TznRWXFaceFilter& CurrentFilter() { return FEditor.Current(); }
  bool FilterEditing() const { return FEditor.Editing(); }
  // The trimmed name of the current filter's file (without folder).
  std::string FilterName() const;
  // The name of the entry selected in the list; empty without a selection.
  std::string SelectedFileName() const;
  // Selects the file (a name without folder) in the list, without regard to
  // case, and loads it; says "Filter file not found!" when it is missing.
  void SelectFilterFile(const std::string& name);
  // The same without a word: false, and nothing changed, when the folder
  // holds no filter file of that name (start-up skips such names).
  bool TrySelectFilterFile(const std::string& name);
  // The current filter's name and SelectFilterFile, for the Composer tab.
  TznEditorLink EditorLink() { return FEditor.Link(); }

 public slots:
  void FilterListChange();
  void FilterToControls();
  // Reads every control into the current filter, then shows it as stored.
  void ControlsToFilter();
  void EnableFilterControls();
  void SetFilterEditState();
  void btFilterEditClick();
  void btFilterAcceptClick();
  void btFilterCancelClick();
  void btFilterCreateClick();
  void btFilterDuplicateClick();
  void cbFilterClick();

 private:
  QWidget* BuildButtonPanel();
  QGroupBox* BuildFilterGroup();
  QGroupBox* BuildVerticesGroup();
  QGroupBox* BuildApplyToGroup();
  QGroupBox* BuildGradientGroup();
  QCheckBox* AddLimitRow(QGridLayout& grid, int row, const char* switch_name, const QString& caption,
                         const char* edit_name, QLineEdit*& edit, int edit_width);
  QPushButton* MakeButton(const char* name, const char* caption);

  // The list, the browse/edit states and the current filter.
  TznItemEditor<TznRWXFaceFilter> FEditor;

  TznFileListBox* FilterList = nullptr;
  QWidget* Panel2 = nullptr;
  QPushButton* btFilterCreate = nullptr;
  QPushButton* btFilterDuplicate = nullptr;
  QPushButton* btFilterEdit = nullptr;
  QPushButton* btFilterAccept = nullptr;
  QPushButton* btFilterCancel = nullptr;
  QGroupBox* gbFilter = nullptr;
  QLabel* lbFilterName = nullptr;
  QGroupBox* gbFilterVertices = nullptr;
  QCheckBox* cbFilterHigh = nullptr;
  QCheckBox* cbFilterLow = nullptr;
  QCheckBox* cbFilterWest = nullptr;
  QCheckBox* cbFilterEast = nullptr;
  QCheckBox* cbFilterNorth = nullptr;
  QCheckBox* cbFilterSouth = nullptr;
  QLineEdit* edFilterHigh = nullptr;
  QLineEdit* edFilterLow = nullptr;
  QLineEdit* edFilterWest = nullptr;
  QLineEdit* edFilterEast = nullptr;
  QLineEdit* edFilterNorth = nullptr;
  QLineEdit* edFilterSouth = nullptr;
  QGroupBox* rgFilterVertices = nullptr;
  QButtonGroup* FApplyToChoices = nullptr;  // ids are the TznApplyToVerts values
  QGroupBox* GroupBox2 = nullptr;
  QCheckBox* cbFilterGradientHigh = nullptr;
  QCheckBox* cbFilterGradientLow = nullptr;
  QLineEdit* edFilterGradientHigh = nullptr;
  QLineEdit* edFilterGradientLow = nullptr;
};
