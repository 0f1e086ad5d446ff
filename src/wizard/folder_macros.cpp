// The initial destination folder: the author's default folder and subfolder, joined, with the
// placeholders for the Windows and Program Files folders filled in for this machine.
#include <string>

#include "language/translation.h"
#include "wizard/scr_setup.h"

namespace wizard {
namespace {

constexpr char kWindowsMacro[] = "<Windows>";
constexpr char kProgramFilesMacro[] = "<Program Files>";

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string Trim(const std::string& text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsBlankOrControl(text[first])) ++first;
  while (last > first && IsBlankOrControl(text[last - 1])) --last;
  return text.substr(first, last - first);
}

bool EndsWithBackslash(const std::string& text) { return !text.empty() && text.back() == '\\'; }

std::string WithTrailingBackslash(std::string text) {
  if (!EndsWithBackslash(text)) text += '\\';
  return text;
}

// A folder name followed by a backslash inside a path would double the separator.
std::string WithoutTrailingBackslash(std::string text) {
  if (EndsWithBackslash(text)) text.pop_back();
  return text;
}

// The subfolder is appended to a folder that already ends with a backslash, and the joined path
// gets its own final backslash, so one at either end of the subfolder is dropped.
std::string NormalizedSubfolder(const std::string& subFolder) {
  std::string sub = Trim(subFolder);
  if (!sub.empty() && sub.front() == '\\') sub.erase(0, 1);
  if (!sub.empty() && sub.back() == '\\') sub.pop_back();
  return sub;
}

}  // namespace

std::string ExpandFolderMacros(os::Os& os, os::WindowRef owner, const std::string& defaultFolder,
                               const std::string& subFolder) {
  const std::string folder = WithTrailingBackslash(Trim(defaultFolder));
  std::string path = WithTrailingBackslash(Trim(folder + NormalizedSubfolder(subFolder)));
  // The system is asked only for folders the path actually names.
  if (path.find(kWindowsMacro) != std::string::npos)
    path = language::ReplaceAll(path, kWindowsMacro, WithoutTrailingBackslash(WindowsFolder(os)));
  if (path.find(kProgramFilesMacro) != std::string::npos)
    path = language::ReplaceAll(path, kProgramFilesMacro,
                                WithoutTrailingBackslash(ProgramFilesFolder(os, owner)));
  return path;
}

std::string WindowsFolder(os::Os& os) { return os.files.WindowsDirectory(); }

// Without a Program Files folder the placeholder simply disappears; the installation then
// checks the folder that results and reports it if it cannot be used.
std::string ProgramFilesFolder(os::Os& os, os::WindowRef owner) {
  return os.shell.SpecialFolder(owner, os::kCsidlProgramFiles).value_or(std::string());
}

}  // namespace wizard
