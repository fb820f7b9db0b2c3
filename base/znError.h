// The error kinds of the program. Every failure is an exception carrying a
// message for the user; the handler that started an action shows it.
#pragma once

#include <stdexcept>
#include <string>

// The general error kind: a message meant for the user.
class EznError : public std::runtime_error {
 public:
  explicit EznError(const std::string& message) : std::runtime_error(message) {}
};

// A file or folder that could not be opened, created, read or written.
class EznFileError : public EznError {
 public:
  explicit EznFileError(const std::string& message) : EznError(message) {}
};

// A file that could not be opened or read as an input: missing, not
// readable, or failing while it is read.
class EznInputFileError : public EznFileError {
 public:
  explicit EznInputFileError(const std::string& message) : EznFileError(message) {}
};

// A file that was read but whose content this program cannot take: not a
// terrain, a scale no terrain can have, a composer of too many rows.
class EznBadFile : public EznError {
 public:
  explicit EznBadFile(const std::string& message) : EznError(message) {}
};

// Builds the file system's message for a failed operation on a path, such as
// Cannot open file "a.ter". No such file or directory
std::string FileErrorText(const std::string& action, const std::string& path, int error_number);
