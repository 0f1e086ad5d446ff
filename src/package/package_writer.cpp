#include "package/package_writer.h"

#include <cstring>
#include <limits>

namespace package {
namespace {

constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

int32_t CheckedSize(int64_t value, const char* what) {
  if (value < 0 || value > kInt32Max)
    throw PackageTooLarge(std::string(what) + " must be between 0 and 2147483647 bytes");
  return static_cast<int32_t>(value);
}

}  // namespace

int64_t MaxImageLength(int64_t textsSize) { return kInt32Max - kTrailerSize - textsSize; }

void FillPackageFields(SettingsRecord& record, int64_t imageLength, int64_t readmeSize,
                       int64_t licenseSize, int64_t languageSize) {
  const int32_t readme = CheckedSize(readmeSize, "the readme text");
  const int32_t license = CheckedSize(licenseSize, "the licence text");
  const int32_t language = CheckedSize(languageSize, "the language text");
  const int32_t texts =
      CheckedSize(int64_t(readme) + license + language, "the three texts together");
  const int32_t image = CheckedSize(imageLength, "the screen-saver image");
  const int32_t packageSize = CheckedSize(int64_t(image) + texts + kTrailerSize, "the package");
  record.SetPackageSize(packageSize);
  record.SetTextsSize(texts);
  record.SetReadmeSize(readme);
  record.SetLicenseSize(license);
  record.SetLanguageSize(language);
  // Clear the whole marker field first so that no earlier contents linger behind the NUL.
  std::memset(record.Raw().data() + field::kRecordMarker.offset, 0, field::kRecordMarker.width);
  record.SetRecordMarker(kRecordMarkerText);
}

std::string PackageTail(const std::string& readme, const std::string& license,
                        const std::string& language, const SettingsRecord& record) {
  std::string tail;
  tail.reserve(readme.size() + license.size() + language.size() + kTrailerSize);
  tail += readme;
  tail += license;
  tail += language;
  tail.append(reinterpret_cast<const char*>(record.Raw().data()), kRecordSize);
  tail.append(kSetupSignature, kSignatureSize);
  return tail;
}

}  // namespace package
