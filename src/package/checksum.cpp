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
// The instruction takes three cycles but can start one every cycle, so three independent
// remainders over three neighbouring stripes run at full speed; the first two are then moved
// past the stripes behind them (multiplied by x^(8 * stripe) modulo the polynomial, by table)
// and added in.
constexpr std::size_t kLongStripe = 8192;
constexpr std::size_t kShortStripe = 256;

// GF(2) 32x32 matrices as 32 columns: the operator that feeds a remainder zero bits.
uint32_t MatrixTimes(const uint32_t* matrix, uint32_t vector) {
  uint32_t sum = 0;
  for (; vector; vector >>= 1, ++matrix)
    if (vector & 1) sum ^= *matrix;
  return sum;
}

void MatrixSquare(uint32_t* square, const uint32_t* matrix) {
  for (int n = 0; n < 32; ++n) square[n] = MatrixTimes(matrix, matrix[n]);
}

// The operator for `bytes` zero bytes, `bytes` a power of two.
void ZerosOperator(uint32_t* even, std::size_t bytes) {
  uint32_t odd[32];
  odd[0] = kReflectedPolynomial;  // one zero bit
  for (int n = 1; n < 32; ++n) odd[n] = uint32_t(1) << (n - 1);
  MatrixSquare(even, odd);  // two bits
  MatrixSquare(odd, even);  // four bits
  // Each square doubles: even holds one byte's operator first, then odd two bytes', and so on.
  for (;;) {
    MatrixSquare(even, odd);
    bytes >>= 1;
    if (bytes == 0) return;
    MatrixSquare(odd, even);
    bytes >>= 1;
    if (bytes == 0) break;
  }
  std::memcpy(even, odd, sizeof odd);
}

// The operator applied a byte of the remainder at a time.
struct Shift {
  uint32_t t[4][256];
  explicit Shift(std::size_t bytes) {
    uint32_t op[32];
    ZerosOperator(op, bytes);
    for (uint32_t n = 0; n < 256; ++n)
      for (int k = 0; k < 4; ++k) t[k][n] = MatrixTimes(op, n << (8 * k));
  }
  uint32_t operator()(uint32_t c) const {
    return t[0][c & 0xFF] ^ t[1][(c >> 8) & 0xFF] ^ t[2][(c >> 16) & 0xFF] ^ t[3][c >> 24];
  }
};

bool ProcessorHasCrcInstruction() {
  unsigned a = 0, b = 0, c = 0, d = 0;
  return __get_cpuid(1, &a, &b, &c, &d) && (c & bit_SSE4_2) != 0;
}

#ifdef __x86_64__
using Word = uint64_t;  // eight bytes an instruction where the registers hold them
__attribute__((target("sse4.2"))) inline Word CrcWord(Word c, Word w) {
  return __builtin_ia32_crc32di(c, w);
}
#else
using Word = uint32_t;
__attribute__((target("sse4.2"))) inline Word CrcWord(Word c, Word w) {
  return __builtin_ia32_crc32si(c, w);
}
#endif

Word WordAt(const uint8_t* p) {
  Word w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

// Whole groups of three stripes of `stripe` bytes; returns the remainder and moves p and size on.
__attribute__((target("sse4.2"))) uint32_t ThreeStripes(uint32_t c, const uint8_t*& p,
                                                        std::size_t& size, std::size_t stripe,
                                                        const Shift& past) {
  for (; size >= 3 * stripe; size -= 3 * stripe, p += 3 * stripe) {
    Word a = c, b = 0, d = 0;
    for (std::size_t at = 0; at < stripe; at += sizeof(Word)) {
      a = CrcWord(a, WordAt(p + at));
      b = CrcWord(b, WordAt(p + stripe + at));
      d = CrcWord(d, WordAt(p + 2 * stripe + at));
    }
    c = past(past(uint32_t(a)) ^ uint32_t(b)) ^ uint32_t(d);
  }
  return c;
}

__attribute__((target("sse4.2"))) uint32_t InstructionRemainder(uint32_t c, const uint8_t* p,
                                                                std::size_t size) {
  static const Shift pastLong(kLongStripe), pastShort(kShortStripe);
  c = ThreeStripes(c, p, size, kLongStripe, pastLong);
  c = ThreeStripes(c, p, size, kShortStripe, pastShort);
  Word wide = c;
  for (; size >= sizeof(Word); size -= sizeof(Word), p += sizeof(Word))
    wide = CrcWord(wide, WordAt(p));
  c = uint32_t(wide);
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
