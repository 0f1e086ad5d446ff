#pragma once
// Writes the uninstaller: the stub of the running setup file, its texts, the settings record as
// held in memory, and "ScUnin.sig". Streams in bounded pieces, so the stub is never held whole.
#include <cstdint>

#include "package/settings_record.h"

namespace os {
class File;
}

namespace package {

// `source` is the setup file (PackageEnd found in it, `record` read from it and possibly changed
// since); `out` is the new uninstaller, positioned at its start. Throws CorruptedPackage when the
// record's sizes do not fit the setup file, and WriteError when a read or write falls short;
// `out` then holds a partial uninstaller.
void WriteUninstaller(os::File& source, os::File& out, int64_t packageEnd, const SettingsRecord& record);

// Its pieces, in the order WriteUninstaller performs them. The stub copy drops a code-signature
// entry from the PE header (see pe_signature.h); nothing else is changed.
void CopyUninstallerStub(os::File& source, os::File& out, int64_t packageEnd, const SettingsRecord& record);
void CopyUninstallerTexts(os::File& source, os::File& out, int64_t packageEnd, const SettingsRecord& record);
void WriteUninstallerTrailer(os::File& out, const SettingsRecord& record);

// Size of the uninstaller WriteUninstaller makes.
int64_t UninstallerSize(int64_t packageEnd, const SettingsRecord& record);

}  // namespace package
