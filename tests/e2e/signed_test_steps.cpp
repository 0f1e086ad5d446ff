// The Windows half of the signed-setup check (tests/e2e/signed_test.sh drives it): a setup file
// that carries a code signature behind its package installs and uninstalls like any other, and
// the uninstaller it writes is a plain unsigned program, not one whose header points at a
// signature that is not there.
//
// A setup file that scrpack signed together with its uninstaller (self-signed.exe) installs an
// uninstaller that carries its own signature; it and its temporary copy are copied back as
// self-uninstaller.exe and self-copy.exe for the script to verify against the test CA.
//
// forged.exe is self-signed.exe with another program's package hidden in its certificate table,
// where the signature does not look: it must install nothing.
//
// SCR_SIGNED_DIR (a Windows path) holds what the script made: setup.exe as the builder wrote it,
// signed.exe (the same, signed), signed.scr (the screen saver in it). The installed uninstaller is
// copied back there as uninstaller.exe, together with stale.exe, the same uninstaller with the
// setup file's signature entry put back, so that the script can show its check tells them apart.
#include <gtest/gtest.h>

#include "support/e2e_support.h"  // <windows.h> first

#include <tlhelp32.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "package/package_reader.h"
#include "package/read_source.h"
#include "package/sections.h"

namespace {

using e2e::ProcessesNamed;

using e2e::Join;
using e2e::Quote;
using e2e::kCopyName;

constexpr char kTitle[] = "Signed Stars";
constexpr char kSaverName[] = "signed.scr";
constexpr char kUninstallerName[] = "uninstall signed.exe";
constexpr char kUninstallEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Signed Stars";
constexpr char kSaverKey[] = "Software\\Somnivex\\Signed Stars";

uint32_t Get32(const std::string& bytes, std::size_t at) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= uint32_t(uint8_t(bytes.at(at + i))) << (8 * i);
  return value;
}

void Put32(std::string& bytes, std::size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<char>(value >> (8 * i));
}

// Where the header checksum and the certificate-table entry (data directory 4) of a PE file lie.
struct PeFields {
  std::size_t checksum = 0, certificate = 0;
};

PeFields FieldsOf(const std::string& file) {
  const std::size_t optional = Get32(file, 0x3C) + 24;
  EXPECT_EQ(Get32(file, optional - 24), 0x00004550u) << "no PE header";
  const bool plus = (Get32(file, optional) & 0xFFFF) == 0x20B;
  return {optional + 64, optional + (plus ? 112 : 96) + 4 * 8};
}

// What an uninstaller written from `setupFile` holds: its stub, texts, record and "ScUnin.sig".
std::string UninstallerOf(const std::string& setupFile) {
  package::MemoryReadSource source(setupFile);
  const package::PackageInfo info = package::ReadPackage(source);
  const int64_t end = info.packageEnd;
  const auto stubLength = static_cast<std::size_t>(package::StubLength(end, info.record));
  const auto textsAt = static_cast<std::size_t>(package::TextsStart(end, info.record));
  const auto signatureAt = static_cast<std::size_t>(package::SignatureStart(end));
  return setupFile.substr(0, stubLength) + setupFile.substr(textsAt, signatureAt - textsAt) + "ScUnin.sig";
}

class SignedSetup : public ::testing::Test {
 protected:
  // The uninstaller's temporary copy is started through the shell, so it is not ours by handle.
  ~SignedSetup() override { e2e::KillProcessesNamed(kCopyName); }
  std::string dir = e2e::Env("SCR_SIGNED_DIR");
};

TEST_F(SignedSetup, InstallsAndUninstallsLikeAnUnsignedOne) {
  ASSERT_FALSE(dir.empty()) << "SCR_SIGNED_DIR is not set: run this through tests/e2e/signed_test.sh";
  const auto unsigned_ = e2e::ReadFileBytes(Join(dir, "setup.exe"));
  const auto signed_ = e2e::ReadFileBytes(Join(dir, "signed.exe"));
  const auto image = e2e::ReadFileBytes(Join(dir, kSaverName));
  ASSERT_TRUE(unsigned_ && signed_ && image);
  const PeFields pe = FieldsOf(*signed_);
  // The signing tool appended its signature behind the package and pointed the header at it.
  ASSERT_GT(signed_->size(), unsigned_->size());
  ASSERT_EQ(Get32(*signed_, pe.certificate), unsigned_->size() + (8 - unsigned_->size() % 8) % 8);
  ASSERT_NE(Get32(*signed_, pe.certificate + 4), 0u);
  ASSERT_EQ(Get32(*unsigned_, pe.certificate), 0u);

  const std::string folder = Join(e2e::ScratchFolder(), "Signed Target");
  e2e::Process setup = e2e::StartProcess(Quote(Join(dir, "signed.exe")) + " -silent " + Quote(folder));
  ASSERT_TRUE(setup.Started());
  ASSERT_TRUE(setup.WaitForExit()) << "the installation did not end";
  EXPECT_EQ(setup.ExitCode(), 0u);
  EXPECT_EQ(e2e::ReadFileBytes(Join(folder, kSaverName)), *image) << "the screen saver is not byte-identical";
  EXPECT_TRUE(e2e::FileExists(Join(folder, "Signed Stars Readme.txt")));
  EXPECT_TRUE(e2e::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallEntry));

  // The uninstaller is the unsigned setup file's, with no signature entry and no checksum, which
  // would no longer match.
  const std::string uninstallerPath = Join(folder, kUninstallerName);
  const auto uninstaller = e2e::ReadFileBytes(uninstallerPath);
  ASSERT_TRUE(uninstaller) << "no uninstaller";
  EXPECT_EQ(Get32(*uninstaller, pe.certificate), 0u);
  EXPECT_EQ(Get32(*uninstaller, pe.certificate + 4), 0u);
  EXPECT_EQ(Get32(*uninstaller, pe.checksum), 0u);
  std::string expected = UninstallerOf(*unsigned_);
  Put32(expected, pe.checksum, 0);
  EXPECT_EQ(uninstaller->size(), expected.size());
  EXPECT_TRUE(*uninstaller == expected) << "the uninstaller differs from the unsigned setup file's";

  // For the signing tool's own look at it, and a stale one beside it to compare.
  std::string stale = *uninstaller;
  for (const std::size_t at : {pe.checksum, pe.certificate, pe.certificate + 4}) Put32(stale, at, Get32(*signed_, at));
  ASSERT_TRUE(e2e::WriteFileBytes(Join(dir, "uninstaller.exe"), *uninstaller));
  ASSERT_TRUE(e2e::WriteFileBytes(Join(dir, "stale.exe"), stale));

  // The uninstaller runs, asks, removes, and has its copy delete it.
  e2e::Process run = e2e::StartProcess(Quote(uninstallerPath));
  ASSERT_TRUE(run.Started());
  const auto question = e2e::WaitForMessageBox(run, std::string(kTitle) + " Uninstall");
  ASSERT_TRUE(question) << "no confirmation";
  ASSERT_TRUE(e2e::ClickButton(question->window, IDYES));
  EXPECT_TRUE(run.WaitForExit()) << "the uninstaller did not end";
  EXPECT_TRUE(e2e::WaitFor([&] { return !e2e::FileExists(uninstallerPath); })) << "the uninstaller is still there";
  HWND goodbye = nullptr;
  EXPECT_TRUE(e2e::WaitFor([&] { return (goodbye = FindWindowA("#32770", "Screensaver Setup")) != nullptr; }));
  if (goodbye) {
    const auto box = e2e::ReadMessageBox(goodbye);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, std::string(kTitle) + " has been successfully removed from your computer.");
    EXPECT_TRUE(e2e::ClickButton(goodbye, IDOK));
  }
  EXPECT_TRUE(e2e::WaitFor([] { return ProcessesNamed(kCopyName).empty(); })) << "the copy did not end";
  EXPECT_FALSE(e2e::FileExists(Join(folder, kSaverName)));
  EXPECT_FALSE(e2e::FileExists(Join(folder, "Signed Stars Readme.txt")));
  EXPECT_FALSE(e2e::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallEntry));
  EXPECT_FALSE(e2e::ReadRegString(HKEY_CURRENT_USER, kSaverKey, "FileName_"));
}

// The path of the file a running process was started from; empty when it cannot be had.
std::string ImagePathOf(DWORD processId) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
  if (snapshot == INVALID_HANDLE_VALUE) return {};
  MODULEENTRY32 module{};
  module.dwSize = sizeof module;
  const bool got = Module32First(snapshot, &module) != 0;  // the first module is the program
  CloseHandle(snapshot);
  return got ? std::string(module.szExePath) : std::string();
}

TEST_F(SignedSetup, OneBuildSignsTheUninstallerToo) {
  ASSERT_FALSE(dir.empty()) << "SCR_SIGNED_DIR is not set: run this through tests/e2e/signed_test.sh";
  const std::string folder = Join(e2e::ScratchFolder(), "Self Signed Target");
  e2e::Process setup = e2e::StartProcess(Quote(Join(dir, "self-signed.exe")) + " -silent " + Quote(folder));
  ASSERT_TRUE(setup.Started());
  ASSERT_TRUE(setup.WaitForExit()) << "the installation did not end";
  ASSERT_EQ(setup.ExitCode(), 0u);
  EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, kUninstallEntry, "Publisher"), "Throw-away Ltd");
  EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, kUninstallEntry, "DisplayVersion"), "1.0");

  // The installed uninstaller carries a certificate entry that points at a table behind its
  // "ScUnin.sig", right where the file ends.
  const std::string uninstallerPath = Join(folder, kUninstallerName);
  const auto uninstaller = e2e::ReadFileBytes(uninstallerPath);
  ASSERT_TRUE(uninstaller) << "no uninstaller";
  const PeFields pe = FieldsOf(*uninstaller);
  const uint32_t tableAt = Get32(*uninstaller, pe.certificate), tableSize = Get32(*uninstaller, pe.certificate + 4);
  EXPECT_NE(tableSize, 0u);
  EXPECT_EQ(std::size_t(tableAt) + tableSize, uninstaller->size());
  EXPECT_EQ(uninstaller->rfind("ScUnin.sig") + 10 + 8 > tableAt, true) << "more than the padding before the table";
  ASSERT_TRUE(e2e::WriteFileBytes(Join(dir, "self-uninstaller.exe"), *uninstaller));

  // Its temporary copy, which deletes it, is the same signed program.
  e2e::Process run = e2e::StartProcess(Quote(uninstallerPath));
  ASSERT_TRUE(run.Started());
  const auto question = e2e::WaitForMessageBox(run, std::string(kTitle) + " Uninstall");
  ASSERT_TRUE(question) << "no confirmation";
  ASSERT_TRUE(e2e::ClickButton(question->window, IDYES));
  std::optional<std::string> copy;
  EXPECT_TRUE(e2e::WaitFor([&] {
    for (const DWORD id : ProcessesNamed(kCopyName)) {
      const std::string path = ImagePathOf(id);
      if (!path.empty() && (copy = e2e::ReadFileBytes(path))) return true;
    }
    return false;
  })) << "the temporary copy was not seen running";
  if (copy) {
    EXPECT_TRUE(*copy == *uninstaller) << "the temporary copy differs from the uninstaller";
    ASSERT_TRUE(e2e::WriteFileBytes(Join(dir, "self-copy.exe"), *copy));
  }
  EXPECT_TRUE(run.WaitForExit()) << "the uninstaller did not end";
  HWND goodbye = nullptr;
  EXPECT_TRUE(e2e::WaitFor([&] { return (goodbye = FindWindowA("#32770", "Screensaver Setup")) != nullptr; }));
  if (goodbye) {
    EXPECT_TRUE(e2e::ClickButton(goodbye, IDOK));
  }
  EXPECT_TRUE(e2e::WaitFor([] { return ProcessesNamed(kCopyName).empty(); })) << "the copy did not end";
  EXPECT_FALSE(e2e::FileExists(uninstallerPath));
  EXPECT_FALSE(e2e::FileExists(Join(folder, kSaverName)));
  EXPECT_FALSE(e2e::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallEntry));
}

TEST_F(SignedSetup, APackageForgedInTheCertificateTableNeverInstalls) {
  ASSERT_FALSE(dir.empty()) << "SCR_SIGNED_DIR is not set: run this through tests/e2e/signed_test.sh";
  const std::string forged = Join(dir, "forged.exe");
  const std::string folder = Join(e2e::ScratchFolder(), "Forged Target");
  EXPECT_EQ(e2e::RunSilent(forged, folder), 1u);
  EXPECT_FALSE(e2e::FolderExists(folder));

  e2e::Process process = e2e::StartProcess(Quote(forged));
  ASSERT_TRUE(process.Started());
  const auto box = e2e::WaitForMessageBox(process);
  ASSERT_TRUE(box) << "no message box";
  EXPECT_EQ(box->text, e2e::kCorrupted);
  ASSERT_TRUE(e2e::ClickButton(box->window, IDOK));
  EXPECT_TRUE(process.WaitForExit()) << "the program did not end";
  EXPECT_EQ(process.ExitCode(), 1u);
  EXPECT_FALSE(e2e::FolderExists(folder));
}

}  // namespace
