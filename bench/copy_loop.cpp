// The baseline for install throughput: the image copied out of the setup file by a plain loop of
// ReadFile and WriteFile through one buffer of the installer's chunk size, opened the way the
// installer opens both files, and nothing else: no window, no progress, no message pump.
// A GUI program like the installer, so that both pay the same start-up under Wine.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "install/install_copy.h"

namespace {

// Exit codes: which step failed, as a GUI program has no console to say it on.
enum Exit {
  kCopied = 0,
  kUsage = 2,
  kOpenSource = 3,
  kSeek = 4,
  kCreateTarget = 5,
  kRead = 6,
  kWrite = 7
};

int CopyRange(HANDLE source, HANDLE target, int64_t length) {
  std::vector<char> buffer(install::kCopyChunkSize);
  while (length > 0) {
    const DWORD wanted =
        static_cast<DWORD>(length < install::kCopyChunkSize ? length : install::kCopyChunkSize);
    DWORD got = 0;
    if (!ReadFile(source, buffer.data(), wanted, &got, nullptr) || got == 0) return kRead;
    DWORD written = 0;
    if (!WriteFile(target, buffer.data(), got, &written, nullptr) || written != got) return kWrite;
    length -= got;
  }
  return kCopied;
}

}  // namespace

// usage: bench_copy_loop SETUP_FILE IMAGE_START IMAGE_LENGTH TARGET
int main(int argc, char** argv) {
  if (argc != 5) return kUsage;
  const int64_t start = std::strtoll(argv[2], nullptr, 10);
  const int64_t length = std::strtoll(argv[3], nullptr, 10);
  if (start < 0 || length <= 0) return kUsage;

  HANDLE source = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (source == INVALID_HANDLE_VALUE) return kOpenSource;
  LARGE_INTEGER position;
  position.QuadPart = start;
  if (!SetFilePointerEx(source, position, nullptr, FILE_BEGIN)) return kSeek;
  HANDLE target = CreateFileA(argv[4], GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (target == INVALID_HANDLE_VALUE) return kCreateTarget;
  const int result = CopyRange(source, target, length);
  CloseHandle(target);
  CloseHandle(source);
  return result;
}
