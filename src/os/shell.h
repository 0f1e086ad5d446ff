#pragma once
// Shell half of the OS boundary: ShellExecute, special folders, shell links, the folder dialog.
#include <cstdint>
#include <optional>
#include <string>

#include "os/failure.h"

namespace os {

using WindowRef = uintptr_t;  // an HWND as a number; 0 is "no window"

constexpr int kCsidlDesktop = 0;
constexpr int kCsidlPrograms = 2;
constexpr int kCsidlCommonPrograms = 0x17;  // every user's Start menu
constexpr int kCsidlCommonDesktop = 0x19;   // every user's desktop (CSIDL_COMMON_DESKTOPDIRECTORY)
constexpr int kCsidlProgramFiles = 38;

constexpr int kSwHide = 0;
constexpr int kSwShowNormal = 1;
constexpr int kSwShowNoActivate = 4;

struct ShellLink {
  std::string target;
  std::string iconPath;
  int iconIndex = 0;
};

class Shell : public FailureSource {
 public:
  // ShellExecuteA; an empty verb means the default verb (null). Returns the instance value.
  virtual intptr_t Execute(WindowRef owner, const std::string& verb, const std::string& file,
                           const std::string& parameters, const std::string& directory,
                           int show) noexcept = 0;
  // SHGetSpecialFolderLocation + the item's path, faithful as the folders of Files are. nullopt
  // when the location cannot be had; an empty text when the item has no path the program can use.
  virtual std::optional<std::string> SpecialFolder(WindowRef owner, int csidl) noexcept = 0;
  // Writes a .lnk through IShellLinkA / IPersistFile::Save. Returns the first failing HRESULT,
  // or 0. The link path is given in the ANSI code page and converted to UTF-16 here.
  virtual int32_t SaveLink(const ShellLink& link, const std::string& linkPath) noexcept = 0;
  // SHBrowseForFolderA with the wizard's settings; nullopt when cancelled.
  virtual std::optional<std::string> BrowseForFolder(WindowRef owner,
                                                     const std::string& instruction,
                                                     const std::string& startFolder) noexcept = 0;
};

}  // namespace os
