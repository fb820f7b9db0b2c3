#include "views/untLightPosition.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "views/znLightSettings.h"
#include "views/znPrompts.h"

namespace {
QString Text(const std::string& text) { return QString::fromStdString(text); }
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

  Label1 = new QLabel("Azimuth N to W", this);
  Label1->setObjectName("Label1");
  Label1->setWordWrap(true);
  Label1->setGeometry(8, 8, 90, 32);

  edAzimuth = new QLineEdit(this);
  edAzimuth->setObjectName("edAzimuth");
  edAzimuth->setGeometry(104, 12, 84, 24);

  Label2 = new QLabel("Altitude", this);
  Label2->setObjectName("Label2");
  Label2->setGeometry(8, 44, 90, 24);

  edAltitude = new QLineEdit(this);
  edAltitude->setObjectName("edAltitude");
  edAltitude->setGeometry(104, 44, 84, 24);

  lbBrightness = new QLabel("Brightness", this);
  lbBrightness->setObjectName("lbBrightness");
  lbBrightness->setAlignment(Qt::AlignCenter);
  lbBrightness->setGeometry(0, 72, 108, 20);

  tbBrightness = new QSlider(Qt::Horizontal, this);
  tbBrightness->setObjectName("tbBrightness");
  tbBrightness->setRange(0, 100);
  tbBrightness->setSingleStep(10);
  tbBrightness->setPageStep(10);
  tbBrightness->setTickInterval(10);
  tbBrightness->setTickPosition(QSlider::TicksBelow);
  tbBrightness->setGeometry(8, 94, 90, 30);
  connect(tbBrightness, &QSlider::valueChanged, this, &TfrmLightPosition::tbBrightnessChange);

  Button1 = new QPushButton("ok", this);
  Button1->setObjectName("Button1");
  Button1->setDefault(true);
  Button1->setGeometry(112, 96, 76, 28);
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
