#include "package/sections.h"

#include <string>

#include "package/errors.h"

namespace package {
namespace {

void Require(bool condition, const std::string& what) {
  if (!condition) throw CorruptedPackage("corrupted package: " + what);
}

void RequireInside(int64_t start, int64_t length, int64_t packageEnd, const char* what) {
  Require(length >= 0, std::string(what) + " has a negative size");
  Require(start >= 0 && start <= packageEnd && length <= packageEnd - start,
          std::string(what) + " lies outside the file");
}

}  // namespace

void ValidateTrailer(int64_t packageEnd) {
  Require(packageEnd >= kTrailerSize && packageEnd <= kMaxPackageEnd,
          "the settings record lies outside the file");
}

void ValidateTexts(const SettingsRecord& record, int64_t packageEnd) {
  ValidateTrailer(packageEnd);
  RequireInside(TextsStart(packageEnd, record), record.TextsSize(), packageEnd,
                "the block of texts");
  RequireInside(ReadmeStart(packageEnd, record), record.ReadmeSize(), packageEnd,
                "the readme text");
  RequireInside(LicenseStart(packageEnd, record), record.LicenseSize(), packageEnd,
                "the licence text");
  RequireInside(LanguageStart(packageEnd, record), record.LanguageSize(), packageEnd,
                "the language text");
}

void ValidateImage(const SettingsRecord& record, int64_t packageEnd) {
  ValidateTexts(record, packageEnd);
  Require(record.PackageSize() >= 0, "the package has a negative size");
  RequireInside(ImageStart(packageEnd, record), ImageLength(record), packageEnd, "the image");
}

}  // namespace package
