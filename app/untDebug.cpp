#include "app/untDebug.h"

#include <QCloseEvent>
#include <QShowEvent>
#include <QVBoxLayout>

#include "views/znDebugLog.h"
#include "views/znWindowPlace.h"

TfrmDebug::TfrmDebug(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("frmDebug");
  setWindowTitle("Debug");
  resize(438, 277);
  PutClientAt(*this, QPoint(192, 107));
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Memo1);
  TznDebugLog::Instance().SetAppender([this](const std::string& line, bool show) { AppendLine(line, show); });
  TznDebugLog::Instance().SetShower([this] {
    show();
    raise();
  });
}

TfrmDebug::~TfrmDebug() {
  TznDebugLog::Instance().SetAppender({});
  TznDebugLog::Instance().SetShower({});
}

void TfrmDebug::AppendLine(const std::string& line, bool show) {
  Memo1->appendPlainText(QString::fromStdString(line));
  if (show) {
    this->show();
    raise();
  }
}

void TfrmDebug::closeEvent(QCloseEvent* event) {
  // The log lives for the whole run; its close box only hides it.
  hide();
  event->ignore();
}

void TfrmDebug::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) PlaceWindow(*this);
}
