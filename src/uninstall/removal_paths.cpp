#include "uninstall/removal_paths.h"

#include "text/path_parts.h"

namespace uninstall {

using text::FolderPart;

std::string SaverPathToDelete(const std::string& recordedPath, const std::string& recordFileName,
                              const std::string& uninstallerPath) {
  if (!recordedPath.empty()) return recordedPath;
  // Setup wrote only the name part of the record's file name, into its folder: never anything
  // the record's folder part, absolute or relative, might name.
  const std::string name = text::PlainFileName(recordFileName);
  const std::string ownFolder = FolderPart(uninstallerPath);
  return name.empty() || ownFolder.empty() ? std::string() : ownFolder + name;
}

std::string ReadmePathToDelete(const std::string& recordedPath, const std::string& uninstallerPath,
                               const std::string& readmeFileName) {
  if (readmeFileName.empty()) return std::string();
  std::string folder = FolderPart(recordedPath);
  if (folder.empty()) folder = FolderPart(uninstallerPath);
  return folder.empty() ? std::string() : folder + readmeFileName;
}

}  // namespace uninstall
