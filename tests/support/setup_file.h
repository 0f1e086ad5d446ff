#pragma once
// Setup files made in memory, for the tests of every level: a stub followed by the package, laid
// out as scrpack lays it out (scrpack itself streams the image from disk).
#include <optional>
#include <string>

#include "package/extension_block.h"
#include "package/settings_record.h"

namespace support {

// What goes behind the stub. The record's own fields (file name, title, link, flags, folders)
// are taken as they are; the size fields and the marker are filled in by AssembleSetupFile.
struct SetupContents {
  std::string image;
  std::string readme;
  std::string license;
  std::string language;
  package::SettingsRecord record;
  // When set, the block follows the package and the record says so, as scrpack writes it;
  // checksums left empty are those of this package.
  std::optional<package::ExtensionBlock> extension;
  // The package carries the image coded, as scrpack does by default (package/coded_image.h);
  // otherwise as it stands, which the setup program accepts for a program file ("MZ") only.
  bool coded = false;
};

// What a package asks for besides its files: the uninstall entry, the Start-menu group and the
// desktop shortcut.
struct Flags {
  bool entry = true, group = true, desktop = true;
};
void SetFlags(package::SettingsRecord& record, Flags flags);

// The whole setup file: stub, image, texts, record with its sizes, signature, extension block.
std::string AssembleSetupFile(const std::string& stub, SetupContents contents);

// A stub that is a bare PE32 header without sections, for files whose certificate-table entry
// matters.
std::string PeStub();

// Signs `file` (made with PeStub) as a signing tool does: zeros to the next multiple of 8, then
// `table`, and the header's certificate entry pointing at it.
std::string SignedLikeATool(std::string file, const std::string& table);

// Hides `forged` at the end of a signed file's certificate table and enlarges the table's size in
// the header to match: the signature's hash does not cover the table, so the signature still holds.
std::string ForgedInCertificateTable(std::string signedFile, const std::string& forged);

// The saver most tests install: "Stars" from stars.scr, with a link, offered for
// <Program Files>\Stars; no texts and no flags. Its bytes are no program (so that Wine's shell
// never starts it), so it is carried coded.
SetupContents StarsContents();

}  // namespace support
