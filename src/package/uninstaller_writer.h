#pragma once
// Writes the uninstaller: the stub of the running setup file, its texts, the settings record as
// held in memory, and "ScUnin.sig". Streams in bounded pieces, so the stub is never held whole.
#include <cstdint>

#include "package/extension_block.h"
#include "package/settings_record.h"

namespace os {
class File;
}

namespace package {

// `source` is the setup file (PackageEnd found in it, `record` read from it and possibly changed
// since); `out` is the new uninstaller, positioned at its start. Throws CorruptedPackage when the
// record's sizes do not fit the setup file, and WriteError when a read or write falls short;
// `out` then holds a partial uninstaller. The stub copy drops a code-signature entry from the PE
// header (see pe_signature.h); nothing else is changed.
//
// With a `signature` that fits (SignatureFits), the uninstaller becomes the one that was signed
// when the setup file was built: the header gets the signed file's checksum and a certificate
// entry, and the padding and the table follow "ScUnin.sig". Authenticode hashes neither, so the
// signature holds for these bytes. One that does not fit is left out.
void WriteUninstaller(os::File& source, os::File& out, int64_t packageEnd,
                      const SettingsRecord& record,
                      const UninstallerSignature* signature = nullptr);

// The uninstaller's length without a signature: the stub, the texts, the record, the marker.
int64_t UninstallerLength(int64_t packageEnd, const SettingsRecord& record);

// True when `signature` was made for an uninstaller with this very record (the stub and the texts
// are the setup file's own, so the record is all that can differ) and looks like a signing tool's.
bool SignatureFits(const UninstallerSignature& signature, const SettingsRecord& record);

}  // namespace package
