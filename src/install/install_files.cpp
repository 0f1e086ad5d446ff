#include "install/install_files.h"

#include <algorithm>
#include <cstring>

namespace install {
namespace {

class LineWriter {
 public:
  LineWriter(os::File& file, std::vector<uint8_t>& buffer) : file_(file), buffer_(buffer) {}

  bool Add(const char* bytes, std::size_t count) {
    while (count > 0) {
      if (used_ == buffer_.size() && !Flush()) return false;
      const std::size_t take = std::min(count, buffer_.size() - used_);
      std::memcpy(buffer_.data() + used_, bytes, take);
      used_ += take;
      bytes += take;
      count -= take;
    }
    return true;
  }

  bool Flush() {
    uint32_t written = 0;
    const auto count = static_cast<uint32_t>(used_);
    const bool ok = used_ == 0 || (file_.Write(buffer_.data(), count, written) && written == count);
    used_ = 0;
    return ok;
  }

 private:
  os::File& file_;
  std::vector<uint8_t>& buffer_;
  std::size_t used_ = 0;
};

}  // namespace

bool IsExistingFolder(os::Files& files, const std::string& folder) {
  return !folder.empty() && os::IsFolderAt(files, folder);
}

bool WriteLines(os::File& file, const std::vector<std::string>& lines,
                std::vector<uint8_t>& buffer) {
  if (buffer.empty()) return false;
  LineWriter writer(file, buffer);
  for (const std::string& line : lines)
    if (!writer.Add(line.data(), line.size()) || !writer.Add("\r\n", 2)) return false;
  return writer.Flush();
}

}  // namespace install
