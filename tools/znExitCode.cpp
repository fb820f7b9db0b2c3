#include "tools/znExitCode.h"

#include <ostream>

#include "base/znCommandLine.h"
#include "base/znError.h"
#include "base/znSafeFile.h"
#include "rwx/znRWXRoom.h"
#include "rwx/znRWXRunGuard.h"
#include "terrain/znTerraRescale.h"

namespace {

bool IsRefusal(const std::exception& error) {
  return dynamic_cast<const EznUsageError*>(&error) || dynamic_cast<const EznInputFileError*>(&error) ||
         dynamic_cast<const EznNotAFile*>(&error) || dynamic_cast<const EznBadFile*>(&error) ||
         dynamic_cast<const EznOutputRefused*>(&error) || dynamic_cast<const EznScaleRefused*>(&error) ||
         dynamic_cast<const EznNoRoom*>(&error);
}

}  // namespace

int ExitCodeFor(const std::exception& error) { return IsRefusal(error) ? kExitRefused : kExitFailed; }

int ReportError(const std::string& program, const std::exception& error, std::ostream& err) {
  if (dynamic_cast<const EznUsageError*>(&error)) return RefuseCommandLine(program, error.what(), err);
  err << program << ": " << error.what() << "\n";
  return ExitCodeFor(error);
}

std::string ExitStatusHelp(const std::string& failures, const std::string& extra) {
  return "Exit status:\n"
         "  0   the work is done\n"
         "  1   a failure while working: a file that cannot be written, a full disk" +
         failures +
         "\n"
         "  2   a refusal before any work: an option or argument the program cannot\n"
         "      follow, an input that is missing, unreadable, no regular file or not\n"
         "      what it should be, an output that must not be replaced\n" +
         extra;
}
