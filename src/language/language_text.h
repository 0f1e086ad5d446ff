#pragma once
// How a language text is read, line by line. A line without "=" starts a section named by the
// whole line, exactly as it stands: "Setup", but an empty line or a note just as well, so an
// entry behind one of those belongs to that section and not to the one above it. Any other line
// is an entry of the section started last (of "" before the first): its key runs up to the first
// "=", its value from there to the end of the line.
#include <cstddef>
#include <string_view>

#include "text/text_lines.h"

namespace language {

// The one section the setup program reads.
constexpr char kSetupSection[] = "Setup";

struct LanguageLine {
  std::size_t number;        // from 1
  bool startsSection;        // a line without "="
  std::string_view section;  // the section it starts or stands in
  std::string_view key;      // of an entry
  std::string_view value;
};

// Calls `onLine` with each line of `languageText`, views into it.
template <typename OnLine>
void ForEachLanguageLine(std::string_view languageText, OnLine onLine) {
  std::string_view section;
  std::size_t number = 0;
  text::ForEachLine(languageText, [&](std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      section = line;
      onLine(LanguageLine{++number, true, section, {}, {}});
    } else {
      onLine(
          LanguageLine{++number, false, section, line.substr(0, equals), line.substr(equals + 1)});
    }
  });
}

}  // namespace language
