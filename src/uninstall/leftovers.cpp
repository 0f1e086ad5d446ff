#include "uninstall/leftovers.h"

#include "language/message_format.h"
#include "language/texts.h"
#include "language/translation.h"

namespace uninstall {
namespace {

using language::Translate;

std::string Listed(const std::string& heading, const std::vector<std::string>& paths) {
  std::string text = "\n\n" + Translate(heading);
  for (const std::string& path : paths) text += "\n" + path;
  return text;
}

}  // namespace

void DeleteOrScheduleAtRestart(os::Files& files, const std::string& path, Leftovers& leftovers) {
  if (path.empty()) return;
  const os::ErrorCode code = files.DeleteFileAt(path) ? 0 : files.LastError();
  if (!files.FileExists(path)) return;
  leftovers.causes.push_back(os::Cause{"delete the file", path, code});
  if (files.DeleteAtReboot(path))
    leftovers.atRestart.push_back(path);
  else
    leftovers.remaining.push_back(path);
}

std::string ClosingMessage(const std::string& title, const Leftovers& leftovers) {
  if (leftovers.Empty())
    return language::FormatMessageText(Translate(language::english::kRemoved), title);
  std::string text =
      language::FormatMessageText(Translate(language::english::kRemovedWithLeftovers), title);
  if (!leftovers.atRestart.empty())
    text += Listed(language::english::kDeletedAtRestart, leftovers.atRestart);
  if (!leftovers.remaining.empty())
    text += Listed(language::english::kFilesStay, leftovers.remaining);
  return text;
}

}  // namespace uninstall
