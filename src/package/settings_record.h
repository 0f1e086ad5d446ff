#pragma once
// The 932-byte settings record at the end of every package, held as raw bytes exactly as read,
// so that it goes back into the uninstaller byte for byte (padding, reserved byte and left-overs
// after a NUL included). Fields are read and written by copying bytes at fixed offsets.
//
// The byte at 416, reserved in the format and zero in every file other builders make, holds our
// own flags. Bit 0: an extension block (extension_block.h) belongs behind this setup file's
// "ZUZOri.sig", so a setup file whose block is missing or damaged is refused as corrupted rather
// than installed without the author's choices and checksums. scrpack sets it before the record's
// checksums are taken. The uninstaller carries the record byte for byte but never a block: the
// flag binds a setup file only. The other bits are reserved: written as 0, not read.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace package {

constexpr std::size_t kRecordSize = 932;
constexpr std::size_t kSignatureSize = 10;
constexpr int64_t kTrailerSize = int64_t(kRecordSize + kSignatureSize);
constexpr char kSetupSignature[] = "ZUZOri.sig";
constexpr char kUninstallSignature[] = "ScUnin.sig";
constexpr char kRecordMarkerText[] = "SCRSet.sig";

// Field offsets and widths.
namespace field {
struct Span {
  std::size_t offset;
  std::size_t width;
  constexpr std::size_t End() const { return offset + width; }
};
constexpr Span kPackageSize{0, 4};
constexpr Span kScreensaverFileName{4, 256};
constexpr Span kTitle{260, 32};
constexpr Span kLinkText{292, 102};
constexpr Span kAddUninstallEntry{394, 1};
constexpr Span kAddStartMenuGroup{395, 1};
constexpr Span kAddDesktopShortcut{396, 1};
constexpr Span kPadding1{397, 3};
constexpr Span kTextsSize{400, 4};
constexpr Span kReadmeSize{404, 4};
constexpr Span kLicenseSize{408, 4};
constexpr Span kLanguageSize{412, 4};
constexpr Span kFlags{416, 1};  // "reserved" in the format; see above
constexpr Span kDefaultFolder{417, 251};
constexpr Span kDefaultSubfolder{668, 251};
constexpr Span kSkipFolderPage{919, 1};
constexpr Span kRecordMarker{920, 11};
constexpr Span kPadding2{931, 1};

// The fields tile the record without gap or overlap.
static_assert(kPackageSize.End() == kScreensaverFileName.offset);
static_assert(kScreensaverFileName.End() == kTitle.offset);
static_assert(kTitle.End() == kLinkText.offset);
static_assert(kLinkText.End() == kAddUninstallEntry.offset);
static_assert(kAddUninstallEntry.End() == kAddStartMenuGroup.offset);
static_assert(kAddStartMenuGroup.End() == kAddDesktopShortcut.offset);
static_assert(kAddDesktopShortcut.End() == kPadding1.offset);
static_assert(kPadding1.End() == kTextsSize.offset);
static_assert(kTextsSize.End() == kReadmeSize.offset);
static_assert(kReadmeSize.End() == kLicenseSize.offset);
static_assert(kLicenseSize.End() == kLanguageSize.offset);
static_assert(kLanguageSize.End() == kFlags.offset);
static_assert(kFlags.End() == kDefaultFolder.offset);
static_assert(kDefaultFolder.End() == kDefaultSubfolder.offset);
static_assert(kDefaultSubfolder.End() == kSkipFolderPage.offset);
static_assert(kSkipFolderPage.End() == kRecordMarker.offset);
static_assert(kRecordMarker.End() == kPadding2.offset);
static_assert(kPadding2.End() == kRecordSize);
}  // namespace field

// A folder field is one length byte and the characters it counts.
static_assert(field::kDefaultFolder.width == field::kDefaultSubfolder.width);
constexpr std::size_t kMaxFolderLength = field::kDefaultFolder.width - 1;
// The folder fields may name the system's folders by these, which setup fills in for the machine
// it runs on.
constexpr char kWindowsPlaceholder[] = "<Windows>";
constexpr char kProgramFilesPlaceholder[] = "<Program Files>";
constexpr uint8_t kFlagExtensionBlock = 0x01;

class SettingsRecord {
 public:
  using Bytes = std::array<uint8_t, kRecordSize>;

  Bytes& Raw() { return bytes_; }
  const Bytes& Raw() const { return bytes_; }

  int32_t PackageSize() const { return Int(field::kPackageSize); }
  std::string ScreensaverFileName() const { return Text(field::kScreensaverFileName); }
  std::string Title() const { return Text(field::kTitle); }
  std::string LinkText() const { return Text(field::kLinkText); }
  bool AddUninstallEntry() const { return Flag(field::kAddUninstallEntry); }
  bool AddStartMenuGroup() const { return Flag(field::kAddStartMenuGroup); }
  bool AddDesktopShortcut() const { return Flag(field::kAddDesktopShortcut); }
  int32_t TextsSize() const { return Int(field::kTextsSize); }
  int32_t ReadmeSize() const { return Int(field::kReadmeSize); }
  int32_t LicenseSize() const { return Int(field::kLicenseSize); }
  int32_t LanguageSize() const { return Int(field::kLanguageSize); }
  std::string DefaultFolder() const { return Prefixed(field::kDefaultFolder); }
  std::string DefaultSubfolder() const { return Prefixed(field::kDefaultSubfolder); }
  bool SkipFolderPage() const { return Flag(field::kSkipFolderPage); }
  std::string RecordMarker() const { return Text(field::kRecordMarker); }
  // A setup file with this record carries an extension block (see above).
  bool HasExtensionBlock() const {
    return (bytes_[field::kFlags.offset] & kFlagExtensionBlock) != 0;
  }

  void SetPackageSize(int32_t v) { SetInt(field::kPackageSize, v); }
  // Writes the text and one NUL when it fits; bytes after the NUL keep their old contents.
  void SetScreensaverFileName(const std::string& v) { SetText(field::kScreensaverFileName, v); }
  void SetTitle(const std::string& v) { SetText(field::kTitle, v); }
  void SetLinkText(const std::string& v) { SetText(field::kLinkText, v); }
  void SetAddUninstallEntry(bool v) { SetFlag(field::kAddUninstallEntry, v); }
  void SetAddStartMenuGroup(bool v) { SetFlag(field::kAddStartMenuGroup, v); }
  void SetAddDesktopShortcut(bool v) { SetFlag(field::kAddDesktopShortcut, v); }
  void SetTextsSize(int32_t v) { SetInt(field::kTextsSize, v); }
  void SetReadmeSize(int32_t v) { SetInt(field::kReadmeSize, v); }
  void SetLicenseSize(int32_t v) { SetInt(field::kLicenseSize, v); }
  void SetLanguageSize(int32_t v) { SetInt(field::kLanguageSize, v); }
  void SetDefaultFolder(const std::string& v) { SetPrefixed(field::kDefaultFolder, v); }
  void SetDefaultSubfolder(const std::string& v) { SetPrefixed(field::kDefaultSubfolder, v); }
  void SetSkipFolderPage(bool v) { SetFlag(field::kSkipFolderPage, v); }
  void SetRecordMarker(const std::string& v) { SetText(field::kRecordMarker, v); }
  void SetHasExtensionBlock(bool v) {
    uint8_t& flags = bytes_[field::kFlags.offset];
    flags = v ? uint8_t(flags | kFlagExtensionBlock) : uint8_t(flags & ~kFlagExtensionBlock);
  }

 private:
  int32_t Int(field::Span f) const {
    uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v |= uint32_t(bytes_[f.offset + i]) << (8 * i);
    return static_cast<int32_t>(v);
  }
  void SetInt(field::Span f, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) bytes_[f.offset + i] = uint8_t(v >> (8 * i));
  }
  std::string Text(field::Span f) const {
    std::size_t n = 0;
    while (n < f.width && bytes_[f.offset + n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(bytes_.data() + f.offset), n);
  }
  void SetText(field::Span f, const std::string& v) {
    const std::size_t n = v.size() < f.width ? v.size() : f.width;
    for (std::size_t i = 0; i < n; ++i) bytes_[f.offset + i] = uint8_t(v[i]);
    if (n < f.width) bytes_[f.offset + n] = 0;
  }
  std::string Prefixed(field::Span f) const {
    std::size_t n = bytes_[f.offset];
    if (n > f.width - 1) n = f.width - 1;
    return std::string(reinterpret_cast<const char*>(bytes_.data() + f.offset + 1), n);
  }
  void SetPrefixed(field::Span f, const std::string& v) {
    const std::size_t n = v.size() < f.width - 1 ? v.size() : f.width - 1;
    bytes_[f.offset] = uint8_t(n);
    for (std::size_t i = 0; i < n; ++i) bytes_[f.offset + 1 + i] = uint8_t(v[i]);
  }
  bool Flag(field::Span f) const { return bytes_[f.offset] != 0; }
  void SetFlag(field::Span f, bool v) { bytes_[f.offset] = v ? 1 : 0; }

  Bytes bytes_{};
};

}  // namespace package
