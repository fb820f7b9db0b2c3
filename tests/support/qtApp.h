// The one QApplication of a window test program: on the display the test
// runs on, or on Qt's offscreen platform when there is none. A program may
// name its own application class (KALVOR_TEST_APPLICATION, declared in
// KALVOR_TEST_APPLICATION_HEADER), as the window tests name the program's.
#pragma once

#include <QApplication>

#ifdef KALVOR_TEST_APPLICATION_HEADER
#include KALVOR_TEST_APPLICATION_HEADER
#else
#define KALVOR_TEST_APPLICATION QApplication
#endif

namespace test {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "kalvor-tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
      qputenv("QT_QPA_PLATFORM", "offscreen");
    return new KALVOR_TEST_APPLICATION(argc, argv);
  }();
  return *app;
}

}  // namespace test
