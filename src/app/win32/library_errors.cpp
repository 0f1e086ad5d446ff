// The standard library reports misuse (a string grown past its largest size, a position past its
// end) through the std::__throw_* helpers. The library keeps all of them in one object together
// with every standard exception type, whose message strings bring in a second, reference-counted
// string implementation and its relatives: some 50 KB of the stub. These raise the same failures
// through a small type of our own. Nothing here catches the standard types by name: the event
// dispatch catches std::exception and shows what(), which keeps the library's text.
#include <bits/functexcept.h>

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
