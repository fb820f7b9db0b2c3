// The scale dialog of the map window: new lengths for the terrain's edges
// and, by choice, new heights for its highest and lowest points. "Test"
// shows what the values would give; nothing changes in the terrain until
// "Accept", which rescales the terrain with its origin, selection and
// viewer and then runs the hooks that refresh the other windows.
#pragma once

#include <QDialog>

#include <functional>

#include "views/znScaleValues.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QToolButton;
class TznPrompts;
class TznTerra;

// What runs after a successful rescale, in this order: the terrain's
// composer, the main window's status bars, the map. Empty hooks are skipped.
struct TznScaleHooks {
  std::function<void()> UpdateTerrainComposer;
  std::function<void()> UpdateStatusBars;
  std::function<void()> RefreshMap;
};

class TfrmScaleIt : public QDialog {
  Q_OBJECT

 public:
  TfrmScaleIt(TznTerra& terra, TznPrompts& prompts, TznScaleHooks hooks = {}, QWidget* parent = nullptr);

  // Shows the dialog modally; true when the terrain was rescaled.
  static bool Execute(QWidget* parent, TznTerra& terra, TznPrompts& prompts, TznScaleHooks hooks);

  // The terrain's edges and extreme heights into the edits.
  void ResetFields();
  // Computes the new values from the edits and shows the dependent ones;
  // on a bad value puts the last good texts back, shows the message and
  // returns false. Changes nothing in the terrain.
  bool CheckValues();
  // Rescales the terrain with the values of the last check.
  void ApplyValues();
  void UpdateControls();

  // Item of rgAltitude: 0 keep ratio, 1 highest and lowest, 2 lowest.
  int AltitudeIndex() const;
  void SetAltitudeIndex(int index);
  bool DriveY() const { return FDriveY; }

  // "Accept" runs the check and, when it passes, applies it and the hooks;
  // a failed check keeps the dialog open. Any other result changes nothing.
  void done(int result) override;

  QToolButton* btScaleX = nullptr;
  QLineEdit* edScaleX = nullptr;
  QToolButton* btScaleY = nullptr;
  QLineEdit* edScaleY = nullptr;
  QToolButton* btHigh = nullptr;
  QLineEdit* edHigh = nullptr;
  QToolButton* btLow = nullptr;
  QLineEdit* edLow = nullptr;
  QCheckBox* cbRatio = nullptr;
  QGroupBox* rgAltitude = nullptr;
  QPushButton* btTest = nullptr;
  QPushButton* btReset = nullptr;
  QPushButton* btAccept = nullptr;
  QPushButton* btCancel = nullptr;

 private:
  void CreateControls();
  QToolButton* CreateSpeedButton(const char* name, const char* caption);
  QLineEdit* CreateEdit(const char* name);
  TznScaleOptions Options() const;
  TznScaleTexts Texts() const;
  void ShowTexts(const TznScaleTexts& texts);
  void btScaleXClick();
  void btScaleYClick();

  TznTerra& FTerra;
  TznPrompts& FPrompts;
  TznScaleHooks FHooks;
  QButtonGroup* FAltitudeItems = nullptr;
  TznScaleTexts FLast;
  TznScaleValues FNew;
  bool FDriveY = false;
};
