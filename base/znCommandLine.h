// The command line of every program, GNU style, read with CLI11:
// "--name value" and "--name=value" are the same option, the value is the
// next argument even when it starts with "-" ("--origin -5,3,0"), "-h"
// stands for "--help", a lone "-" is an argument, "--" ends the options
// ("-- -x.ter" is the file "-x.ter"), and an option given twice takes its
// last value. The words of a refusal are the programs' own.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "base/znError.h"

namespace CLI {
class App;
}

// A command line the program cannot follow; the programs exit with 2.
class EznUsageError : public EznError {
 public:
  using EznError::EznError;
};

// "PROGRAM: message" and "Try PROGRAM --help." on err; returns the exit
// code of a refused command line, 2.
int RefuseCommandLine(const std::string& program, const std::string& message, std::ostream& err);

class TznCommandLine {
 public:
  // program: the name that starts every message ("kalvor-convert").
  explicit TznCommandLine(std::string program);
  ~TznCommandLine();
  TznCommandLine(const TznCommandLine&) = delete;
  TznCommandLine& operator=(const TznCommandLine&) = delete;

  // An option with a value ("--vertices"). read gets the value as typed,
  // each time the option comes, in the order of the command line; it throws
  // EznUsageError to refuse it.
  void AddOption(const std::string& name, std::function<void(const std::string&)> read);
  // An option without a value ("--quiet"); set becomes true when it comes.
  void AddFlag(const std::string& name, bool& set);

  // Reads the arguments after the program's name and returns the others
  // (file names) in their order. Throws EznUsageError ("--vertices needs a
  // value", "--quiet takes no value", "unknown option --frobnicate").
  std::vector<std::string> Parse(const std::vector<std::string>& args);
  // The same from main()'s arguments.
  std::vector<std::string> Parse(int argc, const char* const* argv);

  bool Help() const { return FHelp; }
  bool Version() const { return FVersion; }
  // For --help the usage, for --version "PROGRAM 1.4.0", on out; false when
  // neither was asked for.
  bool AnswerHelpOrVersion(const std::string& usage, std::ostream& out) const;
  // RefuseCommandLine with the program's name.
  int Refuse(const std::string& message, std::ostream& err) const { return RefuseCommandLine(FProgram, message, err); }

 private:
  std::string FProgram;
  std::unique_ptr<CLI::App> FApp;
  std::vector<std::string> FArguments;
  bool FHelp = false, FVersion = false;
};

// "kalvor-convert 1.4.0": the program's name and the project's version.
std::string VersionText(const std::string& program);
