#include "views/untScaleIt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

#include "terrain/znTerra.h"
#include "views/znPrompts.h"

namespace {
QString Text(const std::string& text) { return QString::fromStdString(text); }

void Run(const std::function<void()>& hook) {
  if (hook) hook();
}
}  // namespace

TfrmScaleIt::TfrmScaleIt(TznTerra& terra, TznPrompts& prompts, TznScaleHooks hooks, QWidget* parent)
    : QDialog(parent), FTerra(terra), FPrompts(prompts), FHooks(std::move(hooks)) {
  setObjectName("frmScaleIt");
  setWindowTitle("scale map");
  CreateControls();
  ResetFields();
  UpdateControls();
}

QToolButton* TfrmScaleIt::CreateSpeedButton(const char* name, const char* caption) {
  auto* button = new QToolButton(this);
  button->setObjectName(name);
  button->setText(caption);
  button->setAutoRaise(true);
  return button;
}

QLineEdit* TfrmScaleIt::CreateEdit(const char* name) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(name);
  edit->setAlignment(Qt::AlignRight);
  return edit;
}

void TfrmScaleIt::CreateControls() {
  btScaleX = CreateSpeedButton("btScaleX", "X: Horizontal edge of map");
  btScaleY = CreateSpeedButton("btScaleY", "Y: Vertical edge of map");
  btHigh = CreateSpeedButton("btHigh", "Highest point");
  btLow = CreateSpeedButton("btLow", "Lowest point");
  edScaleX = CreateEdit("edScaleX");
  edScaleY = CreateEdit("edScaleY");
  edHigh = CreateEdit("edHigh");
  edLow = CreateEdit("edLow");

  // Only the aspect-keeping behaviour is offered; the box stays as the
  // switch that UpdateControls and CheckValues read.
  cbRatio = new QCheckBox("maintain aspect ratio  X : Y", this);
  cbRatio->setObjectName("cbRatio");
  cbRatio->setChecked(true);
  cbRatio->setEnabled(false);
  cbRatio->hide();

  auto* edges = new QGridLayout;
  const std::pair<QToolButton*, QLineEdit*> rows[] = {
      {btScaleX, edScaleX}, {btScaleY, edScaleY}, {btHigh, edHigh}, {btLow, edLow}};
  int row = 0;
  for (const auto& [button, edit] : rows) {
    edges->addWidget(button, row, 0, Qt::AlignLeft);
    edges->addWidget(edit, row, 1);
    edges->addWidget(new QLabel("m", this), row, 2);
    ++row;
  }
  edges->setColumnMinimumWidth(1, 90);

  rgAltitude = new QGroupBox("Atitudes", this);
  rgAltitude->setObjectName("rgAltitude");
  FAltitudeItems = new QButtonGroup(this);
  auto* items = new QVBoxLayout(rgAltitude);
  const char* captions[] = {"maintain ratio to X and Y", "edit Highest and Lowest", "edit Lowest (moves Highest)"};
  for (int i = 0; i < 3; ++i) {
    auto* item = new QRadioButton(captions[i], rgAltitude);
    FAltitudeItems->addButton(item, i);
    items->addWidget(item);
  }
  FAltitudeItems->button(0)->setChecked(true);

  btTest = new QPushButton("Test", this);
  btTest->setObjectName("btTest");
  btReset = new QPushButton("Reset", this);
  btReset->setObjectName("btReset");
  btAccept = new QPushButton("Accept", this);
  btAccept->setObjectName("btAccept");
  btAccept->setDefault(true);
  btCancel = new QPushButton("Cancel", this);
  btCancel->setObjectName("btCancel");
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {btTest, btReset, btAccept, btCancel}) buttons->addWidget(button);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(edges);
  layout->addWidget(cbRatio);
  layout->addWidget(rgAltitude);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(btScaleX, &QToolButton::clicked, this, &TfrmScaleIt::btScaleXClick);
  connect(btScaleY, &QToolButton::clicked, this, &TfrmScaleIt::btScaleYClick);
  connect(cbRatio, &QCheckBox::toggled, this, &TfrmScaleIt::UpdateControls);
  connect(FAltitudeItems, &QButtonGroup::idClicked, this, &TfrmScaleIt::UpdateControls);
  connect(btTest, &QPushButton::clicked, this, &TfrmScaleIt::CheckValues);
  connect(btReset, &QPushButton::clicked, this, &TfrmScaleIt::ResetFields);
  connect(btAccept, &QPushButton::clicked, this, &QDialog::accept);
  connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TfrmScaleIt::AltitudeIndex() const { return FAltitudeItems->checkedId(); }

void TfrmScaleIt::SetAltitudeIndex(int index) {
  if (QAbstractButton* item = FAltitudeItems->button(index)) item->setChecked(true);
  UpdateControls();
}

TznScaleOptions TfrmScaleIt::Options() const {
  TznScaleOptions options;
  options.KeepAspect = cbRatio->isChecked();
  options.DriveY = FDriveY;
  options.Altitude = static_cast<TznAltitudeRule>(AltitudeIndex());
  return options;
}

TznScaleTexts TfrmScaleIt::Texts() const {
  return {edScaleX->text().toStdString(), edScaleY->text().toStdString(), edHigh->text().toStdString(),
          edLow->text().toStdString()};
}

void TfrmScaleIt::ShowTexts(const TznScaleTexts& texts) {
  edScaleX->setText(Text(texts.EdgeX));
  edScaleY->setText(Text(texts.EdgeY));
  edHigh->setText(Text(texts.High));
  edLow->setText(Text(texts.Low));
}

void TfrmScaleIt::ResetFields() {
  FLast = ScaleTextsOf(FTerra);
  ShowTexts(FLast);
}

bool TfrmScaleIt::CheckValues() {
  TznScaleTexts texts = Texts();
  try {
    FNew = CheckScaleTexts(FTerra, Options(), texts);
  } catch (const std::exception& error) {
    ShowTexts(FLast);
    FPrompts.ShowMessage(error.what());
    return false;
  }
  ShowTexts(texts);
  FLast = texts;
  return true;
}

void TfrmScaleIt::ApplyValues() {
  ApplyScaleValues(FTerra, FNew);
  Run(FHooks.UpdateTerrainComposer);
}

void TfrmScaleIt::UpdateControls() {
  const TznScaleEnabling enabling = ScaleEnabling(Options(), FTerra.FLowest < FTerra.FHighest);
  btScaleX->setEnabled(enabling.ScaleXButton);
  btScaleY->setEnabled(enabling.ScaleYButton);
  edScaleX->setEnabled(enabling.ScaleXEdit);
  edScaleY->setEnabled(enabling.ScaleYEdit);
  edHigh->setEnabled(enabling.HighEdit);
  btHigh->setEnabled(enabling.HighButton);
  edLow->setEnabled(enabling.LowEdit);
  btLow->setEnabled(enabling.LowButton);
}

void TfrmScaleIt::btScaleXClick() {
  FDriveY = false;
  UpdateControls();
}

void TfrmScaleIt::btScaleYClick() {
  FDriveY = true;
  UpdateControls();
}

void TfrmScaleIt::done(int result) {
  if (result == Accepted) {
    if (!CheckValues()) return;
    ApplyValues();
    Run(FHooks.UpdateStatusBars);
    Run(FHooks.RefreshMap);
  }
  QDialog::done(result);
}

bool TfrmScaleIt::Execute(QWidget* parent, TznTerra& terra, TznPrompts& prompts, TznScaleHooks hooks) {
  TfrmScaleIt dialog(terra, prompts, std::move(hooks), parent);
  return dialog.exec() == Accepted;
}
