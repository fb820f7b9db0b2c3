// The light dialog of the 3D preview: the sun's azimuth and altitude in
// degrees and its brightness, which becomes a grey light colour. It starts
// with the terrain's values; "ok" checks the two numbers and writes all three
// back to the terrain, the close box leaves the terrain as it was.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class TznPrompts;
class TznTerra;

class TfrmLightPosition : public QDialog {
  Q_OBJECT

 public:
  TfrmLightPosition(TznTerra& terra, TznPrompts& prompts, QWidget* parent = nullptr);

  // Shows the dialog modally; true when "ok" wrote new values to the terrain.
  static bool Execute(QWidget* parent, TznTerra& terra, TznPrompts& prompts);

  QLabel* Label1 = nullptr;
  QLineEdit* edAzimuth = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* edAltitude = nullptr;
  QLabel* lbBrightness = nullptr;
  QSlider* tbBrightness = nullptr;
  QPushButton* Button1 = nullptr;

  // "ok": with two valid numbers the terrain takes them and the dialog
  // closes; otherwise "Error in input!" and it stays open. Any other result
  // closes it and changes nothing.
  void done(int result) override;

 private:
  void CreateControls();
  void tbBrightnessChange(int position);
  bool ApplyInput();

  TznTerra& FTerra;
  TznPrompts& FPrompts;
};

// What the preview's "light..." item does: the dialog filled from the
// terrain, the values applied on "ok". True when they were applied, so the
// preview hands the new light to its scene.
bool RunLightPositionDialog(QWidget* parent, TznTerra& terra, TznPrompts& prompts);
