#pragma once
// A winget multi-file manifest (version, installer, defaultLocale; manifest version 1.10.0) for
// one setup file, as the community repository lays them out.
#include <string>
#include <vector>

namespace scrpack {

constexpr char kWingetLocale[] = "en-US";

// What the manifest says. Texts are UTF-8; empty optional ones are left out.
struct WingetPackage {
  std::string identifier;  // Publisher.Name
  std::string version;
  std::string publisher;
  std::string name;
  std::string license;
  std::string description;  // ShortDescription
  std::string packageUrl;   // optional
  std::string installerUrl;
  std::string sha256;        // upper-case hexadecimal
  std::string architecture;  // x86, x64
  // The uninstall entry the setup file makes, by which winget finds the installed package; all
  // empty when it makes none.
  std::string productCode;  // the entry's key name
  std::string displayName;
  std::string displayPublisher;  // optional
  std::string displayVersion;    // optional
};

// Why `identifier` is no package identifier winget takes (two to eight parts of 1 to 32
// characters, joined by dots, none of them blank or one of \ / : * ? " < > |); empty when it is.
std::string WhyNotAPackageIdentifier(const std::string& identifier);

struct ManifestFile {
  std::string name;  // <Id>.yaml, <Id>.installer.yaml, <Id>.locale.en-US.yaml
  std::string text;
};

// The three files, in that order.
std::vector<ManifestFile> WingetManifest(const WingetPackage& package);

}  // namespace scrpack
