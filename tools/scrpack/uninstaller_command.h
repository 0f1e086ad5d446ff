#pragma once
// The uninstaller a setup file installs, written on the building machine: for signing it, and for
// checking what the installation will write.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace scrpack {

extern const char kUninstallerHelp[];

enum class CarriedSignature { kNone, kWritten, kDoesNotFit };

struct WrittenUninstaller {
  int64_t size = 0;
  CarriedSignature signature = CarriedSignature::kNone;
};

// Writes to `outPath` the uninstaller the setup file at `setupPath` installs on Windows 2000 and
// later: its stub, texts and record with the file-name rule that start-up applies, then
// "ScUnin.sig", and the signature its extension block carries when `withCarriedSignature` and it
// fits. `name` names the setup file in messages, `outName` the output (as the author gave it,
// which `outPath`, a temporary file, may not be). Throws std::runtime_error; `outPath` may then
// hold part of the file.
WrittenUninstaller WriteUninstallerOf(const std::string& setupPath, const std::string& name,
                                      const std::string& outPath, const std::string& outName,
                                      bool withCarriedSignature);

// `scrpack uninstaller SETUP -o FILE`.
int RunUninstaller(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace scrpack
