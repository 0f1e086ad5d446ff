#pragma once
// Which files the uninstaller deletes. The uninstaller lives in the installation folder, so
// that folder is where our files are looked for, whatever the current folder happens to be
// when the user starts it.
#include <string>

#include "os/files.h"

namespace uninstall {

// The recorded file, named from the uninstaller's own folder, when the record names a file this
// title installed there (integration::OwnRecordedPath); else the empty text.
std::string RecordedPathInOwnFolder(os::Files& files, const std::string& recordedPath,
                                    const std::string& uninstallerPath,
                                    const std::string& packagedName);

// The screen saver this uninstaller was installed with. Setup names the uninstaller after the
// file it chose ("uninstall stars1.exe" for stars1.scr, when somebody else's stars.scr was
// kept), so the uninstaller's own long name says which file is ours, beside it, whatever the
// record says or whether there is one. When the name tells nothing (the file was renamed), the
// recorded path that RecordedPathInOwnFolder took; else the empty text: the packaged name
// alone might be the file that setup declined to overwrite.
std::string SaverPathToDelete(os::Files& files, const std::string& recordedPath,
                              const std::string& packagedName, const std::string& uninstallerPath,
                              const std::string& translatedUninstall);

// The readme setup wrote: in the folder of the recorded screen saver, else next to the
// uninstaller. The empty text when neither gives a folder or the title gives no readme name.
std::string ReadmePathToDelete(const std::string& recordedPath, const std::string& uninstallerPath,
                               const std::string& readmeFileName);

}  // namespace uninstall
