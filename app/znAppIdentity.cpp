#include "app/znAppIdentity.h"

#include <QApplication>

QIcon KalvorIcon() { return QIcon(":/icons/kalvor.png"); }

void SetUpKalvorApplication() {
  QCoreApplication::setApplicationName("kalvor");
  QGuiApplication::setDesktopFileName("kalvor");
  QApplication::setWindowIcon(KalvorIcon());
}
