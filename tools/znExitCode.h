// The exit codes of the command-line tools, decided in one place: 0 when
// the work is done, 2 when the tool refuses what it was given before doing
// any work, 1 when the work fails on the way.
#pragma once

#include <exception>
#include <iosfwd>
#include <string>

constexpr int kExitFailed = 1;
constexpr int kExitRefused = 2;

// kExitRefused for a refusal: a command line the tool cannot follow, an
// input that is missing, unreadable, no regular file or no usable terrain or
// composer, an output it must not replace, a rescaling the terrain cannot
// hold. kExitFailed for any other error: a file that cannot be written, a
// full disk, a base name another run holds, too little memory.
int ExitCodeFor(const std::exception& error);

// Tells the error on err as "PROGRAM: message" (a refused command line adds
// "Try PROGRAM --help.") and returns its exit code.
int ReportError(const std::string& program, const std::exception& error, std::ostream& err);

// The "Exit status:" part of a tool's help: 0, 1 and 2 as above, the
// failures named by failures (", another run holds the base name"), then
// extra lines of the tool's own.
std::string ExitStatusHelp(const std::string& failures = "", const std::string& extra = "");
