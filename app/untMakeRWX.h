// The progress dialog of "Save to RWX": it starts the terrain's batch
// writer once it has been shown, counts the objects with a text and a bar,
// lets the user cancel between two objects, and closes by itself when the
// batch returns.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "base/znModelFormat.h"
#include "rwx/znRWXRegion.h"

class TznPrompts;
class TznRWXComposer;
class TznTerra;

class TfrmMakeRWX : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmMakeRWX(TznPrompts& prompts, QWidget* parent = nullptr);

  // Set by the command before the dialog is shown; the composer and the
  // terrain are borrowed.
  std::string BaseFileName;
  const TznRWXComposer* Composer = nullptr;
  TznTerra* Terra = nullptr;
  // The object files: RWX, or Wavefront OBJ with a material library.
  TznModelFormat Format = TznModelFormat::Rwx;
  // Only the objects whose centres lie inside it; none for the whole
  // terrain.
  std::optional<TznRWXRegion> Region;
  // Go on with the unfinished run under the base name.
  bool Resume = false;

  bool Running = false;
  bool CancelRequested = false;
  // The batch writer's message when it stopped on an error; empty otherwise.
  std::string Error;
  // Temporary files that a killed earlier run under the base name left and
  // the batch writer removed.
  int LeftoversRemoved = 0;

  QLabel* Label1 = nullptr;
  // Bytes written, the rate and the time left.
  QLabel* lblFigures = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QPushButton* btCancel = nullptr;

  // Posts the start of the batch to the dialog itself.
  void StartMaking();
  // The batch writer's progress call, once before each object.
  void MakeProgress(int index, int total, int64_t bytes, bool& go_on);

 public slots:
  void WMMakeRWX();
  void btCancelClick();
  // Escape asks like the cancel button; the dialog ends only with the batch.
  void reject() override { btCancelClick(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  TznPrompts& FPrompts;
  bool FFinished = false;
  bool FObjectsStarted = false;  // the batch writer called for an object
  int FFirstIndex = 0;           // the first object this run writes
  std::chrono::steady_clock::time_point FStarted, FTextShown, FFiguresShown;
};
