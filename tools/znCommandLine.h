// Command lines of the tools, GNU style: "--name value" and "--name=value"
// are the same option, "-h" stands for "--help", and "--" ends the options.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/znError.h"

// A command line the program cannot follow; the tools exit with 2.
class EznUsageError : public EznError {
 public:
  using EznError::EznError;
};

class TznArgReader {
 public:
  // The arguments after the program's name.
  explicit TznArgReader(std::vector<std::string> args);
  TznArgReader(int argc, const char* const* argv);

  // Moves to the next argument; false when there is none left.
  bool Next();
  // An option, as opposed to a positional argument such as a file name.
  bool IsOption() const { return FIsOption; }
  // The option's name without an attached value ("--vertices" for
  // "--vertices=21"), "--help" for "-h"; a positional argument as it is.
  const std::string& Name() const { return FName; }
  // The option's value: the text after "=", else the next argument.
  // Throws EznUsageError when there is none.
  std::string Value();
  // For options that take no value: throws EznUsageError for "--quiet=1".
  void NoValue() const;
  // Whether the option is the flag of that name (an option without a
  // value; NoValue applies).
  bool IsFlag(const std::string& name) const;

 private:
  std::vector<std::string> FArgs;
  size_t FNext = 0;
  bool FOptionsEnded = false;
  bool FIsOption = false;
  std::string FName;
  std::optional<std::string> FAttached;
};

// "kalvor-convert 1.4.0": the program's name and the project's version.
std::string VersionText(const std::string& program);
