#include "package/checksum.h"

#include <cstring>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#define SCR_HAVE_CRC_INSTRUCTION 1
#endif

namespace package {
namespace {

constexpr uint32_t kReflectedPolynomial = 0x82F63B78;

// Four tables of 256 entries: the remainder of a byte 0, 1, 2 or 3 positions ahead. Filled at
// first use (4 KB of zeroed data instead of 4 KB in the program file).
struct Tables {
  uint32_t t[4][256];
  Tables() {
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (c & 1 ? kReflectedPolynomial : 0);
      t[0][n] = c;
    }
    for (uint32_t n = 0; n < 256; ++n)
      for (int k = 1; k < 4; ++k) t[k][n] = (t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF];
  }
};

const Tables& TheTables() {
  static const Tables tables;
  return tables;
}

uint32_t TableRemainder(uint32_t c, const uint8_t* p, std::size_t size) {
  const Tables& tb = TheTables();
  for (; size >= 4; size -= 4, p += 4) {
    c ^= uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    c = tb.t[3][c & 0xFF] ^ tb.t[2][(c >> 8) & 0xFF] ^ tb.t[1][(c >> 16) & 0xFF] ^ tb.t[0][c >> 24];
  }
  for (; size > 0; --size, ++p) c = (c >> 8) ^ tb.t[0][(c ^ *p) & 0xFF];
  return c;
}

#ifdef SCR_HAVE_CRC_INSTRUCTION
bool ProcessorHasCrcInstruction() {
  unsigned a = 0, b = 0, c = 0, d = 0;
  return __get_cpuid(1, &a, &b, &c, &d) && (c & bit_SSE4_2) != 0;
}

__attribute__((target("sse4.2"))) uint32_t InstructionRemainder(uint32_t c, const uint8_t* p,
                                                                std::size_t size) {
  for (; size >= 4; size -= 4, p += 4) {
    uint32_t word;
    std::memcpy(&word, p, 4);
    c = __builtin_ia32_crc32si(c, word);
  }
  for (; size > 0; --size, ++p) c = __builtin_ia32_crc32qi(c, *p);
  return c;
}
#endif

}  // namespace

uint32_t Crc32cByTable(uint32_t crc, const void* data, std::size_t size) {
  return ~TableRemainder(~crc, static_cast<const uint8_t*>(data), size);
}

uint32_t Crc32c(uint32_t crc, const void* data, std::size_t size) {
#ifdef SCR_HAVE_CRC_INSTRUCTION
  static const bool instruction = ProcessorHasCrcInstruction();
  if (instruction) return ~InstructionRemainder(~crc, static_cast<const uint8_t*>(data), size);
#endif
  return Crc32cByTable(crc, data, size);
}

}  // namespace package
