#pragma once
// The reads start-up makes from the program's own file. Every read that cannot deliver all its
// bytes, and every section that reaches outside the file, is a CorruptedPackage.
#include <cstdint>
#include <string>

#include "package/read_source.h"
#include "package/settings_record.h"

namespace package {

enum class PackageKind { kSetup, kUninstaller, kUnknown };

// Exactly `length` bytes at `position`, read in bounded pieces. Throws CorruptedPackage.
std::string ReadExactly(ReadSource& source, int64_t position, int64_t length);

// FindPackageEnd, or CorruptedPackage when there is no package, or when the marker nearest to the
// end lies in or behind the code signature's certificate table (the file was tampered with).
int64_t RequirePackageEnd(ReadSource& source);
// The 932 bytes at PackageEnd - 942.
SettingsRecord ReadRecord(ReadSource& source, int64_t packageEnd);
// The 10 bytes at PackageEnd - 10, which decide between setup and uninstaller.
std::string ReadDecisionSignature(ReadSource& source, int64_t packageEnd);
PackageKind KindOf(const std::string& decisionSignature);

// The texts; empty when their size is 0 or less. Each validates the texts first.
std::string ReadLanguageText(ReadSource& source, int64_t packageEnd, const SettingsRecord& record);
std::string ReadReadmeText(ReadSource& source, int64_t packageEnd, const SettingsRecord& record);
std::string ReadLicenseText(ReadSource& source, int64_t packageEnd, const SettingsRecord& record);

// Everything a reader of a whole package wants at once (scrpack inspect, fuzzing): the same
// reads in start-up's order, with the image checked for setup files.
struct PackageInfo {
  int64_t packageEnd = 0;
  int64_t fileSize = 0;
  SettingsRecord record;
  std::string signature;
  PackageKind kind = PackageKind::kUnknown;
  std::string language;
  std::string readme;
  std::string license;
};
PackageInfo ReadPackage(ReadSource& source);

}  // namespace package
