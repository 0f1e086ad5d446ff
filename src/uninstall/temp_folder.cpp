#include "uninstall/temp_folder.h"

#include "text/path_parts.h"
#include "text/text_lines.h"

namespace uninstall {

namespace {
std::string WindowsTempFolder(os::Files& files) {
  const std::string windows = text::UpToFirstNul(files.WindowsDirectory());
  if (windows.empty()) return std::string();
  const std::string temp = text::WithTrailingBackslash(windows) + "Temp";
  if (!os::IsFolderAt(files, temp) && !files.CreateFolder(temp)) return std::string();
  return temp + '\\';
}
}  // namespace

std::string TempFolder(os::Files& files) {
  const std::string system = text::UpToFirstNul(files.TempPath());
  if (!system.empty()) return text::WithTrailingBackslash(system);
  return WindowsTempFolder(files);
}

}  // namespace uninstall
