#include "uninstall/removal_paths.h"

#include "integration/target_file_name.h"
#include "integration/uninstaller_name.h"
#include "text/path_parts.h"

namespace uninstall {

using text::FolderPart;

std::string RecordedPathInOwnFolder(os::Files& files, const std::string& recordedPath,
                                    const std::string& uninstallerPath,
                                    const std::string& packagedName) {
  const std::string ownFolder = FolderPart(uninstallerPath);
  if (ownFolder.empty()) return std::string();
  return integration::OwnRecordedPath(files, recordedPath, ownFolder, packagedName);
}

std::string SaverPathToDelete(os::Files& files, const std::string& recordedPath,
                              const std::string& packagedName, const std::string& uninstallerPath,
                              const std::string& translatedUninstall) {
  const std::string ownFolder = FolderPart(uninstallerPath);
  if (ownFolder.empty()) return std::string();
  // Started through its short name ("UNINST~1.EXE"), the long one still tells.
  std::string longPath = files.LongPathName(uninstallerPath);
  if (longPath.empty()) longPath = uninstallerPath;
  const std::string named = integration::SaverNameOfUninstaller(text::FileNamePart(longPath),
                                                                translatedUninstall, packagedName);
  if (!named.empty()) return ownFolder + named;
  return recordedPath;
}

std::string ReadmePathToDelete(const std::string& recordedPath, const std::string& uninstallerPath,
                               const std::string& readmeFileName) {
  if (readmeFileName.empty()) return std::string();
  std::string folder = FolderPart(recordedPath);
  if (folder.empty()) folder = FolderPart(uninstallerPath);
  return folder.empty() ? std::string() : folder + readmeFileName;
}

}  // namespace uninstall
