// The program's answers to TznPrompts: Qt's message boxes, input dialog,
// colour dialog and file dialogs, each modal over a parent window. Each
// window that asks has prompts of its own, so that a box opens over it.
#pragma once

#include <QPointer>
#include <QWidget>

#include "views/znPrompts.h"

class TznQtPrompts : public TznPrompts {
 public:
  explicit TznQtPrompts(QWidget* parent = nullptr) : FParent(parent) {}
  void SetParent(QWidget* parent) { FParent = parent; }

  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& default_value) override;
  std::optional<int> Choose(const std::string& caption, const std::string& prompt,
                            const std::vector<std::string>& choices) override;
  std::optional<TColor> PickColor(TColor initial) override;
  std::optional<std::string> OpenFileName(const TznFileDialogRequest& request) override;
  std::optional<std::string> SaveFileName(TznFileDialogRequest& request) override;

  // "Terragen (*.ter)|*.ter" as Qt writes it: "Terragen (*.ter)".
  static QString QtFilter(const std::string& filter);

 private:
  QPointer<QWidget> FParent;
};
