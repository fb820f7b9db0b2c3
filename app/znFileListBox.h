// A list of the files in one folder that match a mask such as "*.MTR",
// sorted by name without regard to case. Shows names without folder;
// FileName gives the selected entry's full path.
#pragma once

#include <QListWidget>

#include <string>
#include <vector>

class TznFileListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit TznFileListBox(QWidget* parent = nullptr);

  // The folder ends with a path separator (one is added when missing).
  void SetDirectory(const std::string& folder);
  const std::string& Directory() const { return FDirectory; }
  // The mask matches without regard to case, as on the systems where
  // these files were first made.
  void SetMask(const std::string& mask);
  // Reads the folder again; the selection is cleared.
  void Update();

  // Full path of the selected entry; empty without a selection.
  std::string FileName() const;
  // Name of the selected entry without folder; empty without a selection.
  std::string SelectedName() const;
  // Selects the entry of that name: the one of exactly that name, else one
  // that differs only in case (two such files can live side by side here).
  // False, and the selection left as it was, when there is none.
  bool SelectName(const std::string& name);
  // Selects a file of the folder by name; reads the folder again once when
  // the file exists but is not listed yet. False, and the selection left as
  // it was, when there is no such file or the mask does not take it.
  bool SelectFile(const std::string& name);
  // Selects an entry by position (-1 clears the selection).
  void SelectIndex(int index);
  std::vector<std::string> Names() const;
  // The mask takes the name, without regard to case.
  bool MatchesMask(const std::string& name) const;

 signals:
  // The selection changed, by the user or by one of the Select calls.
  void Change();

 protected:
  // Ctrl+click (or Ctrl+Space) on the selected entry keeps it selected: the
  // tab goes on showing that file, and the list must go on naming it.
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event = nullptr) const override;

 private:
  std::string FDirectory;
  std::string FMask = "*";
};
