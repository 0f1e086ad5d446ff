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
// The walk itself is frame_table_walk.h; what it reads, and what not, is said there. A throw
// through code whose entry it does not read ends the program, as an unwinder that finds no table
// does.
#if !defined(__SEH__) && !defined(__USING_SJLJ_EXCEPTIONS__)
#include "frame_table_walk.h"

namespace {
const unsigned char* registeredTables;
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
  const frame_tables::Covering found =
      frame_tables::FindCovering(registeredTables, reinterpret_cast<uintptr_t>(address));
  if (found.entry) {
    bases->tbase = nullptr;
    bases->dbase = nullptr;
    bases->func = reinterpret_cast<void*>(found.codeStart);
  }
  return found.entry;
}

}  // extern "C"
#endif
