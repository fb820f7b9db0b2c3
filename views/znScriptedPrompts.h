// Answers to TznPrompts from a script, for tests: each kind of question
// takes the next answer of its own queue and is recorded with its text.
// A question without a scripted answer counts as cancelled (No for a
// Yes/No question) and is recorded all the same.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "views/znPrompts.h"

class TznScriptedPrompts : public TznPrompts {
 public:
  // Scripting.
  std::deque<bool> YesNoAnswers;
  std::deque<std::optional<std::string>> InputAnswers;
  std::deque<std::optional<int>> ChoiceAnswers;  // the index taken
  std::deque<std::optional<TColor>> ColorAnswers;
  std::deque<std::optional<std::string>> OpenAnswers;
  std::deque<std::optional<std::string>> SaveAnswers;
  std::deque<int> SaveFilterAnswers;  // the filter chosen; the one shown without

  // What was asked, in order.
  std::vector<std::string> Messages;        // ShowMessage texts
  std::vector<std::string> Questions;       // AskYesNo texts
  std::vector<std::string> InputCaptions;   // "caption|prompt|default"
  std::vector<std::string> ChoiceCaptions;  // "caption|prompt|choice|choice..."
  std::vector<TColor> ColorStarts;
  std::vector<TznFileDialogRequest> OpenRequests;
  std::vector<TznFileDialogRequest> SaveRequests;
  std::vector<std::string> SaveInformation;  // the information line for the name given, or ""

  void ShowMessage(const std::string& text) override { Messages.push_back(text); }
  bool AskYesNo(const std::string& text) override {
    Questions.push_back(text);
    return Next(YesNoAnswers).value_or(false);
  }
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& default_value) override {
    InputCaptions.push_back(caption + "|" + prompt + "|" + default_value);
    return Next(InputAnswers).value_or(std::nullopt);
  }
  std::optional<int> Choose(const std::string& caption, const std::string& prompt,
                            const std::vector<std::string>& choices) override {
    std::string asked = caption + "|" + prompt;
    for (const std::string& choice : choices) asked.append("|").append(choice);
    ChoiceCaptions.push_back(asked);
    return Next(ChoiceAnswers).value_or(std::nullopt);
  }
  std::optional<TColor> PickColor(TColor initial) override {
    ColorStarts.push_back(initial);
    return Next(ColorAnswers).value_or(std::nullopt);
  }
  std::optional<std::string> OpenFileName(const TznFileDialogRequest& request) override {
    OpenRequests.push_back(request);
    return Next(OpenAnswers).value_or(std::nullopt);
  }
  std::optional<std::string> SaveFileName(TznFileDialogRequest& request) override {
    SaveRequests.push_back(request);
    request.FilterIndex = Next(SaveFilterAnswers).value_or(request.FilterIndex);
    std::optional<std::string> answer = Next(SaveAnswers).value_or(std::nullopt);
    SaveInformation.push_back(request.Information ? request.Information(answer.value_or(""), request.FilterIndex)
                                                  : std::string());
    return answer;
  }

 private:
  template <typename T>
  static std::optional<T> Next(std::deque<T>& queue) {
    if (queue.empty()) return std::nullopt;
    T answer = std::move(queue.front());
    queue.pop_front();
    return answer;
  }
};
