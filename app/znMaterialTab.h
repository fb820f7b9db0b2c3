// The "Material" tab of the main window: browses the .MTR files of the
// Settings folder and edits one of them, CurrentMaterial, through a browse
// and an edit state. "edit" unlocks the property group, "accept" writes it
// back to the same file, "cancel" drops the edits; "create" and "duplicate"
// make a new file from the defaults or from the current material.
#pragma once

#include <QFrame>
#include <QWidget>

#include <string>

#include "app/znAppContext.h"
#include "app/znEditorLink.h"
#include "app/znItemEditor.h"
#include "rwx/znRWXMaterial.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;
class TznFileListBox;

// A panel painted in one colour that reports a click; disabled, it takes
// no clicks.
class TznColorSwatch : public QFrame {
  Q_OBJECT

 public:
  explicit TznColorSwatch(QWidget* parent = nullptr);
  void SetColor(TColor color);
  TColor Color() const { return FColor; }

 signals:
  void Click();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  TColor FColor = 0;
};

class TznMaterialTab : public QWidget {
  Q_OBJECT

 public:
  explicit TznMaterialTab(TznAppContext& context, QWidget* parent = nullptr);

  // Start-up: CurrentMaterial takes the defaults, Standard.MTR is written
  // when the Settings folder lacks it, the list shows the folder's .MTR
  // files and its first entry is loaded; the editor is left browsing.
  void Start();

  TznRWXMaterial& CurrentMaterial() { return FEditor.Current(); }
  bool MaterialEditing() const { return FEditor.Editing(); }
  // The trimmed file name of the current material, without folder.
  std::string MaterialName() const;
  // The name of the entry selected in the list; empty without a selection.
  std::string SelectedFileName() const;
  // Selects the file (a name without folder) in the list and loads it;
  // says "Material file not found!" when there is no such file.
  void SelectMaterialFile(const std::string& name);
  // The same without a word: false, and nothing changed, when the folder
  // holds no material file of that name (start-up skips such names).
  bool TrySelectMaterialFile(const std::string& name);
  // The current material's name and SelectMaterialFile, for the Composer tab.
  TznEditorLink EditorLink() { return FEditor.Link(); }

 public slots:
  void MaterialListChange();
  void MaterialToControls();
  void ControlsToMaterial();
  void EnableMaterialControls();
  void SetMaterialEditState();
  void ShowTexturePreview(const std::string& name);

  void btEditMaterialEditClick();
  void btEditMaterialAcceptClick();
  void btEditMaterialCancelClick();
  void btEditMaterialCreateClick();
  void btEditMaterialDuplicateClick();
  void cbMaterialEnableClick();
  void pnMaterialColorClick();
  void edTextureExit();
  // Enter (key code 13) previews the typed texture.
  void edTextureKeyDown(int key);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  QWidget* BuildButtonPanel();
  QGroupBox* BuildMaterialGroup();
  QWidget* BuildPreviewColumn();
  void ConnectControls();
  // Why "accept" refuses the typed texture name; empty when it takes it.
  std::string TextureNameMessage() const;
  void ShowColor(TColor color);

  TznAppContext& FContext;
  // The list, the browse/edit states and CurrentMaterial.
  TznItemEditor<TznRWXMaterial> FEditor;

  TznFileListBox* MaterialList = nullptr;
  QWidget* Panel1 = nullptr;
  QToolButton* btEditMaterialCreate = nullptr;
  QToolButton* btEditMaterialDuplicate = nullptr;
  QToolButton* btEditMaterialEdit = nullptr;
  QToolButton* btEditMaterialAccept = nullptr;
  QToolButton* btEditMaterialCancel = nullptr;

  QGroupBox* gbMaterial = nullptr;
  QLabel* lbMaterialName = nullptr;
  QCheckBox* cbUseTexture = nullptr;
  QLineEdit* edTexture = nullptr;
  QCheckBox* cbSurface = nullptr;
  QFrame* pnSurface = nullptr;
  QLineEdit* edAmbient = nullptr;
  QLineEdit* edDiffuse = nullptr;
  QLineEdit* edSpecular = nullptr;
  QCheckBox* cbColor = nullptr;
  QFrame* pnColor = nullptr;
  QLabel* lbMaterialRed = nullptr;
  QLabel* lbMaterialGreen = nullptr;
  QLabel* lbMaterialBlue = nullptr;
  TznColorSwatch* pnMaterialColor = nullptr;
  QCheckBox* cbOpacity = nullptr;
  QLineEdit* edOpacity = nullptr;
  QCheckBox* cbUseTag = nullptr;
  QLineEdit* edTag = nullptr;
  QLineEdit* edComment = nullptr;
  QCheckBox* cbLightSampling = nullptr;
  QFrame* pnLightsampling = nullptr;
  QRadioButton* rbVertex = nullptr;
  QRadioButton* rbFacet = nullptr;
  QCheckBox* cbGeometrysampling = nullptr;
  QFrame* pnGeometrysampling = nullptr;
  QRadioButton* rbGSSolid = nullptr;
  QRadioButton* rbGSWireframe = nullptr;
  QCheckBox* cbMaterialmodes = nullptr;
  QFrame* pnMaterialmodes = nullptr;
  QRadioButton* rbMMNull = nullptr;
  QRadioButton* rbMMDouble = nullptr;
  QCheckBox* cbTexturemodes = nullptr;
  QFrame* pnTexturemodes = nullptr;
  QCheckBox* cbTMLit = nullptr;
  QCheckBox* cbTMForeshorten = nullptr;
  QCheckBox* cbTMFilter = nullptr;
  QLabel* imMaterial = nullptr;
};
