// The window's view of the builder's per-user record: the title comes from our own settings
// record, the work is done by the integration functions.
#include "integration/saver_registry.h"
#include "integration/target_file_name.h"
#include "wizard/scr_setup.h"

namespace wizard {

void TSCRSetup::StoreInstalledPath(const std::string& path) {
  integration::StoreInstalledPath(os_.registry, Record.Title(), path);
}

std::string TSCRSetup::ReadInstalledPath() {
  return integration::ReadInstalledPath(os_.registry, Record.Title());
}

void TSCRSetup::ChooseTargetFileName(std::string& target, const std::string& folder) {
  integration::ChooseTargetFileName(
      os_.files, [this] { return ReadInstalledPath(); }, target, folder);
}

}  // namespace wizard
