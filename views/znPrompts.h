// Every question the windows put to the user goes through this interface:
// message boxes, Yes/No questions, the one-line input box, the choice box, the colour
// dialog and the file dialogs. The program answers them with Qt dialogs
// (TznQtPrompts); tests answer them from a script (TznScriptedPrompts).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/znVectors.h"

// What a file dialog starts with. The filter is in the "Description|*.ext"
// form, several pairs separated by "|".
struct TznFileDialogRequest {
  std::string Title;
  std::string Filter;
  std::string InitialDir;
  std::string FileName;
  std::string DefaultExt;  // without the dot; added when the name has none
  int FilterIndex = 0;     // the filter shown; a save dialog leaves the one chosen
  // A line below the name that follows what the user types and the filter
  // chosen; none when empty.
  std::function<std::string(const std::string& typed, int filter_index)> Information;
};

class TznPrompts {
 public:
  virtual ~TznPrompts() = default;

  // An information box with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // A Yes/No box; true only for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // A one-line input box; nothing when the user cancels.
  virtual std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                              const std::string& default_value) = 0;
  // A box that offers the choices in a list, the first one chosen at the
  // start; the index of the one taken, nothing when the user cancels.
  virtual std::optional<int> Choose(const std::string& caption, const std::string& prompt,
                                    const std::vector<std::string>& choices) = 0;
  // The colour dialog, with the custom colours shown; nothing on cancel.
  virtual std::optional<TColor> PickColor(TColor initial) = 0;
  // The full path of the chosen file; nothing on cancel.
  virtual std::optional<std::string> OpenFileName(const TznFileDialogRequest& request) = 0;
  // The same; the request's FilterIndex becomes the filter the user chose.
  virtual std::optional<std::string> SaveFileName(TznFileDialogRequest& request) = 0;
};
