#pragma once
// Writes the uninstaller: the stub of the running setup file, its texts, the settings record as
// held in memory, and "ScUnin.sig". Streams in bounded pieces, so the stub is never held whole.
#include <cstdint>
#include <functional>

#include "package/settings_record.h"

namespace os {
class File;
}

namespace package {

// `source` is the setup file (PackageEnd found in it, `record` read from it and possibly changed
// since); `out` is the new uninstaller, positioned at its start. Throws CorruptedPackage when the
// record's sizes do not fit the setup file, and WriteError when a read or write falls short;
// `out` then holds a partial uninstaller. The stub copy drops a code-signature entry from the PE
// header (see pe_signature.h); nothing else is changed. `afterStub`, when given, runs between the
// stub and the texts: the installation takes its expanded target path at that very point, and an
// error it throws ends the writing there.
void WriteUninstaller(os::File& source, os::File& out, int64_t packageEnd,
                      const SettingsRecord& record, const std::function<void()>& afterStub = {});

}  // namespace package
