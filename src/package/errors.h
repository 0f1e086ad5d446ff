#pragma once
#include <exception>
#include <string>
#include <utility>

#include "os/failure.h"

namespace package {

// The base of the program's own errors: what() is the text the user may be shown, Cause() the
// failed step for whoever explains it (its step is empty when the thrower knew none). It keeps the
// text in a plain std::string rather than deriving from std::runtime_error, whose message lives
// in a second, reference-counted string type that would add tens of kilobytes to the stub.
class Error : public std::exception {
 public:
  explicit Error(std::string message, os::Cause cause = {})
      : message_(std::move(message)), cause_(std::move(cause)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const os::Cause& Cause() const { return cause_; }

 private:
  std::string message_;
  os::Cause cause_;
};

// The package is missing, truncated or inconsistent. Start-up turns it into
// "The file is corrupted. Setup can not continue."
class CorruptedPackage : public Error {
 public:
  using Error::Error;
};

// Writing a file out of the package (the uninstaller) fell short: a read or a write delivered
// fewer bytes than asked.
class WriteError : public Error {
 public:
  using Error::Error;
};

}  // namespace package

namespace package {

// An extension block that cannot be written as asked (see extension_block.h).
class UnfitExtension : public Error {
 public:
  using Error::Error;
};

}  // namespace package
