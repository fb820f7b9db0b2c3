// The composer selection dialog: the .CMP files of the Settings folder, one
// of which the user picks to edit on the Composer tab.
#pragma once

#include <QDialog>

#include <string>

class QPushButton;
class TznFileListBox;

class TfrmComposeSelect : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmComposeSelect(const std::string& settings_dir, QWidget* parent = nullptr);

  TznFileListBox* FileList() const { return FFileList; }
  // Full path of the selected file; empty without a selection.
  std::string FileName() const;

 private:
  TznFileListBox* FFileList;
  QPushButton* FAccept;
  QPushButton* FCancel;
};
