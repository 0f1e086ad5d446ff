#include "scrpack/winget_manifest.h"

#include <cstdint>

#include "app/exit_codes.h"

namespace scrpack {
namespace {

constexpr char kManifestVersion[] = "1.10.0";
constexpr std::size_t kMaxIdentifierLength = 128;
constexpr std::size_t kMinIdentifierParts = 2, kMaxIdentifierParts = 8;
constexpr std::size_t kMaxIdentifierPartLength = 32;

// What winget reads each of our exit codes as. 1618 is the code deployment tools already know.
// 2 and 3 say how far setup came, not why it stopped (a folder that cannot be made, a held file, a
// full disk: the log says which), so no named response fits them.
struct ReturnCode {
  int code;
  const char* response;
};
const ReturnCode kReturnCodes[] = {
    // The setup file itself is unreadable or damaged: only its publisher can mend that.
    {app::kExitUnreadable, "contactSupport"},
    {app::kExitStoppedUnchanged, "custom"},
    {app::kExitFailedPartWay, "custom"},
    {app::kExitAnotherRunning, "installInProgress"},
};

// Characters counted as the schema's pattern counts them: UTF-8 continuation bytes are not.
std::size_t CharacterCount(const std::string& text) {
  std::size_t count = 0;
  for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

bool IsRefusedInIdentifier(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == ' ' || byte == 0x7F ||
         std::string("\\/:*?\"<>|").find(c) != std::string::npos;
}

// A double-quoted YAML scalar: every text reads back as the text, whatever it holds.
std::string YamlQuoted(const std::string& text) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string quoted = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool c1 = byte == 0xC2 && i + 1 < text.size() &&
                    static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(text[i + 1]) <= 0x9F;
    if (byte == '"' || byte == '\\') {
      quoted += {'\\', char(byte)};
    } else if (byte < 0x20 || byte == 0x7F || c1) {
      const unsigned char code = c1 ? static_cast<unsigned char>(text[++i]) : byte;
      quoted += {'\\', 'x', kDigits[code >> 4], kDigits[code & 15]};
    } else {
      quoted += char(byte);
    }
  }
  return quoted + "\"";
}

std::string Line(const std::string& indent, const char* key, const std::string& value) {
  return indent + key + ": " + YamlQuoted(value) + "\n";
}

std::string OptionalLine(const std::string& indent, const char* key, const std::string& value) {
  return value.empty() ? std::string() : Line(indent, key, value);
}

std::string Header(const char* type, const WingetPackage& package) {
  return std::string("# yaml-language-server: $schema=https://aka.ms/winget-manifest.") + type +
         "." + kManifestVersion + ".schema.json\n\n" +
         Line("", "PackageIdentifier", package.identifier) +
         Line("", "PackageVersion", package.version);
}

std::string Footer(const char* type) {
  return std::string("ManifestType: ") + type + "\nManifestVersion: " + kManifestVersion + "\n";
}

std::string VersionFile(const WingetPackage& package) {
  return Header("version", package) + Line("", "DefaultLocale", kWingetLocale) + Footer("version");
}

std::string Switches() {
  return "InstallModes:\n- interactive\n- silent\n- silentWithProgress\n"
         "InstallerSwitches:\n" +
         Line("  ", "Silent", "-silent") + Line("  ", "SilentWithProgress", "-silent") +
         Line("  ", "Log", "-log \"<LOGPATH>\"") +
         Line("  ", "InstallLocation", "-dir \"<INSTALLPATH>\"");
}

std::string ReturnCodes() {
  std::string text = "ExpectedReturnCodes:\n";
  for (const ReturnCode& code : kReturnCodes)
    text += "- InstallerReturnCode: " + std::to_string(code.code) +
            "\n  ReturnResponse: " + code.response + "\n";
  return text;
}

std::string UninstallEntry(const WingetPackage& package) {
  if (package.productCode.empty()) return std::string();
  return Line("", "ProductCode", package.productCode) + "AppsAndFeaturesEntries:\n" +
         Line("- ", "DisplayName", package.displayName) +
         OptionalLine("  ", "Publisher", package.displayPublisher) +
         OptionalLine("  ", "DisplayVersion", package.displayVersion);
}

std::string InstallerFile(const WingetPackage& package) {
  // The setup program's manifest asks for the highest rights the user has: an administrator is
  // asked to elevate by the setup file itself.
  return Header("installer", package) + "InstallerType: exe\nScope: machine\n" + Switches() +
         ReturnCodes() + "ElevationRequirement: elevatesSelf\n" + UninstallEntry(package) +
         "Installers:\n- Architecture: " + package.architecture + "\n" +
         Line("  ", "InstallerUrl", package.installerUrl) +
         Line("  ", "InstallerSha256", package.sha256) + Footer("installer");
}

std::string LocaleFile(const WingetPackage& package) {
  return Header("defaultLocale", package) + Line("", "PackageLocale", kWingetLocale) +
         Line("", "Publisher", package.publisher) + Line("", "PackageName", package.name) +
         OptionalLine("", "PackageUrl", package.packageUrl) + Line("", "License", package.license) +
         Line("", "ShortDescription", package.description) + Footer("defaultLocale");
}

}  // namespace

std::string WhyNotAPackageIdentifier(const std::string& identifier) {
  if (CharacterCount(identifier) > kMaxIdentifierLength)
    return "is longer than " + std::to_string(kMaxIdentifierLength) + " characters";
  std::size_t parts = 0;
  for (std::size_t start = 0; start <= identifier.size(); ++parts) {
    const std::size_t dot = std::min(identifier.find('.', start), identifier.size());
    const std::size_t length = CharacterCount(identifier.substr(start, dot - start));
    if (length == 0 || length > kMaxIdentifierPartLength)
      return "has a part of " + std::to_string(length) +
             " characters; each part between the dots"
             " has 1 to " +
             std::to_string(kMaxIdentifierPartLength);
    start = dot + 1;
  }
  if (parts < kMinIdentifierParts || parts > kMaxIdentifierParts)
    return "has " + std::to_string(parts) + " part" + (parts == 1 ? "" : "s") + "; it takes " +
           std::to_string(kMinIdentifierParts) + " to " + std::to_string(kMaxIdentifierParts) +
           " joined by dots, such as Publisher.Name";
  for (char c : identifier)
    if (IsRefusedInIdentifier(c))
      return "holds a blank, a control character or one of \\ / : * ? \" < > |";
  return std::string();
}

std::vector<ManifestFile> WingetManifest(const WingetPackage& package) {
  const std::string& id = package.identifier;
  return {{id + ".yaml", VersionFile(package)},
          {id + ".installer.yaml", InstallerFile(package)},
          {id + ".locale." + kWingetLocale + ".yaml", LocaleFile(package)}};
}

}  // namespace scrpack
