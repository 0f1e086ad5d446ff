#pragma once
// How two opens of one file get along on Windows. The real OS boundary and its test double are
// both held to this one table.
#include "os/files.h"

namespace support {

struct ShareCase {
  os::OpenMode first;
  os::OpenMode second;
  bool secondOpens;
};

inline constexpr ShareCase kShareCases[] = {
    {os::OpenMode::kReadShareAll, os::OpenMode::kReadShareAll, true},
    {os::OpenMode::kReadShareAll, os::OpenMode::kReadShareRead, true},
    {os::OpenMode::kReadShareRead, os::OpenMode::kReadShareRead, true},
    {os::OpenMode::kReadShareRead, os::OpenMode::kReadWriteExisting, false},
    {os::OpenMode::kReadShareAll, os::OpenMode::kReadWriteExisting, false},
    {os::OpenMode::kReadWriteExisting, os::OpenMode::kReadShareAll, false},
    {os::OpenMode::kCreateAlways, os::OpenMode::kReadShareAll, false},
    {os::OpenMode::kReadShareAll, os::OpenMode::kCreateAlways, false},
};

}  // namespace support
