// Any bytes as the program's own file: the package reads either succeed with every section inside
// the file, or fail as a corrupted package. Nothing else may happen.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "package/errors.h"
#include "package/package_end.h"
#include "package/package_reader.h"
#include "package/sections.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  package::MemoryReadSource source(data, size);
  const auto end = package::FindPackageEnd(source);
  if (end) {
    Check(*end >= 10 && *end <= int64_t(size));
    Check(package::IsPackageSignature(data + *end - 10));
  }
  try {
    const package::PackageInfo info = package::ReadPackage(source);
    const int64_t fileEnd = int64_t(size);
    Check(info.packageEnd == *end);
    Check(package::TextsStart(info.packageEnd, info.record) >= 0);
    Check(package::RecordStart(info.packageEnd) + int64_t(package::kTrailerSize) <= fileEnd);
    Check(info.language.size() == std::size_t(info.record.LanguageSize() > 0 ? info.record.LanguageSize() : 0));
    if (info.kind == package::PackageKind::kSetup) {
      Check(package::ImageStart(info.packageEnd, info.record) >= 0);
      Check(package::ImageLength(info.record) >= 0);
    }
    // The field readers must stay within the record whatever it holds.
    Check(info.record.Title().size() <= 32);
    Check(info.record.LinkText().size() <= 102);
    Check(info.record.ScreensaverFileName().size() <= 256);
    Check(info.record.DefaultFolder().size() <= 250);
    Check(info.record.DefaultSubfolder().size() <= 250);
  } catch (const package::CorruptedPackage&) {
  }
  return 0;
}
