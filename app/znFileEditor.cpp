#include "app/znFileEditor.h"

#include <QAbstractButton>
#include <QLabel>

#include <optional>

#include "app/znAppContext.h"
#include "app/znFileListBox.h"
#include "app/znSettingsName.h"
#include "base/znError.h"
#include "base/znFormat.h"
#include "base/znSafeFile.h"
#include "views/znPrompts.h"

TznFileEditor::TznFileEditor(TznAppContext& context, TznEditedKind kind) : FContext(context), FKind(kind) {}

void TznFileEditor::Start() {
  ResetItem();
  const std::string standard = FContext.SettingsDir + "Standard." + FKind.Extension;
  if (!FileExists(standard)) {
    try {
      SaveItem(standard);
    } catch (const EznError& error) {
      ShowMessage(error.what());
    }
  }
  ItemToControls();
  FControls.List->SetMask(std::string("*.") + FKind.Extension);
  FControls.List->SetDirectory(FContext.SettingsDir);
  FControls.List->SelectIndex(0);
  FStates.Browse();
  SetEditState();
}

std::string TznFileEditor::CurrentName() const { return std::string(Trim(FControls.NameLabel->text().toStdString())); }

std::string TznFileEditor::SelectedFileName() const { return FControls.List->SelectedName(); }

void TznFileEditor::SelectFile(const std::string& name) {
  if (!TrySelectFile(name)) ShowMessage(std::string(FKind.Title) + " file not found!");
}

bool TznFileEditor::TrySelectFile(const std::string& name) {
  return !Trim(name).empty() && FControls.List->SelectFile(name);
}

TznEditorLink TznFileEditor::Link() {
  return {[this] { return CurrentName(); }, [this](const std::string& name) { SelectFile(name); }};
}

void TznFileEditor::ListChange() {
  const std::string file_name = FControls.List->FileName();
  if (file_name.empty() || !FileExists(file_name)) return;
  try {
    LoadItem(file_name);
  } catch (const EznError& error) {
    ShowMessage(error.what());
    return;
  }
  FControls.NameLabel->setText(QString::fromStdString(ExtractFileName(file_name)));
  ItemToControls();
}

void TznFileEditor::SetEditState() {
  const TznEditorEnabling row = FStates.Enabling();
  FControls.List->setEnabled(row.List);
  FControls.Group->setEnabled(row.Group);
  for (QAbstractButton* button : {FControls.Edit, FControls.Create, FControls.Duplicate})
    button->setEnabled(row.BrowseButtons);
  for (QAbstractButton* button : {FControls.Accept, FControls.Cancel}) button->setEnabled(row.EditButtons);
}

void TznFileEditor::EditClick() {
  if (!FStates.Allows(TznEditorCommand::Edit)) return;
  FStates.Done(TznEditorCommand::Edit);
  SetEditState();
}

void TznFileEditor::AcceptClick() {
  if (!FStates.Allows(TznEditorCommand::Accept)) return;
  // Values the files cannot carry are refused before anything changes; the
  // editor stays in its edit state.
  if (const std::string problem = AcceptProblem ? AcceptProblem() : std::string(); !problem.empty()) {
    ShowMessage(problem);
    return;
  }
  const std::function<void()> restore = KeepItem();
  ControlsToItem();
  const std::string name = CurrentName();
  if (name.empty() || !FileExists(FContext.SettingsDir + name)) {
    // A file deleted behind our back is not made again: the item keeps the
    // values, as it would in a file, but the user learns that no file has
    // them.
    ShowMessage(AcceptNotWrittenMessage(FKind.Noun, name));
  } else {
    try {
      SaveItem(FContext.SettingsDir + name);
    } catch (const EznError& error) {
      // Not written: the editor stays in its edit state with the typed
      // values, so that "accept" can try again and "cancel" returns to the
      // file as it is.
      restore();
      ShowMessage(error.what());
      return;
    }
  }
  FStates.Done(TznEditorCommand::Accept);
  SetEditState();
  FContext.RunUpdateTerrainComposer();
}

void TznFileEditor::CancelClick() {
  if (!FStates.Allows(TznEditorCommand::Cancel)) return;
  ItemToControls();  // drops the edits
  FStates.Done(TznEditorCommand::Cancel);
  SetEditState();
}

void TznFileEditor::CreateClick() {
  if (FStates.Allows(TznEditorCommand::Create)) MakeFile(false, std::string("Create new ") + FKind.Title);
}

void TznFileEditor::DuplicateClick() {
  if (FStates.Allows(TznEditorCommand::Duplicate)) MakeFile(true, std::string("Duplicate ") + FKind.Title);
}

void TznFileEditor::MakeFile(bool duplicate, const std::string& caption) {
  try {
    if (const std::optional<std::string> path =
            AskNewSettingsFile(*FContext.Prompts, FContext.SettingsDir, caption, FKind.Extension)) {
      SaveNewItem(*path, duplicate);
      FControls.List->Update();
      FControls.List->SelectName(ExtractFileName(*path));  // loads it through ListChange
    }
  } catch (const EznError& error) {
    ShowMessage(error.what());
  }
  FContext.RunUpdateTerrainComposer();
}

void TznFileEditor::ShowMessage(const std::string& message) const { FContext.Prompts->ShowMessage(message); }
