#include "app/znApplication.h"

#include <exception>

#include "views/znDebugLog.h"
#include "views/znPrompts.h"

TznApplication::TznApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TznApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowError(error.what());
  } catch (...) {
    ShowError("Unexpected error");
  }
  return false;
}

void TznApplication::ShowError(const std::string& message) {
  // A failure while the guard's box is open (its own events run through
  // here too) is only noted, so that boxes cannot pile up.
  if (!FPrompts || FShowing) {
    TznDebugLog::Instance().Note(message);
    return;
  }
  FShowing = true;
  try {
    FPrompts->ShowMessage(message);
  } catch (...) {
  }
  FShowing = false;
}
