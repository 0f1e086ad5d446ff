#pragma once
// Which files the uninstaller deletes. The uninstaller lives in the installation folder, so
// that folder is where a bare file name is looked for, whatever the current folder happens
// to be when the user starts it.
#include <string>

namespace uninstall {

// The recorded path when there is one, else the record's file name. A bare name is taken next to
// the uninstaller; a name with a folder part stays as it is. The empty text when there is
// nothing sound to delete.
std::string SaverPathToDelete(const std::string& recordedPath, const std::string& recordFileName,
                              const std::string& uninstallerPath);

// The readme setup wrote: in the folder of the recorded screen saver, else next to the
// uninstaller. The empty text when neither gives a folder.
std::string ReadmePathToDelete(const std::string& recordedPath, const std::string& uninstallerPath,
                               const std::string& readmeFileName);

}  // namespace uninstall
