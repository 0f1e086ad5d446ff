#include "uninstall/removal_paths.h"

#include "text/path_parts.h"

namespace uninstall {

using text::FolderPart;

namespace {
bool HasFolderPart(const std::string& path) { return path.find_first_of("\\/:") != std::string::npos; }
}  // namespace

std::string SaverPathToDelete(const std::string& recordedPath, const std::string& recordFileName,
                              const std::string& uninstallerPath) {
  const std::string path = recordedPath.empty() ? recordFileName : recordedPath;
  if (path.empty() || HasFolderPart(path)) return path;
  const std::string ownFolder = FolderPart(uninstallerPath);
  return ownFolder.empty() ? std::string() : ownFolder + path;
}

std::string ReadmePathToDelete(const std::string& recordedPath, const std::string& uninstallerPath,
                               const std::string& readmeFileName) {
  std::string folder = FolderPart(recordedPath);
  if (folder.empty()) folder = FolderPart(uninstallerPath);
  return folder.empty() ? std::string() : folder + readmeFileName;
}

}  // namespace uninstall
