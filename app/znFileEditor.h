// The part of the Material and Filter tabs that does not depend on what the
// files hold: the list of the Settings folder's files of one kind, the
// browse/edit state machine with its buttons, "create" and "duplicate", and
// the loading and saving of the current item. The tab builds and lays out
// the controls, hands them over with SetControls, and supplies the moving
// of the item's values to and from its own controls.
#pragma once

#include <functional>
#include <string>

#include "app/znEditorLink.h"
#include "app/znEditorStates.h"

struct TznAppContext;
class QAbstractButton;
class QLabel;
class QWidget;
class TznFileListBox;

// The kind of file edited, in the words of the messages and captions.
struct TznEditedKind {
  const char* Noun;       // "material": "The material file ... so nothing was written."
  const char* Title;      // "Material": "Create new Material", "Material file not found!"
  const char* Extension;  // "MTR": the mask "*.MTR" and Standard.MTR
};

// The controls the state machine drives; the tab owns them.
struct TznFileEditorControls {
  TznFileListBox* List = nullptr;
  QWidget* Group = nullptr;     // the property group, enabled only while editing
  QLabel* NameLabel = nullptr;  // the file name of the current item
  QAbstractButton* Edit = nullptr;
  QAbstractButton* Create = nullptr;
  QAbstractButton* Duplicate = nullptr;
  QAbstractButton* Accept = nullptr;
  QAbstractButton* Cancel = nullptr;
};

class TznFileEditor {
 public:
  TznFileEditor(TznAppContext& context, TznEditedKind kind);
  virtual ~TznFileEditor() = default;
  TznFileEditor(const TznFileEditor&) = delete;
  TznFileEditor& operator=(const TznFileEditor&) = delete;

  void SetControls(const TznFileEditorControls& controls) { FControls = controls; }
  // Shows the current item in the tab's controls (and runs the tab's own
  // enabling of its values).
  std::function<void()> ItemToControls;
  // Reads the tab's controls into the current item, then shows it as stored.
  std::function<void()> ControlsToItem;
  // Why "accept" cannot take the typed values, as a message; empty when it
  // can. Optional.
  std::function<std::string()> AcceptProblem;

  // Start-up: the current item takes the defaults, the standard file is
  // written when the Settings folder lacks it (never overwritten), the list
  // shows the folder's files of the kind and its first entry is loaded; the
  // editor is left browsing.
  void Start();

  bool Editing() const { return FStates.Editing(); }
  // The trimmed file name of the current item, without folder.
  std::string CurrentName() const;
  // The name of the entry selected in the list; empty without a selection.
  std::string SelectedFileName() const;
  // Selects the file (a name without folder) in the list and loads it;
  // says "<Title> file not found!" when there is no such file.
  void SelectFile(const std::string& name);
  // The same without a word: false, and nothing changed, when the folder
  // holds no file of that name.
  bool TrySelectFile(const std::string& name);
  // What the Composer tab needs of this editor.
  TznEditorLink Link();

  // The list's selection changed: loads the selected file, if it exists.
  void ListChange();
  // Enables the controls of the current state.
  void SetEditState();
  void EditClick();
  void AcceptClick();
  void CancelClick();
  void CreateClick();
  void DuplicateClick();

 protected:
  // The current item of the kind, through the subclass that holds it.
  virtual void ResetItem() = 0;
  // Loads the file into the current item; on an error the item is as it was.
  virtual void LoadItem(const std::string& path) = 0;
  virtual void SaveItem(const std::string& path) const = 0;
  // Writes the defaults, or a copy of the current item, to a new file.
  virtual void SaveNewItem(const std::string& path, bool duplicate) const = 0;
  // What puts the current item back as it is now, for a failed "accept".
  virtual std::function<void()> KeepItem() = 0;

 private:
  // "create" and "duplicate": writes the new item to a file named through
  // the input box, then selects and loads that file.
  void MakeFile(bool duplicate, const std::string& caption);
  void ShowMessage(const std::string& message) const;

  TznAppContext& FContext;
  TznEditedKind FKind;
  TznFileEditorControls FControls;
  TznEditorStates FStates;
};
