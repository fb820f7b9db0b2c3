#include "app/untMakeRWX.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QVBoxLayout>

#include "base/znFormat.h"
#include "rwx/znRWXChunkCentral.h"
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
  layout->addWidget(ProgressBar1);
  layout->addWidget(btCancel, 0, Qt::AlignHCenter);
  setFixedSize(331, 105);
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
    const auto progress = [this](int index, int total, bool& go_on) { MakeProgress(index, total, go_on); };
    LeftoversRemoved =
        Terra->SaveRWX(BaseFileName, Composer, progress, 0, Format, Region ? &*Region : nullptr).LeftoversRemoved;
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

void TfrmMakeRWX::MakeProgress(int index, int total, bool& go_on) {
  FObjectsStarted = true;
  if (index == 0) ProgressBar1->setRange(0, total - 1);
  ProgressBar1->setValue(index);
  Label1->setText(QString::fromStdString(FormatInt(index) + " of " + FormatInt(total) + " objects"));
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
