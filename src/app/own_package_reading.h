#pragma once
// Start-up's reads of the program's own file, in two parts: what every mode needs, and then, for a
// setup file alone, the texts its wizard shows. Any failure in either is the corrupted-file
// failure: they throw.
#include "os/os.h"
#include "package/own_package.h"
#include "package/read_source.h"

namespace app {

// The package end, the record (with the file-name rule applied), the kind, the extension block
// and the language text; the translation is loaded from here on.
package::OwnPackage ReadPackageHead(os::System& system, package::ReadSource& source);
// The image's bounds are checked, and the readme and the licence read.
void ReadSetupTexts(package::ReadSource& source, package::OwnPackage& package);

}  // namespace app
