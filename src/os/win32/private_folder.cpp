#include "os/win32/private_folder.h"

#include <windows.h>

#include <vector>

#include "os/win32/unique_handle.h"

namespace os::win32 {

namespace {

// The SID of the user this process runs as, from its token: the owner an elevated process
// gives new objects is the Administrators group, so the user must be named on its own.
std::vector<BYTE> CurrentUserSid() {
  UniqueHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) return {};
  DWORD size = 0;
  GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
  if (size == 0) return {};
  std::vector<BYTE> buffer(size);
  if (!GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size)) return {};
  const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
  std::vector<BYTE> copy(GetLengthSid(sid));
  if (!CopySid(static_cast<DWORD>(copy.size()), copy.data(), sid)) return {};
  return copy;
}

std::vector<BYTE> WellKnownSid(WELL_KNOWN_SID_TYPE type) {
  std::vector<BYTE> sid(SECURITY_MAX_SID_SIZE);
  DWORD size = static_cast<DWORD>(sid.size());
  if (!CreateWellKnownSid(type, nullptr, sid.data(), &size)) return {};
  sid.resize(size);
  return sid;
}

}  // namespace

bool CreatePrivateFolderA(const std::string& path) {
  const std::vector<std::vector<BYTE>> sids = {
      CurrentUserSid(), WellKnownSid(WinBuiltinAdministratorsSid), WellKnownSid(WinLocalSystemSid)};
  DWORD aclSize = sizeof(ACL);
  for (const auto& sid : sids) {
    if (sid.empty()) return false;
    aclSize += sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + static_cast<DWORD>(sid.size());
  }
  std::vector<BYTE> aclBuffer(aclSize);
  auto* acl = reinterpret_cast<ACL*>(aclBuffer.data());
  if (!InitializeAcl(acl, aclSize, ACL_REVISION)) return false;
  for (const auto& sid : sids) {
    if (!AddAccessAllowedAceEx(acl, ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE,
                               FILE_ALL_ACCESS, const_cast<BYTE*>(sid.data())))
      return false;
  }
  SECURITY_DESCRIPTOR descriptor{};
  if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE) ||
      !SetSecurityDescriptorControl(&descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED))
    return false;
  SECURITY_ATTRIBUTES attributes{};
  attributes.nLength = sizeof(attributes);
  attributes.lpSecurityDescriptor = &descriptor;
  attributes.bInheritHandle = FALSE;
  return CreateDirectoryA(path.c_str(), &attributes) != FALSE;
}

}  // namespace os::win32
