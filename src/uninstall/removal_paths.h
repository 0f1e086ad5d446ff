#pragma once
// Which files the uninstaller deletes. The uninstaller lives in the installation folder, so
// that folder is where a bare file name is looked for, whatever the current folder happens
// to be when the user starts it.
#include <string>

#include "os/files.h"

namespace uninstall {

// The recorded file, named from the uninstaller's own folder, when the record names a file in
// that folder; else the empty text.
// The record is the user's to change, and an uninstaller the system starts with administrator
// rights must not delete whatever it names: only a file beside itself is ours. The folders are
// compared as the system names them, without regard to case and alike in long or short form.
std::string RecordedPathInOwnFolder(os::Files& files, const std::string& recordedPath,
                                    const std::string& uninstallerPath);

// The recorded path when there is one, else the name part of the record's file name (after its
// last backslash, slash or colon) next to the uninstaller, where setup wrote it. The empty text
// when there is nothing sound to delete.
std::string SaverPathToDelete(const std::string& recordedPath, const std::string& recordFileName,
                              const std::string& uninstallerPath);

// The readme setup wrote: in the folder of the recorded screen saver, else next to the
// uninstaller. The empty text when neither gives a folder or the title gives no readme name.
std::string ReadmePathToDelete(const std::string& recordedPath, const std::string& uninstallerPath,
                               const std::string& readmeFileName);

}  // namespace uninstall
