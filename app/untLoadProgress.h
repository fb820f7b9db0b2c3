// The progress window of a slow terrain load: it stays hidden for the
// first half second, then shows the file's name, a bar and "Cancel". Its
// progress call keeps every window answering while the load reads, and
// tells the load to stop once the user cancelled.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <string>

#include "app/znLoadProgress.h"

class TfrmLoadProgress : public QDialog {
  Q_OBJECT

 public:
  TfrmLoadProgress(const std::string& file_name, TznLoadProgress::TClock clock, QWidget* parent = nullptr);
  ~TfrmLoadProgress() override;

  // The load's progress call with the fraction read; false once the user
  // cancelled.
  bool LoadProgress(double done);
  bool CancelRequested() const { return FCancelRequested; }

  QLabel* Label1 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QPushButton* btCancel = nullptr;

 public slots:
  void btCancelClick() { FCancelRequested = true; }
  // Escape and the close box cancel as the button does; the window goes
  // when the load returns.
  void reject() override { btCancelClick(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  TznLoadProgress FProgress;
  bool FCancelRequested = false;
  // The arrow cursor is set while the window shows.
  bool FArrowCursor = false;
};
