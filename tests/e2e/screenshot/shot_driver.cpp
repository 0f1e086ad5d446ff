// Drives a running wizard for the screenshot script. It must run inside the same Wine virtual
// desktop as the wizard, so the script starts it with the same `explorer /desktop=NAME`, and
// because that start does not wait for the program, the result goes into a status file.
//
//   shot_driver.exe STATUS_FILE ACTION...
//
// Actions, run in order, each waiting up to a minute for its condition:
//   wait-page N   the wizard is visible and shows page N
//   click NAME    posts a click to the control of that name, e.g. btnNext (posted: a click that
//                 starts the installation must not block the driver)
//   wait-progress N  the progress bar has reached N percent
//   settle        the wizard has painted everything that was pending
//   suspend       freezes the wizard's thread, so a passing page can be photographed
//   resume        lets it run again
//   wait-gone     the wizard window no longer exists
//   noop          nothing (the registered "install" verb of the screenshot prefix points here)
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ui/wizard_controls.h"

namespace {

constexpr DWORD kTimeoutMilliseconds = 60000;
constexpr DWORD kPollMilliseconds = 5;
constexpr char kWizardClass[] = "TSCRSetup";

// The ID of the wizard's child window of that name; 0 for none.
int ChildIdNamed(const std::string& name) {
#define SHOT_CHILD_NAMED(row, ...) \
  if (name == #row) return ui::child::row;
  SCR_WIZARD_CHILDREN(SHOT_CHILD_NAMED, SHOT_CHILD_NAMED)
#undef SHOT_CHILD_NAMED
  return 0;
}

HWND Wizard() { return FindWindowA(kWizardClass, nullptr); }

struct Search {
  int id;
  HWND found;
};

BOOL CALLBACK MatchId(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (GetDlgCtrlID(window) != search->id) return TRUE;
  search->found = window;
  return FALSE;
}

HWND Control(HWND wizard, int id) {
  Search search{id, nullptr};
  EnumChildWindows(wizard, MatchId, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

template <typename Condition>
bool WaitFor(Condition condition) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > kTimeoutMilliseconds) return false;
    Sleep(kPollMilliseconds);
  }
  return true;
}

bool PageShows(int page) {
  const HWND wizard = Wizard();
  if (!wizard || !IsWindowVisible(wizard)) return false;
  const HWND pageWindow = Control(wizard, ui::PageChildId(page));
  return pageWindow && IsWindowVisible(pageWindow);
}

bool ProgressAt(int percent) {
  const HWND wizard = Wizard();
  const HWND bar = wizard ? Control(wizard, ui::child::ProgressBar) : nullptr;
  return bar && SendMessageA(bar, PBM_GETPOS, 0, 0) >= percent;
}

// Painting from here is synchronous: the wizard's thread paints before the call returns.
bool Settle() {
  const HWND wizard = Wizard();
  if (!wizard) return false;
  RedrawWindow(wizard, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  DWORD_PTR result = 0;
  SendMessageTimeoutA(wizard, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMilliseconds, &result);
  return true;
}

bool SetWizardThreadSuspended(bool suspended) {
  const HWND wizard = Wizard();
  if (!wizard) return false;
  const DWORD threadId = GetWindowThreadProcessId(wizard, nullptr);
  HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, threadId);
  if (!thread) return false;
  const DWORD result = suspended ? SuspendThread(thread) : ResumeThread(thread);
  CloseHandle(thread);
  return result != static_cast<DWORD>(-1);
}

std::string Run(int count, char** actions) {
  for (int i = 0; i < count; ++i) {
    const std::string action = actions[i];
    const char* argument = i + 1 < count ? actions[i + 1] : "";
    if (action == "noop") return "ok";
    if (action == "wait-page") {
      const int page = std::atoi(argument);
      ++i;
      if (!WaitFor([page] { return PageShows(page); })) return "timeout waiting for page " + std::to_string(page);
    } else if (action == "click") {
      const int id = ChildIdNamed(argument);
      ++i;
      if (!id) return std::string("no control named ") + argument;
      HWND control = nullptr;
      if (!WaitFor([&] { return Wizard() && (control = Control(Wizard(), id)) != nullptr; }))
        return "no control " + std::to_string(id);
      PostMessageA(control, BM_CLICK, 0, 0);
    } else if (action == "wait-progress") {
      const int percent = std::atoi(argument);
      ++i;
      if (!WaitFor([percent] { return ProgressAt(percent); })) return "timeout waiting for progress";
    } else if (action == "settle") {
      if (!Settle()) return "no wizard to settle";
    } else if (action == "suspend" || action == "resume") {
      if (!SetWizardThreadSuspended(action == "suspend")) return "cannot " + action + " the wizard";
    } else if (action == "wait-gone") {
      if (!WaitFor([] { return Wizard() == nullptr; })) return "the wizard did not close";
    } else {
      return "unknown action " + action;
    }
  }
  return "ok";
}

}  // namespace

int main(int argc, char** argv) {
  // Started without a status file and an action: as the screenshot package's screen saver.
  if (argc < 3) return 2;
  const std::string status = Run(argc - 2, argv + 2);
  if (std::strcmp(argv[1], "-") != 0) {
    // Written whole under a temporary name and renamed, so the script never reads half a line.
    const std::string temporary = std::string(argv[1]) + ".tmp";
    if (FILE* file = std::fopen(temporary.c_str(), "wb")) {
      std::fputs(status.c_str(), file);
      std::fclose(file);
      MoveFileExA(temporary.c_str(), argv[1], MOVEFILE_REPLACE_EXISTING);
    }
  }
  return status == "ok" ? 0 : 1;
}
