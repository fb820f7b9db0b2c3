#include "tools/znCommandLine.h"

#include "base/znVersion.h"

TznArgReader::TznArgReader(std::vector<std::string> args) : FArgs(std::move(args)) {}

TznArgReader::TznArgReader(int argc, const char* const* argv)
    : TznArgReader(argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>()) {}

bool TznArgReader::Next() {
  FAttached.reset();
  FIsOption = false;
  if (FNext >= FArgs.size()) return false;
  FName = FArgs[FNext++];
  if (FOptionsEnded) return true;
  if (FName == "--") {
    FOptionsEnded = true;
    return Next();
  }
  // A lone "-" names standard input or output, as with other tools.
  FIsOption = FName.size() > 1 && FName[0] == '-';
  if (!FIsOption) return true;
  if (FName == "-h") FName = "--help";
  const size_t equals = FName.find('=');
  if (FName.rfind("--", 0) == 0 && equals != std::string::npos) {
    FAttached = FName.substr(equals + 1);
    FName.resize(equals);
  }
  return true;
}

std::string TznArgReader::Value() {
  if (FAttached) return *FAttached;
  if (FNext >= FArgs.size()) throw EznUsageError(FName + " needs a value");
  return FArgs[FNext++];
}

void TznArgReader::NoValue() const {
  if (FAttached) throw EznUsageError(FName + " takes no value");
}

std::string VersionText(const std::string& program) { return program + " " + kKalvorVersion; }

bool TznArgReader::IsFlag(const std::string& name) const {
  if (!FIsOption || FName != name) return false;
  NoValue();
  return true;
}
