#pragma once
// The walk over one run of DWARF unwind tables (.eh_frame) that frame_table_search.cpp answers the
// unwinder with. Portable, so that the host's tests can walk tables they build.
//
// The entries it understands are the ones the compiler and assembler write for the stub: each
// common entry (CIE) names the encoding of its frame entries' addresses, which is either absolute
// or relative to the field, in four bytes. An entry of any other encoding covers nothing here.
#include <cstdint>
#include <cstring>

namespace frame_tables {

// The DWARF pointer encodings this walk reads (DW_EH_PE_*).
constexpr unsigned kEncodingFormatMask = 0x0f;
constexpr unsigned kEncodingBaseMask = 0x70;
constexpr unsigned kAbsolute = 0x00;
constexpr unsigned kUnsigned4 = 0x03;
constexpr unsigned kSigned4 = 0x0b;
constexpr unsigned kRelativeToField = 0x10;
constexpr unsigned kUnreadable = 0xff;

inline uint32_t Read32(const unsigned char* at) {
  uint32_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

inline const unsigned char* SkipLeb128(const unsigned char* at) {
  while (*at & 0x80) ++at;
  return at + 1;
}

inline bool IsFourBytes(unsigned encoding) {
  const unsigned format = encoding & kEncodingFormatMask;
  return format == kAbsolute || format == kUnsigned4 || format == kSigned4;
}

// The encoding of the addresses in the frame entries that a common entry introduces: its 'R'
// augmentation, or absolute when it has none.
inline unsigned AddressEncoding(const unsigned char* cie) {
  const unsigned char* at = cie + 8;  // past the length and the CIE id
  const unsigned version = *at++;
  const char* augmentation = reinterpret_cast<const char*>(at);
  at += std::strlen(augmentation) + 1;
  if (augmentation[0] != 'z') return augmentation[0] == '\0' ? kAbsolute : kUnreadable;
  at = SkipLeb128(at);                          // code alignment factor
  at = SkipLeb128(at);                          // data alignment factor
  at = version == 1 ? at + 1 : SkipLeb128(at);  // return address register
  at = SkipLeb128(at);                          // length of the augmentation data
  for (const char* letter = augmentation + 1; *letter; ++letter) {
    switch (*letter) {
      case 'R': return *at;
      case 'L': at += 1; break;
      case 'P': {
        const unsigned personalityEncoding = *at++;
        if (!IsFourBytes(personalityEncoding)) return kUnreadable;
        at += 4;
        break;
      }
      default: return kUnreadable;
    }
  }
  return kAbsolute;
}

// The first address of the code a frame entry covers, or 0 when its encoding is not read here.
inline uintptr_t CodeStart(const unsigned char* field, unsigned encoding) {
  if (!IsFourBytes(encoding)) return 0;
  const uint32_t stored = Read32(field);
  const uintptr_t value = (encoding & kEncodingFormatMask) == kSigned4
                              ? uintptr_t(intptr_t(int32_t(stored)))
                              : uintptr_t(stored);
  switch (encoding & kEncodingBaseMask) {
    case kAbsolute: return value;
    case kRelativeToField: return value + reinterpret_cast<uintptr_t>(field);
    default: return 0;
  }
}

struct Covering {
  const unsigned char* entry = nullptr;  // the frame entry; null when none covers the address
  uintptr_t codeStart = 0;
};

// The frame entry of `tables` (ended by a zero length) whose code covers `address`.
inline Covering FindCovering(const unsigned char* tables, uintptr_t address) {
  const unsigned char* cie = nullptr;
  unsigned encoding = kUnreadable;
  uint32_t length;
  for (const unsigned char* entry = tables; entry && (length = Read32(entry)) != 0;
       entry += 4 + length) {
    if (length == 0xffffffff) return {};  // 64-bit DWARF, never written for the stub
    const uint32_t cieDistance = Read32(entry + 4);
    if (cieDistance == 0) continue;  // a common entry, no frame
    if (entry + 4 - cieDistance != cie) {
      cie = entry + 4 - cieDistance;
      encoding = AddressEncoding(cie);
    }
    const uintptr_t start = CodeStart(entry + 8, encoding);
    if (start != 0 && address - start < Read32(entry + 12)) return {entry, start};
  }
  return {};
}

}  // namespace frame_tables
