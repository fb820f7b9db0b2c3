// The one QApplication of a window test program: on the display the test
// runs on, or on Qt's offscreen platform when there is none.
#pragma once

#include <QApplication>

namespace test {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "kalvor-tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
      qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

}  // namespace test
