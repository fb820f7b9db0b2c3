// Prompts that put their messages into the debug log instead of a message
// box, and pass every question on. For a stretch of work whose failures
// the user has been told about once already, such as a start-up in a home
// folder that cannot be written.
#pragma once

#include "views/znDebugLog.h"
#include "views/znPrompts.h"

class TznQuietPrompts : public TznPrompts {
 public:
  explicit TznQuietPrompts(TznPrompts& questions) : FQuestions(questions) {}

  void ShowMessage(const std::string& text) override { TznDebugLog::Instance().Note(text); }
  bool AskYesNo(const std::string& text) override { return FQuestions.AskYesNo(text); }
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& default_value) override {
    return FQuestions.InputBox(caption, prompt, default_value);
  }
  std::optional<int> Choose(const std::string& caption, const std::string& prompt,
                            const std::vector<std::string>& choices) override {
    return FQuestions.Choose(caption, prompt, choices);
  }
  std::optional<TColor> PickColor(TColor initial) override { return FQuestions.PickColor(initial); }
  std::optional<std::string> OpenFileName(const TznFileDialogRequest& request) override {
    return FQuestions.OpenFileName(request);
  }
  std::optional<std::string> SaveFileName(TznFileDialogRequest& request) override {
    return FQuestions.SaveFileName(request);
  }

 private:
  TznPrompts& FQuestions;
};
