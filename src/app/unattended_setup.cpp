#include "app/unattended_setup.h"

#include <string>

#include "install/install_procedure.h"
#include "package/errors.h"
#include "text/text_lines.h"
#include "wizard/scr_setup.h"

namespace app {

integration::RunOutcome RunUnattendedInstallation(os::Os& os, const package::OwnPackage& package,
                                                  const UnattendedOptions& options,
                                                  runlog::RunLog& log) {
  const package::SettingsRecord& record = package.record;
  // The folder on the command line is taken as it stands: no placeholder in it is expanded.
  const std::string folder =
      options.folder.empty()
          ? wizard::ExpandFolderMacros(os, 0, record.DefaultFolder(), record.DefaultSubfolder())
          : options.folder;
  install::InstallRequest request{folder,
                                  text::SplitTextLines(package.readme),
                                  record,
                                  package.packageEnd,
                                  /*unattended=*/true,
                                  package.extension};
  request.shellInstall = options.shellInstall;
  request.log = &log;
  install::InstallProgress noWindow;
  // An error the installation lets through leaves nothing changed: it takes back what it wrote
  // before any error leaves it.
  integration::RunOutcome stopped;
  try {
    return install::InstallScreenSaver(os, request, noWindow);
  } catch (const package::Error& error) {
    stopped.cause = integration::CauseOf(error);
  } catch (...) {
    stopped.cause = os::Cause{"install", folder};
  }
  return stopped;
}

}  // namespace app
