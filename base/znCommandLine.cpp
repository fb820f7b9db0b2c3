#include "base/znCommandLine.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>

#include "base/znVersion.h"

namespace {

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// CLI11 words two refusals in its own terms ("--vertices: 1 required TEXT
// missing", "quiet was given a disallowed flag override"); the programs
// have always said them in theirs. Others keep CLI11's words.
std::string OwnWords(const CLI::ParseError& error) {
  const std::string text = error.what();
  const std::string flag_value = " was given a disallowed flag override";
  if (EndsWith(text, flag_value)) return "--" + text.substr(0, text.size() - flag_value.size()) + " takes no value";
  const size_t colon = text.find(": ");
  if (EndsWith(text, " missing") && colon != std::string::npos) return text.substr(0, colon) + " needs a value";
  return text;
}

// "--composer=" gives the empty value, as "--composer ''" does; CLI11 would
// take the next argument. CLI11 reads the list from its end.
std::vector<std::string> ReversedForCli11(const std::vector<std::string>& args) {
  std::vector<std::string> list;
  bool options_ended = false;
  for (const std::string& arg : args) {
    options_ended = options_ended || arg == "--";
    if (!options_ended && arg.size() > 3 && arg.rfind("--", 0) == 0 && arg.back() == '=') {
      list.push_back(arg.substr(0, arg.size() - 1));
      list.emplace_back();
    } else {
      list.push_back(arg);
    }
  }
  std::reverse(list.begin(), list.end());
  return list;
}

}  // namespace

TznCommandLine::TznCommandLine(std::string program)
    : FProgram(std::move(program)), FApp(std::make_unique<CLI::App>("", FProgram)) {
  FApp->set_help_flag();  // --help prints the program's own text
  FApp->allow_extras();   // unknown options are refused in the programs' words
  FApp->add_option("arguments", FArguments);
  AddFlag("-h,--help", FHelp);
  AddFlag("--version", FVersion);
}

TznCommandLine::~TznCommandLine() = default;

void TznCommandLine::AddOption(const std::string& name, std::function<void(const std::string&)> read) {
  FApp->add_option_function<std::string>(name, std::move(read))->trigger_on_parse();
}

void TznCommandLine::AddFlag(const std::string& name, bool& set) { FApp->add_flag(name, set)->disable_flag_override(); }

std::vector<std::string> TznCommandLine::Parse(const std::vector<std::string>& args) {
  std::vector<std::string> list = ReversedForCli11(args);
  try {
    FApp->parse(list);
  } catch (const CLI::ParseError& e) {
    throw EznUsageError(OwnWords(e));
  }
  // What CLI11 could not place: unknown options, and the "--" it keeps.
  for (const std::string& unknown : FApp->remaining())
    if (unknown != "--") throw EznUsageError("unknown option " + unknown.substr(0, unknown.find('=')));
  return FArguments;
}

std::vector<std::string> TznCommandLine::Parse(int argc, const char* const* argv) {
  return Parse(argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>());
}

bool TznCommandLine::AnswerHelpOrVersion(const std::string& usage, std::ostream& out) const {
  if (FHelp)
    out << usage;
  else if (FVersion)
    out << VersionText(FProgram) << "\n";
  return FHelp || FVersion;
}

int RefuseCommandLine(const std::string& program, const std::string& message, std::ostream& err) {
  err << program << ": " << message << "\nTry " << program << " --help.\n";
  return 2;
}

std::string VersionText(const std::string& program) { return program + " " + kKalvorVersion; }
