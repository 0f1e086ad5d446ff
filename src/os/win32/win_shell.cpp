#include "os/win32/win_shell.h"

#include "os/win32/ansi_path.h"
#include "os/win32/unique_handle.h"

#include <shellapi.h>
#include <wrl/client.h>

namespace os::win32 {

namespace {

HWND AsWindow(os::WindowRef window) { return reinterpret_cast<HWND>(window); }

const char* NullWhenEmpty(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

intptr_t WinShell::Execute(os::WindowRef owner, const std::string& verb, const std::string& file,
                           const std::string& parameters, const std::string& directory,
                           int show) noexcept {
  const auto result =
      reinterpret_cast<intptr_t>(ShellExecuteA(AsWindow(owner), NullWhenEmpty(verb), file.c_str(),
                                               NullWhenEmpty(parameters), directory.c_str(), show));
  error_.Keep(result > 32);  // the call's own rule for success
  return result;
}

std::optional<std::string> WinShell::SpecialFolder(os::WindowRef owner, int csidl) noexcept {
  UniquePidl pidl;
  const HRESULT result = SHGetSpecialFolderLocation(AsWindow(owner), csidl, pidl.Put());
  if (FAILED(result) || !pidl)
    return error_.Refuse(static_cast<os::ErrorCode>(FAILED(result) ? result : E_FAIL)),
           std::nullopt;
  return UsableItemPath(pidl.Get()).value_or(std::string());
}

int32_t WinShell::SaveLink(const os::ShellLink& link, const std::string& linkPath) noexcept {
  const int32_t result = WriteLink(link, linkPath);
  if (result != 0) error_.Refuse(static_cast<os::ErrorCode>(result));
  return result;
}

int32_t WinShell::WriteLink(const os::ShellLink& link, const std::string& linkPath) noexcept {
  WCHAR widePath[MAX_PATH] = {};
  // A path longer than the buffer is refused, never truncated into a different file.
  if (MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, MAX_PATH) == 0)
    return E_INVALIDARG;

  ComApartment apartment;
  Microsoft::WRL::ComPtr<IShellLinkA> shellLink;
  HRESULT result =
      CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                       IID_IShellLinkA, reinterpret_cast<void**>(shellLink.GetAddressOf()));
  if (FAILED(result)) return result;
  if (FAILED(result = shellLink->SetPath(link.target.c_str()))) return result;
  const std::string& icon = link.iconPath.empty() ? link.target : link.iconPath;
  if (FAILED(result = shellLink->SetIconLocation(icon.c_str(), link.iconIndex))) return result;
  Microsoft::WRL::ComPtr<IPersistFile> file;
  if (FAILED(result = shellLink.As(&file))) return result;
  result = file->Save(widePath, TRUE);
  return FAILED(result) ? result : 0;
}

}  // namespace os::win32
