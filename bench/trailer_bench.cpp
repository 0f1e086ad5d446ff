// Times our trailer search against the literal rule (one 10-byte read per byte, walking back from
// the end) on a setup file with data appended behind its signature. Both read the same file
// through the same positioned-read source.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "package/package_end.h"
#include "package/read_source.h"

namespace {

class PreadSource : public package::ReadSource {
 public:
  explicit PreadSource(int fd) : fd_(fd) {}
  int64_t Size() override { return static_cast<int64_t>(lseek(fd_, 0, SEEK_END)); }
  bool ReadAt(int64_t position, void* buffer, uint32_t count, uint32_t& delivered) override {
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
  if (size >= 10 && source.ReadAt(size - 10, window, 10, got) && got == 10 &&
      package::IsPackageSignature(window))
    return size;
  for (int64_t end = size; end > 0; --end) {
    if (end < 10) continue;
    if (source.ReadAt(end - 10, window, 10, got) && got == 10 && package::IsPackageSignature(window))
      return end;
  }
  return std::nullopt;
}

template <typename F>
double Seconds(F f, std::optional<int64_t>& result) {
  const auto start = std::chrono::steady_clock::now();
  result = f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: trailer_bench SETUP_FILE_WITH_TRAILING_DATA\n");
    return 2;
  }
  const int fd = open(argv[1], O_RDONLY);
  if (fd < 0) {
    std::perror(argv[1]);
    return 1;
  }
  PreadSource source(fd);
  std::optional<int64_t> ours, literal;
  const double oursSeconds = Seconds([&] { return package::FindPackageEnd(source); }, ours);
  const double literalSeconds = Seconds([&] { return LiteralSearch(source); }, literal);
  close(fd);
  if (ours != literal || !ours) {
    std::fprintf(stderr, "results differ or no package found\n");
    return 1;
  }
  std::printf("trailer_ours_ms=%.2f\ntrailer_literal_ms=%.2f\npackage_end=%lld\n", oursSeconds * 1000,
              literalSeconds * 1000, static_cast<long long>(*ours));
  return 0;
}
