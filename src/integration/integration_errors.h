#pragma once
// Errors the integration steps let reach their caller. Both carry the text the user is shown
// by the event dispatch, so what() is the whole message.
#include <string>

#include "package/errors.h"

namespace integration {

// A registry value could not be written.
class RegistryError : public package::Error {
 public:
  using Error::Error;
  static RegistryError FailedToSetData(const std::string& valueName, os::Cause cause = {}) {
    return RegistryError("Failed to set data for '" + valueName + "'", std::move(cause));
  }
};

// The shell could not give a special folder, or a shortcut could not be written.
class ShortcutError : public package::Error {
 public:
  using Error::Error;
};

}  // namespace integration
