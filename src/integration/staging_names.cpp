#include "integration/staging_names.h"

namespace integration {

std::string StagingName(const std::string& finalPath, StagingRole role, int number) {
  std::string name = finalPath + (role == StagingRole::kNew ? ".scrsetup-new" : ".scrsetup-old");
  if (number != 0) name += std::to_string(number);
  return name;
}

std::vector<std::string> StagingLeftovers(os::Files& files, const std::string& finalPath) {
  std::vector<std::string> found;
  for (const StagingRole role : {StagingRole::kNew, StagingRole::kKept})
    for (int number = 0; number < kStagingNumbers; ++number) {
      std::string name = StagingName(finalPath, role, number);
      if (os::IsFileNotFolderAt(files, name)) found.push_back(std::move(name));
    }
  return found;
}

}  // namespace integration
