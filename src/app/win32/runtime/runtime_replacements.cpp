// Every replacement of a C++ runtime piece that the stub makes, and why: each one keeps a large
// part of the static runtime out of the program that packages are appended to. Only the stub
// links this file; the other programs of the tree use the runtime as it is.
//
// 1. The std::__throw_* helpers. The standard library reports misuse (a string grown past its
//    largest size, a position past its end) through them. libstdc++ keeps all 15 in one object
//    (functexcept.o) together with every standard exception type, whose message strings bring in
//    a second, reference-counted string implementation and its relatives: some 50 KB of the stub.
//    The five that our code reaches raise the same failures through a small type of our own.
//    Nothing here catches the standard types by name: the event dispatch catches std::exception
//    and shows what(), which keeps the library's text.
//    The other ten are defined too, so that the library's object can never be linked beside ours
//    (that would fail as a duplicate definition that names none of this). Each of them calls a
//    function that exists nowhere: the link drops them while nothing uses them, and when code
//    starts to use one (std::stoi, std::use_facet, ...), the link fails with an undefined
//    reference that names the helper. Replace that helper above the line, as the five are.
// 2. The terminate handler (below the helpers).
// 3. string_instances.h beside this file, force-included into the stub's own code.
// 4. The exception globals (see below the terminate handler).
// 5. The C personality routine (see below the exception globals).
// 6. The start-up's relocation fixer, maths-error printer, crash-signal translator and thread-key
//    destructors (see below the personality).
// 7. The memory of a thrown exception (see the end of this file).
// 8. The search for a frame's unwind table, in frame_table_search.cpp beside this file.
#include <bits/functexcept.h>
#include <cxxabi.h>
#include <unwind.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>

namespace {

class LibraryError : public std::exception {
 public:
  // The library passes string literals only.
  explicit LibraryError(const char* text) : text_(text) {}
  const char* what() const noexcept override { return text_; }

 private:
  const char* text_;
};

}  // namespace

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_length_error(const char* text) { throw LibraryError(text); }
void __throw_logic_error(const char* text) { throw LibraryError(text); }
// The format asks for numbers that the old system printf cannot print (%zu); the plain statement
// says as much to whoever reads the message.
void __throw_out_of_range_fmt(const char*, ...) { throw LibraryError("position out of range"); }

}  // namespace std

// ---- Helpers the stub does not use. Any use fails the link by the name below. ----
#define SCR_UNREPLACED_HELPER(name, ...)                                  \
  extern "C" [[noreturn]] void StubRuntimeHelperNotReplaced_std_##name(); \
  namespace std {                                                         \
  void name(__VA_ARGS__) { StubRuntimeHelperNotReplaced_std_##name(); }   \
  }

SCR_UNREPLACED_HELPER(__throw_bad_exception)
SCR_UNREPLACED_HELPER(__throw_bad_cast)
SCR_UNREPLACED_HELPER(__throw_bad_typeid)
SCR_UNREPLACED_HELPER(__throw_domain_error, const char*)
SCR_UNREPLACED_HELPER(__throw_invalid_argument, const char*)
SCR_UNREPLACED_HELPER(__throw_out_of_range, const char*)
SCR_UNREPLACED_HELPER(__throw_runtime_error, const char*)
SCR_UNREPLACED_HELPER(__throw_range_error, const char*)
SCR_UNREPLACED_HELPER(__throw_overflow_error, const char*)
SCR_UNREPLACED_HELPER(__throw_underflow_error, const char*)

#undef SCR_UNREPLACED_HELPER

// The runtime's default terminate handler prints the demangled name of the escaping exception to
// a console that a GUI program does not have, and drags the whole demangler and a printf engine
// into the stub (about 70 KB of a release build). Every handler of ours catches what it raises, so
// reaching terminate is a bug either way: end at once, as the default handler does after printing.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// 4. The exception globals. libstdc++ keeps the stack of caught exceptions and the count of
//    uncaught ones per thread, in emulated thread-local storage on mingw, which brings the TLS
//    emulation and its thread support along. The stub runs one thread (its statics have no guards
//    either), and no code of another thread of the process ever raises a C++ exception through
//    ours, so one set serves. The layout is the runtime's __cxa_eh_globals on x86.
namespace {
struct ExceptionGlobals {
  void* caughtExceptions;
  unsigned int uncaughtExceptions;
};
ExceptionGlobals exceptionGlobals;
}  // namespace

namespace __cxxabiv1 {
extern "C" __cxa_eh_globals* __cxa_get_globals() noexcept {
  return reinterpret_cast<__cxa_eh_globals*>(&exceptionGlobals);
}
extern "C" __cxa_eh_globals* __cxa_get_globals_fast() noexcept {
  return reinterpret_cast<__cxa_eh_globals*>(&exceptionGlobals);
}
}  // namespace __cxxabiv1

// 5. The C personality routine. The link-time optimiser hands every function whose only landing
//    pads are clean-ups (most of ours: a string's destructor on the way out) to the C language's
//    personality routine instead of C++'s, because the compiler emits its unwind tables as
//    directives; the C routine then brings a second copy of the table reader (libgcc's
//    unwind-c.o). Both read the same tables; C++'s handles clean-ups exactly as the C one does and
//    ends the program, as C++ demands, where an exception leaves a call that promised not to
//    throw. So the C routine here is C++'s. (64-bit Windows unwinds through the system's tables,
//    with routines of other names.) Kept through the link-time optimisation, which sees no use of
//    it: the use appears only in the tables its code generation writes.
#if !defined(__SEH__) && !defined(__USING_SJLJ_EXCEPTIONS__)
extern "C" _Unwind_Reason_Code __gxx_personality_v0(int, _Unwind_Action, _Unwind_Exception_Class,
                                                    _Unwind_Exception*, _Unwind_Context*);
extern "C" [[gnu::used]] _Unwind_Reason_Code __gcc_personality_v0(
    int version, _Unwind_Action actions, _Unwind_Exception_Class exceptionClass,
    _Unwind_Exception* exception, _Unwind_Context* context) {
  return __gxx_personality_v0(version, actions, exceptionClass, exception, context);
}
#endif

// 6. The start-up's relocation fixer, maths-error printer, crash-signal translator and thread-key
//    destructors. Before WinMain, mingw's start-up patches the references to data of a DLL that
//    the linker could only leave as "pseudo relocations", and it installs a handler that prints a
//    failing maths function's name to the console. The stub's link refuses any such reference
//    (--disable-runtime-pseudo-reloc, see cmake/scr_library.cmake), so there is never anything to
//    patch, and a program with windows has no console to print to. The runtime's versions bring
//    their own section search, memory protection and printf-based error reports along (about
//    3 KB); these do nothing, which is all the runtime's did here. (Returning 0 lets the maths
//    function report as it always does.)
extern "C" void _pei386_runtime_relocator() {}
extern "C" int _matherr(struct _exception*) { return 0; }
//    The start-up's maths-error hook installer goes the same way (the handler it would install
//    is the printer above). Its handler for crashes turns them into C signals for handlers that
//    this program never installs, and then hands them to the system, as this one does at once
//    (32-bit start-up only: the 64-bit one registers more from the same object). The thread-key
//    destructors are run at each thread's end for keys that the runtime's thread support makes;
//    the stub makes none (see 4.), so there is nothing to run. Together some 2 KB with the calls
//    they import.
extern "C" void __mingw_setusermatherr(int (*)(struct _exception*)) {}
extern "C" int __mingw_TLScallback(void*, unsigned long, void*) { return 1; }
#if defined(__i386__)
extern "C" {
void* __mingw_oldexcpt_handler;
}
extern "C" long __stdcall _gnu_exception_handler(struct _EXCEPTION_POINTERS*) {
  return 0;  // EXCEPTION_CONTINUE_SEARCH
}
#endif

// 7. The memory of a thrown exception. libstdc++ takes it from malloc and, when malloc fails, from
//    an emergency pool that it builds at start-up and guards with a lock for other threads; with
//    the pool come its lock's error types and the thread model's mutex (about 2.5 KB of the
//    stub). The stub throws a few small exceptions in a run, on its one thread (see 4.): when
//    malloc cannot give a few hundred bytes, nothing else would work either, so the program ends
//    there, as the runtime does when its pool is empty too.
//    The runtime keeps its own record of the exception (__cxa_refcounted_exception, 96 bytes on
//    i686 and 160 on x86_64 with this compiler) right in front of the object it throws, and finds
//    it there by its own size. Each block here keeps 256 zeroed bytes in front of the object,
//    more than that record needs on either architecture and a multiple of the alignment the
//    runtime asks for, so the record fits whatever its exact size: nothing here depends on it.
namespace {
constexpr std::size_t kExceptionRecordRoom = 256;
}  // namespace

extern "C" void* __cxa_allocate_exception(std::size_t thrownSize) noexcept {
  auto* block = static_cast<char*>(std::malloc(kExceptionRecordRoom + thrownSize));
  if (!block) std::terminate();
  std::memset(block, 0, kExceptionRecordRoom);
  return block + kExceptionRecordRoom;
}

extern "C" void __cxa_free_exception(void* thrownObject) noexcept {
  std::free(static_cast<char*>(thrownObject) - kExceptionRecordRoom);
}
