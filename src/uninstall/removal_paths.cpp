#include "uninstall/removal_paths.h"

#include "text/ascii_case.h"
#include "text/path_parts.h"

namespace uninstall {

using text::FolderPart;

namespace {

bool SameFolder(os::Files& files, const std::string& a, const std::string& b) {
  if (text::SameIgnoringAsciiCase(a, b)) return true;
  const std::string shortA = files.ShortPathName(a), shortB = files.ShortPathName(b);
  return !shortA.empty() && text::SameIgnoringAsciiCase(shortA, shortB);
}

}  // namespace

std::string RecordedPathInOwnFolder(os::Files& files, const std::string& recordedPath,
                                    const std::string& uninstallerPath) {
  // Split as Windows splits it, slashes included, so that no "../" behind the last backslash can
  // lead the name out of the folder that was compared.
  const std::string folder = text::PlainFolderPart(recordedPath);
  const std::string name = text::PlainFileName(recordedPath);
  const std::string ownFolder = FolderPart(uninstallerPath);
  if (folder.empty() || ownFolder.empty() || name.empty()) return {};
  // Named from our own folder, which is the same folder, in the form this process knows.
  return SameFolder(files, folder, ownFolder) ? ownFolder + name : std::string();
}

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
