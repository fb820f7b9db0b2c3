#include "app/untComposeSelect.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/znFileListBox.h"

TfrmComposeSelect::TfrmComposeSelect(const std::string& settings_dir, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName("frmComposeSelect");
  setWindowTitle("select commposer");
  setModal(true);

  FFileList = new TznFileListBox(this);
  FFileList->setObjectName("FileList");
  FFileList->SetMask("*.CMP");
  FFileList->SetDirectory(settings_dir);

  FAccept = new QPushButton("select", this);
  FAccept->setObjectName("btAccept");
  FAccept->setDefault(true);
  FAccept->setAutoDefault(true);
  FCancel = new QPushButton("cancel", this);
  FCancel->setObjectName("btCancel");
  FCancel->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(FAccept);
  buttons->addWidget(FCancel);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
  layout->addWidget(FFileList);
  layout->addLayout(buttons);
  setFixedSize(178, 269);

  connect(FAccept, &QPushButton::clicked, this, &QDialog::accept);
  connect(FCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(FFileList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

std::string TfrmComposeSelect::FileName() const { return FFileList->FileName(); }
