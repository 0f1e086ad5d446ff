#include "ui/win32/coded_resource.h"

#include <cstdlib>

#include "lzma_sdk/LzmaDec.h"

namespace ui::win32 {
namespace {

constexpr SizeT kSizeFieldLength = 8;
constexpr SizeT kHeaderLength = LZMA_PROPS_SIZE + kSizeFieldLength;
// The pictures are a few KB each: a larger size can only be a damaged header, and must not make
// the start allocate it.
constexpr uint64_t kLargestDecodedSize = 1 << 20;

void* Allocate(void*, size_t size) { return std::malloc(size); }
void Release(void*, void* address) { std::free(address); }
ISzAlloc kAllocator = {Allocate, Release};

struct ResourceBytes {
  const uint8_t* data = nullptr;
  SizeT length = 0;
};

ResourceBytes FindResourceBytes(HINSTANCE instance, int id) {
  HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), RT_RCDATA);
  HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  return {static_cast<const uint8_t*>(data), SizeofResource(instance, found)};
}

}  // namespace

std::vector<uint8_t> LoadCodedResource(HINSTANCE instance, int id) {
  const ResourceBytes coded = FindResourceBytes(instance, id);
  if (coded.length < kHeaderLength) return {};
  uint64_t size = 0;
  for (SizeT i = kSizeFieldLength; i-- > 0;) size = size << 8 | coded.data[LZMA_PROPS_SIZE + i];
  if (size == 0 || size > kLargestDecodedSize) return {};

  std::vector<uint8_t> decoded(size);
  SizeT decodedLength = decoded.size();
  SizeT codedLength = coded.length - kHeaderLength;
  ELzmaStatus status;
  const SRes result =
      LzmaDecode(decoded.data(), &decodedLength, coded.data + kHeaderLength, &codedLength,
                 coded.data, LZMA_PROPS_SIZE, LZMA_FINISH_END, &status, &kAllocator);
  if (result != SZ_OK || decodedLength != decoded.size() ||
      status != LZMA_STATUS_FINISHED_WITH_MARK)
    return {};
  return decoded;
}

}  // namespace ui::win32
