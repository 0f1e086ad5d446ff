#include "uninstall/temp_folder.h"

#include "text/path_parts.h"

namespace uninstall {

namespace {
std::string UpToFirstNul(const std::string& text) { return text.substr(0, text.find('\0')); }

std::string WindowsTempFolder(os::Files& files) {
  const std::string windows = UpToFirstNul(files.WindowsDirectory());
  if (windows.empty()) return std::string();
  const std::string temp = text::WithTrailingBackslash(windows) + "Temp";
  if (!os::IsFolderAt(files, temp) && !files.CreateFolder(temp)) return std::string();
  return temp + '\\';
}
}  // namespace

std::string TempFolder(os::Files& files) {
  const std::string system = UpToFirstNul(files.TempPath());
  if (!system.empty()) return text::WithTrailingBackslash(system);
  return WindowsTempFolder(files);
}

}  // namespace uninstall
