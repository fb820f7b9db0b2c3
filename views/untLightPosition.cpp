#include "views/untLightPosition.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "views/znLightSettings.h"
#include "views/znPrompts.h"

namespace {
QString Text(const std::string& text) { return QString::fromStdString(text); }

// The widget, named and placed on its dialog.
template <typename Widget>
Widget* Placed(Widget* widget, const char* name, const QRect& geometry) {
  widget->setObjectName(name);
  widget->setGeometry(geometry);
  return widget;
}
}  // namespace

TfrmLightPosition::TfrmLightPosition(TznTerra& terra, TznPrompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      FTerra(terra),
      FPrompts(prompts) {
  setObjectName("frmLightPosition");
  setWindowTitle("light");
  CreateControls();

  const TznLightSettings settings = ReadLightSettings(FTerra);
  edAzimuth->setText(Text(FormatAngle(settings.Azimuth)));
  edAltitude->setText(Text(FormatAngle(settings.Elevation)));
  tbBrightness->setValue(settings.Brightness);
}

void TfrmLightPosition::CreateControls() {
  setFixedSize(196, 133);

  Label1 = Placed(new QLabel("Azimuth N to W", this), "Label1", {8, 8, 90, 32});
  Label1->setWordWrap(true);
  edAzimuth = Placed(new QLineEdit(this), "edAzimuth", {104, 12, 84, 24});
  Label2 = Placed(new QLabel("Altitude", this), "Label2", {8, 44, 90, 24});
  edAltitude = Placed(new QLineEdit(this), "edAltitude", {104, 44, 84, 24});
  lbBrightness = Placed(new QLabel("Brightness", this), "lbBrightness", {0, 72, 108, 20});
  lbBrightness->setAlignment(Qt::AlignCenter);

  tbBrightness = Placed(new QSlider(Qt::Horizontal, this), "tbBrightness", {8, 94, 90, 30});
  tbBrightness->setRange(0, 100);
  tbBrightness->setSingleStep(10);
  tbBrightness->setPageStep(10);
  tbBrightness->setTickInterval(10);
  tbBrightness->setTickPosition(QSlider::TicksBelow);
  connect(tbBrightness, &QSlider::valueChanged, this, &TfrmLightPosition::tbBrightnessChange);

  Button1 = Placed(new QPushButton("ok", this), "Button1", {112, 96, 76, 28});
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmLightPosition::tbBrightnessChange(int position) { lbBrightness->setText(Text(BrightnessCaption(position))); }

void TfrmLightPosition::done(int result) {
  if (result == Accepted && !ApplyInput()) return;
  QDialog::done(result);
}

bool TfrmLightPosition::ApplyInput() {
  const std::optional<double> azimuth = ParseAngle(edAzimuth->text().toStdString());
  const std::optional<double> elevation = ParseAngle(edAltitude->text().toStdString());
  if (!azimuth || !elevation) {
    FPrompts.ShowMessage("Error in input!");
    return false;
  }
  ApplyLightSettings(FTerra, TznLightSettings{*azimuth, *elevation, tbBrightness->value()});
  return true;
}

bool TfrmLightPosition::Execute(QWidget* parent, TznTerra& terra, TznPrompts& prompts) {
  TfrmLightPosition dialog(terra, prompts, parent);
  return dialog.exec() == Accepted;
}

bool RunLightPositionDialog(QWidget* parent, TznTerra& terra, TznPrompts& prompts) {
  return TfrmLightPosition::Execute(parent, terra, prompts);
}
