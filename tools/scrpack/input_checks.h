#pragma once
// What scrpack refuses and what it warns about before it writes anything: the mistakes authors
// make that the setup program would otherwise only show on the user's machine.
#include <cstdint>
#include <ostream>
#include <string>

#include "package/settings_record.h"
#include "scrpack/ansi_text.h"
#include "scrpack/build_options.h"

namespace scrpack {

// The saver must be a Windows GUI program; `header` is its first bytes (up to 4 KB), `size` its
// length. Returns its machine type. Throws UsageError naming `where` and the reason.
uint16_t CheckSaver(const std::string& where, const std::string& path, const std::string& header,
                    int64_t size);

// The stub must be one of ours as built: a program carrying both package markers in its own data,
// with no package, no code signature and nothing else behind it. Returns its machine type.
uint16_t CheckStub(const std::string& where, const std::string& path, const std::string& stub);

// The Windows and Program Files placeholders are the only ones the setup program fills in; any
// other text in angle brackets would reach the installation as part of the folder name.
void CheckPlaceholders(const std::string& where, const std::string& folder);

// The default folder (`subfolder` false) or subfolder must be a folder Windows can create, or
// every run of the setup file would stop at the folder: no colon but the drive's, none of
// * ? " < > |, no control character, no device name such as CON as one of its levels.
void CheckFolderName(const std::string& where, const std::string& folder, bool subfolder,
                     const CodePage& page);

// The file name must leave a name once setup drops a folder part from it, as it does.
void CheckFileName(const std::string& where, const std::string& fileName, const CodePage& page);

// Warnings go to `warnings`, one line each; what the setup program will make of the input goes to
// `notes`. Nothing is refused here.
void WarnAboutFileName(const std::string& where, const std::string& fileName, const CodePage& page,
                       std::ostream& notes, std::ostream& warnings);
// `isSubfolder`: the title is the default subfolder as well.
void WarnAboutTitle(const std::string& where, const std::string& title, bool isSubfolder,
                    std::ostream& warnings);
void WarnAboutBitness(uint16_t saverMachine, uint16_t stubMachine, std::ostream& warnings);
// Where a destination in the system folder lands on 64-bit Windows, which depends on the stub.
void NoteAboutSystemFolder(const package::SettingsRecord& record, uint16_t stubMachine,
                           std::ostream& notes);
void WarnAboutLanguage(const std::string& where, const std::string& languageText,
                       const CodePage& page, std::ostream& notes, std::ostream& warnings);

}  // namespace scrpack
