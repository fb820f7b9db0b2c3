// Names that the user types for new material, filter and composer files.
// The file goes into the Settings folder as the name "." extension, so a
// name must stay a plain file name: no folder part, no "..", nothing the
// file systems of our users cannot hold.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class TznPrompts;

// Why the typed name cannot be used, as a message for the user; empty when
// it can.
std::string SettingsNameProblem(std::string_view typed);

// "create" and "duplicate" up to the point of writing: asks for the name
// with the input box (the caption given, the prompt "Input filename (no
// extension)"), trims it, refuses an unusable name with its message, and asks "File
// already exist. Ovewrite?" when the file is there. Returns the full path
// settings_dir + name + "." + extension, or nothing when the user stopped
// or the name was refused.
std::optional<std::string> AskNewSettingsFile(TznPrompts& prompts, const std::string& settings_dir,
                                              const std::string& caption, const std::string& extension);

// What "accept" says when the edited material or filter has no file left to
// write to (deleted behind the program's back, or never made): the kind is
// "material" or "filter", the name the file name shown on the tab.
std::string AcceptNotWrittenMessage(const std::string& kind, const std::string& name);
