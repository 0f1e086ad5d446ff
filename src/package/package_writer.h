#pragma once
// Makes setup files: a stub followed by the package (image, readme, licence, language text,
// settings record, "ZUZOri.sig"). scrpack copies the stub and the image itself and appends the
// rest from here.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "package/settings_record.h"

namespace package {

// Something cannot be represented in a package (a size beyond the 32-bit fields).
class PackageTooLarge : public std::length_error {
 public:
  using std::length_error::length_error;
};

// The largest image that still leaves PackageSize within 32 bits for these texts.
int64_t MaxImageLength(int64_t textsSize);

// Fills PackageSize, TextsSize, ReadmeSize, LicenseSize, LanguageSize and RecordMarker for an image
// of `imageLength` bytes and the given text sizes. Throws PackageTooLarge when a size overflows.
void FillPackageFields(SettingsRecord& record, int64_t imageLength, int64_t readmeSize,
                       int64_t licenseSize, int64_t languageSize);

// Everything that follows the image: the three texts, the record, "ZUZOri.sig". The record must
// already carry its sizes (FillPackageFields). Lets a caller stream a big image from disk itself.
std::string PackageTail(const std::string& readme, const std::string& license,
                        const std::string& language, const SettingsRecord& record);

}  // namespace package
