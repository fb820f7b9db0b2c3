// The command-line converter: argument parsing and the run, kept apart from
// main() so that tests can drive it.
#pragma once

#include <csignal>
#include <iosfwd>

// Runs kalvor-convert with the given arguments (argv[0] is the program);
// returns the process exit code.
int RunConvertCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// Stops the next run before its first object, the way Ctrl-C (or SIGTERM,
// SIGHUP) stops a run between two objects.
void InterruptConvertForTesting(int signal_number = SIGINT);
