// The search for the unwind table of a frame, for the stub's DWARF unwinding (the i686 build).
//
// An exception is unwound frame by frame, and for each frame the unwinder asks which entry of the
// program's unwind tables (.eh_frame) covers the return address. libgcc answers through an object
// that sorts every entry into a table the first time it is asked, guards that table with a
// semaphore for other threads, and reads every table layout a linker can produce: about 10 KB of
// the stub with its own unwind tables. The stub has one run of tables, which its start-up code
// registers (from crtbegin's first entry to the zero word crtend ends it with); it runs one thread
// (runtime_replacements.cpp, 4.), and it throws only on its error paths, a few times in a run. So
// a walk from the first entry to the one that covers the address serves: some 650 entries, read
// once per frame of a throw.
//
// The entries this walk understands are the ones the compiler and assembler write for this
// target: each common entry (CIE) names the encoding of its frame entries' addresses, which is
// either absolute or relative to the field, in four bytes. An entry of any other encoding covers
// nothing here, so a throw through its code ends the program as an unwinder that finds no table
// does; libgcc reads nothing else from this program either.
#if !defined(__SEH__) && !defined(__USING_SJLJ_EXCEPTIONS__)
#include <cstdint>
#include <cstring>

namespace {

// The DWARF pointer encodings this walk reads (DW_EH_PE_*).
constexpr unsigned kEncodingFormatMask = 0x0f;
constexpr unsigned kEncodingBaseMask = 0x70;
constexpr unsigned kAbsolute = 0x00;
constexpr unsigned kUnsigned4 = 0x03;
constexpr unsigned kSigned4 = 0x0b;
constexpr unsigned kRelativeToField = 0x10;
constexpr unsigned kUnreadable = 0xff;

const unsigned char* registeredTables;

uint32_t Read32(const unsigned char* at) {
  uint32_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

const unsigned char* SkipLeb128(const unsigned char* at) {
  while (*at & 0x80) ++at;
  return at + 1;
}

bool IsFourBytes(unsigned encoding) {
  const unsigned format = encoding & kEncodingFormatMask;
  return format == kAbsolute || format == kUnsigned4 || format == kSigned4;
}

// The encoding of the addresses in the frame entries that a common entry introduces: its 'R'
// augmentation, or absolute when it has none.
unsigned AddressEncoding(const unsigned char* cie) {
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
uintptr_t CodeStart(const unsigned char* field, unsigned encoding) {
  if (!IsFourBytes(encoding)) return 0;
  const uintptr_t stored = Read32(field);
  switch (encoding & kEncodingBaseMask) {
    case kAbsolute: return stored;
    case kRelativeToField: return stored + reinterpret_cast<uintptr_t>(field);
    default: return 0;
  }
}

}  // namespace

// What the unwinder learns besides the entry; the layout is libgcc's struct dwarf_eh_bases.
struct dwarf_eh_bases {
  void* tbase;
  void* dbase;
  void* func;
};

extern "C" {

// Called by the start-up code (crtbegin) with the first entry of the program's tables.
[[gnu::used]] void __register_frame_info(const void* tables, void*) {
  registeredTables = static_cast<const unsigned char*>(tables);
}

[[gnu::used]] void* __deregister_frame_info(const void*) {
  registeredTables = nullptr;
  return nullptr;
}

[[gnu::used]] const void* _Unwind_Find_FDE(void* address, dwarf_eh_bases* bases) {
  const unsigned char* cie = nullptr;
  unsigned encoding = kUnreadable;
  const unsigned char* entry = registeredTables;
  for (uint32_t length; entry && (length = Read32(entry)) != 0; entry += 4 + length) {
    if (length == 0xffffffff) return nullptr;  // 64-bit DWARF, never written for this target
    const uint32_t cieDistance = Read32(entry + 4);
    if (cieDistance == 0) continue;  // a common entry, no frame
    if (entry + 4 - cieDistance != cie) {
      cie = entry + 4 - cieDistance;
      encoding = AddressEncoding(cie);
    }
    const uintptr_t start = CodeStart(entry + 8, encoding);
    const uintptr_t size = Read32(entry + 12);
    if (start != 0 && reinterpret_cast<uintptr_t>(address) - start < size) {
      bases->tbase = nullptr;
      bases->dbase = nullptr;
      bases->func = reinterpret_cast<void*>(start);
      return entry;
    }
  }
  return nullptr;
}

}  // extern "C"
#endif
