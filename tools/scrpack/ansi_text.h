#pragma once
// The setup program shows its texts in the user's ANSI code page, byte for byte as the package
// holds them. Authors write UTF-8 today, so scrpack converts what it is given: UTF-8 (with or
// without a byte-order mark) becomes the target code page, and text that is not UTF-8 is taken
// as already written in that code page. UTF-16 is refused: the setup program would read its zero
// bytes as the end of the text.
#include <cstdint>
#include <optional>
#include <string>

namespace scrpack {

// One of the Windows single-byte code pages.
class CodePage {
 public:
  // Empty when the number is not one of the pages scrpack knows.
  static std::optional<CodePage> Find(int number);
  // "874, 1250, ..." for messages.
  static std::string KnownNumbers();

  int Number() const { return number_; }
  // The byte that stands for `codePoint`, if the page has one.
  std::optional<uint8_t> Encode(uint32_t codePoint) const;
  // The code point a byte stands for; 0 for the few bytes the page leaves undefined.
  uint32_t Decode(uint8_t byte) const;

 private:
  CodePage(int number, const uint16_t* upper) : number_(number), upper_(upper) {}
  int number_;
  const uint16_t* upper_;  // code points of 0x80..0xFF
};

// The code page a --codepage option names; 1252, Western European, when `number` is empty.
// Throws UsageError naming `where` for a number scrpack does not know.
CodePage CodePageOption(const std::string& number, const std::string& where);

// A text file's contents in the code page. `where` names the file for messages ("--readme:
// 'a.txt'"); a character the page lacks is refused with its line. Throws UsageError.
std::string TextToAnsi(const std::string& bytes, const CodePage& page, const std::string& where);

// The same for one value (an option or a project-file entry); `where` names it.
std::string ValueToAnsi(const std::string& value, const CodePage& page, const std::string& where);

// ANSI text as UTF-8, for output that must be UTF-8 (JSON); undefined bytes become U+FFFD.
std::string AnsiToUtf8(const std::string& text, const CodePage& page);

// A package's text as inspect and verify show it: as the Western European code page reads it.
std::string Shown(const std::string& ansi);

}  // namespace scrpack
