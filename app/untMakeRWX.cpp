#include "app/untMakeRWX.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QVBoxLayout>

#include "base/znFormat.h"
#include "rwx/znRWXChunkCentral.h"
#include "rwx/znRWXRunMeter.h"
#include "terrain/znTerra.h"
#include "views/znPrompts.h"

namespace {

const char kNoObjectInRegion[] =
    "The selection holds no object: no object's centre lies inside it. Nothing was written.";

}  // namespace

TfrmMakeRWX::TfrmMakeRWX(TznPrompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), FPrompts(prompts) {
  setObjectName("frmMakeRWX");
  setWindowTitle("Making RWX Files");
  setModal(true);
  Label1 = new QLabel(" ", this);
  Label1->setObjectName("Label1");
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setFixedWidth(281);
  QFont bold = Label1->font();
  bold.setBold(true);
  Label1->setFont(bold);
  lblFigures = new QLabel(" ", this);
  lblFigures->setObjectName("lblFigures");
  lblFigures->setAlignment(Qt::AlignCenter);
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName("ProgressBar1");
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  btCancel = new QPushButton("cancel", this);
  btCancel->setObjectName("btCancel");
  btCancel->setAutoDefault(false);
  connect(btCancel, &QPushButton::clicked, this, &TfrmMakeRWX::btCancelClick);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1, 0, Qt::AlignHCenter);
  layout->addWidget(lblFigures, 0, Qt::AlignHCenter);
  layout->addWidget(ProgressBar1);
  layout->addWidget(btCancel, 0, Qt::AlignHCenter);
  setFixedSize(331, 125);
}

void TfrmMakeRWX::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  if (!Running) StartMaking();
}

void TfrmMakeRWX::StartMaking() {
  if (Terra) QMetaObject::invokeMethod(this, &TfrmMakeRWX::WMMakeRWX, Qt::QueuedConnection);
}

void TfrmMakeRWX::WMMakeRWX() {
  if (Running || !Terra) return;
  Running = true;
  CancelRequested = false;
  try {
    const auto progress = [this](int index, int total, int64_t bytes, bool& go_on) {
      MakeProgress(index, total, bytes, go_on);
    };
    FStarted = std::chrono::steady_clock::now();
    LeftoversRemoved =
        Terra->SaveRWX(BaseFileName, Composer, progress, 0, Format, Region ? &*Region : nullptr, Resume)
            .LeftoversRemoved;
    // The batch writer asks before each object it writes: a region it never
    // asked for held none.
    if (Region && !FObjectsStarted) Error = kNoObjectInRegion;
  } catch (const std::exception& e) {
    // The dialog still closes; the command reports the error.
    Error = e.what();
  }
  FFinished = true;
  accept();
}

void TfrmMakeRWX::MakeProgress(int index, int total, int64_t bytes, bool& go_on) {
  if (!FObjectsStarted) {
    ProgressBar1->setRange(0, total - 1);
    FFirstIndex = index;
  }
  FObjectsStarted = true;
  ProgressBar1->setValue(index);
  // The texts change a few times a second: a million objects that each
  // lay out and paint a label would take longer than writing them.
  const auto now = std::chrono::steady_clock::now();
  if (index == FFirstIndex || index + 1 == total || now - FTextShown >= std::chrono::milliseconds(100)) {
    Label1->setText(QString::fromStdString(FormatInt(index) + " of " + FormatInt(total) + " objects"));
    FTextShown = now;
  }
  // The figures the converter shows on a terminal, once a second.
  if (index == FFirstIndex || now - FFiguresShown >= std::chrono::seconds(1)) {
    const double seconds = std::chrono::duration<double>(now - FStarted).count();
    lblFigures->setText(QString::fromStdString(RunFlowText({index, total, bytes, index - FFirstIndex, seconds})));
    FFiguresShown = now;
  }
  go_on = !CancelRequested;
  QCoreApplication::processEvents();
}

void TfrmMakeRWX::btCancelClick() {
  if (FFinished) return;
  CancelRequested = FPrompts.AskYesNo("Do you wish to cancel this operation?");
}

void TfrmMakeRWX::closeEvent(QCloseEvent* event) {
  if (!FFinished) event->ignore();
}
