#pragma once
// SHA-256, which package managers use to check that the file they downloaded is the one its
// manifest describes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace scrpack {

class Sha256 {
 public:
  Sha256();
  void Update(const void* data, std::size_t size);
  // The digest of everything given; the object is spent afterwards.
  std::array<uint8_t, 32> Finish();

 private:
  void Block(const uint8_t* block);

  std::array<uint32_t, 8> state_;
  std::array<uint8_t, 64> pending_{};
  std::size_t pendingSize_ = 0;
  uint64_t totalBytes_ = 0;
};

// The digest in upper-case hexadecimal, as winget manifests give it.
std::string UpperHex(const std::array<uint8_t, 32>& digest);

}  // namespace scrpack
