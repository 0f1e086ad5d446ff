#pragma once
// What start-up reads from the program's own file, once, for whichever mode the file asks for.
#include <cstdint>
#include <string>

#include "package/extension_block.h"
#include "package/package_reader.h"
#include "package/settings_record.h"

namespace package {

struct OwnPackage {
  int64_t packageEnd = 0;
  PackageKind kind = PackageKind::kUnknown;
  SettingsRecord record;     // as the file-name rule of this Windows version leaves it
  ExtensionBlock extension;  // empty when the file carries none (an uninstaller never does)
  std::string languageText;
  // A setup file's only: an uninstaller never reads them.
  std::string readme;
  std::string license;
};

}  // namespace package
