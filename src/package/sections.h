#pragma once
// Where each part of a package lies, computed from PackageEnd and the settings record.
//
//   setup file:   stub | image | readme | licence | language | record (932) | "ZUZOri.sig" |
//   ignored uninstaller:  stub | readme | licence | language | record (932) | "ScUnin.sig" |
//   ignored
//
// The record's 32-bit sizes are sign-extended into 64-bit positions, so no sum here can overflow
// for any PackageEnd a real file can have. An uninstaller keeps the setup file's PackageSize, so
// the stub and image positions mean something in a setup file only. The image is the screen saver
// as it stands or coded (package/coded_image.h); its length here is what the file carries.
#include <cstdint>

#include "package/settings_record.h"

namespace package {

inline int64_t RecordStart(int64_t packageEnd) { return packageEnd - kTrailerSize; }
inline int64_t SignatureStart(int64_t packageEnd) { return packageEnd - int64_t(kSignatureSize); }

inline int64_t TextsStart(int64_t packageEnd, const SettingsRecord& r) {
  return RecordStart(packageEnd) - int64_t(r.TextsSize());
}
inline int64_t ReadmeStart(int64_t packageEnd, const SettingsRecord& r) {
  return TextsStart(packageEnd, r);
}
inline int64_t LicenseStart(int64_t packageEnd, const SettingsRecord& r) {
  return ReadmeStart(packageEnd, r) + int64_t(r.ReadmeSize());
}
inline int64_t LanguageStart(int64_t packageEnd, const SettingsRecord& r) {
  return LicenseStart(packageEnd, r) + int64_t(r.LicenseSize());
}

// Setup files only.
inline int64_t StubLength(int64_t packageEnd, const SettingsRecord& r) {
  return packageEnd - int64_t(r.PackageSize());
}
inline int64_t ImageStart(int64_t packageEnd, const SettingsRecord& r) {
  return StubLength(packageEnd, r);
}
inline int64_t ImageLength(const SettingsRecord& r) {
  return int64_t(r.PackageSize()) - int64_t(r.TextsSize()) - kTrailerSize;
}

// The largest PackageEnd these computations are defined for (far beyond any real file).
constexpr int64_t kMaxPackageEnd = int64_t(1) << 62;

// Throws CorruptedPackage unless the record and signature fit between 0 and PackageEnd.
void ValidateTrailer(int64_t packageEnd);
// Both modes. Throws CorruptedPackage when TextsSize or a text size is negative, or when the texts
// block begins before the file or any of the three texts reaches outside 0..PackageEnd. (The sizes
// need not add up to TextsSize; only what cannot be read is refused.)
void ValidateTexts(const SettingsRecord& record, int64_t packageEnd);
// Setup files only. Throws CorruptedPackage when PackageSize or the image length is negative or the
// stub and image do not fit in front of the texts.
void ValidateImage(const SettingsRecord& record, int64_t packageEnd);

}  // namespace package
