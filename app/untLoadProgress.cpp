#include "app/untLoadProgress.h"

#include <QApplication>
#include <QCloseEvent>
#include <QVBoxLayout>

#include <utility>

TfrmLoadProgress::TfrmLoadProgress(const std::string& file_name, TznLoadProgress::TClock clock, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      FProgress(file_name, std::move(clock)) {
  setObjectName("frmLoadProgress");
  setWindowTitle(TznLoadProgress::Caption());
  // Shown without a loop of its own: the load runs on, and the other
  // windows take no input meanwhile.
  setWindowModality(Qt::ApplicationModal);
  Label1 = new QLabel(QString::fromStdString(FProgress.Text()), this);
  Label1->setObjectName("Label1");
  Label1->setMinimumWidth(281);
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName("ProgressBar1");
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  btCancel = new QPushButton("Cancel", this);
  btCancel->setObjectName("btCancel");
  btCancel->setAutoDefault(false);
  connect(btCancel, &QPushButton::clicked, this, &TfrmLoadProgress::btCancelClick);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(ProgressBar1);
  layout->addWidget(btCancel, 0, Qt::AlignHCenter);
}

TfrmLoadProgress::~TfrmLoadProgress() {
  if (FArrowCursor) QApplication::restoreOverrideCursor();
}

bool TfrmLoadProgress::LoadProgress(double done) {
  if (!isVisible() && FProgress.Due()) {
    show();
    // Its button takes clicks: an arrow in place of the load's wait cursor.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    FArrowCursor = true;
  }
  ProgressBar1->setValue(TznLoadProgress::Percent(done));
  // Before the window shows, what the user does waits: a click could start
  // another load or change the terrain being filled. The shown window is
  // modal and keeps the input from the others itself.
  QCoreApplication::processEvents(isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
  return !FCancelRequested;
}

void TfrmLoadProgress::closeEvent(QCloseEvent* event) {
  btCancelClick();
  event->ignore();
}
