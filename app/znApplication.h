// The program's application object. Every event that reaches a window
// passes through its notify, which is the one guard for all handlers: an
// exception that a handler did not catch itself becomes the usual message
// box, and the program goes on with the next event instead of ending.
#pragma once

#include <QApplication>

#include <string>

class TznPrompts;

class TznApplication : public QApplication {
  Q_OBJECT

 public:
  TznApplication(int& argc, char** argv);

  // Where the message boxes of the guard go; without prompts the messages
  // go to the debug log only.
  void SetPrompts(TznPrompts* prompts) { FPrompts = prompts; }

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  void ShowError(const std::string& message);

  TznPrompts* FPrompts = nullptr;
  bool FShowing = false;  // a box of the guard is open
};
