// Our trailer search, or the literal rule (one 10-byte read per byte, walking back from the end),
// over a setup file with data appended behind its marker; prints the package end it found. Both
// read the same file through the same positioned-read source.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <optional>

#include "package/package_end.h"
#include "package/read_source.h"

namespace {

class PreadSource : public package::ReadSource {
 public:
  explicit PreadSource(int fd) : fd_(fd) {}
  int64_t Size() noexcept override { return static_cast<int64_t>(lseek(fd_, 0, SEEK_END)); }
  bool ReadAt(int64_t position, void* buffer, uint32_t count, uint32_t& delivered) noexcept override {
    const ssize_t n = pread(fd_, buffer, count, position);
    delivered = n > 0 ? static_cast<uint32_t>(n) : 0;
    return n > 0;
  }

 private:
  int fd_;
};

// The rule as written: the last 10 bytes first, then one window per byte towards the start.
std::optional<int64_t> LiteralSearch(package::ReadSource& source) {
  const int64_t size = source.Size();
  uint8_t window[10];
  uint32_t got = 0;
  for (int64_t end = size; end >= 10; --end) {
    if (source.ReadAt(end - 10, window, 10, got) && got == 10 &&
        package::IsPackageSignature(window))
      return end;
  }
  return std::nullopt;
}

}  // namespace

// One search per process, so that `make bench` times each as a whole process, in pairs.
int main(int argc, char** argv) {
  const bool literal = argc == 3 && std::strcmp(argv[1], "literal") == 0;
  if (argc != 3 || (!literal && std::strcmp(argv[1], "ours") != 0)) {
    std::fprintf(stderr, "usage: trailer_bench ours|literal SETUP_FILE\n");
    return 2;
  }
  const int fd = open(argv[2], O_RDONLY);
  if (fd < 0) {
    std::perror(argv[2]);
    return 1;
  }
  PreadSource source(fd);
  const std::optional<int64_t> end =
      literal ? LiteralSearch(source) : package::FindPackageEnd(source);
  close(fd);
  if (!end) {
    std::fprintf(stderr, "no package found\n");
    return 1;
  }
  std::printf("package_end=%lld\n", static_cast<long long>(*end));
  return 0;
}
