#include "scrpack/ansi_text.h"

#include <cstdio>

#include "scrpack/build_options.h"

namespace scrpack {
namespace {

struct PageTable {
  int number;
  uint16_t upper[128];
};

const PageTable kPages[] = {
#include "scrpack/code_pages.inc"
};

constexpr int kDefaultCodePage = 1252;
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr uint32_t kReplacement = 0xFFFD;

// One decoded character: its code point and how many bytes it took; length 0 when `text` does not
// hold a well-formed UTF-8 sequence at `at` (overlong forms and surrogates included).
struct Decoded {
  uint32_t codePoint = 0;
  std::size_t length = 0;
};

Decoded DecodeUtf8(const std::string& text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(at);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  uint32_t point = 0;
  uint32_t lowest = 0;
  if ((lead & 0xE0) == 0xC0)
    length = 2, point = lead & 0x1F, lowest = 0x80;
  else if ((lead & 0xF0) == 0xE0)
    length = 3, point = lead & 0x0F, lowest = 0x800;
  else if ((lead & 0xF8) == 0xF0)
    length = 4, point = lead & 0x07, lowest = 0x10000;
  else
    return {};
  if (text.size() - at < length) return {};
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return {};
    point = (point << 6) | (byte(at + i) & 0x3F);
  }
  if (point < lowest || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return {};
  return {point, length};
}

void AppendUtf8(std::string& out, uint32_t point) {
  if (point < 0x80) {
    out += char(point);
  } else if (point < 0x800) {
    out += char(0xC0 | (point >> 6));
    out += char(0x80 | (point & 0x3F));
  } else if (point < 0x10000) {
    out += char(0xE0 | (point >> 12));
    out += char(0x80 | ((point >> 6) & 0x3F));
    out += char(0x80 | (point & 0x3F));
  } else {
    out += char(0xF0 | (point >> 18));
    out += char(0x80 | ((point >> 12) & 0x3F));
    out += char(0x80 | ((point >> 6) & 0x3F));
    out += char(0x80 | (point & 0x3F));
  }
}

// Lines counted as the setup program counts them: CR LF, a lone LF or a lone CR ends one.
std::size_t LineOf(const std::string& text, std::size_t offset) {
  std::size_t line = 1;
  for (std::size_t i = 0; i < offset; ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
      ++line;
  }
  return line;
}

std::string CodePointName(uint32_t point) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(point));
  std::string name = "'";
  AppendUtf8(name, point);
  return name + "' (" + hex + ")";
}

// UTF-16 shows itself by its mark or, without one, by a zero byte in every other place.
bool LooksLikeUtf16(const std::string& bytes) {
  if (bytes.size() >= 2 &&
      ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF')))
    return true;
  std::size_t evenZeros = 0, oddZeros = 0;
  const std::size_t probe = bytes.size() < 4096 ? bytes.size() : 4096;
  for (std::size_t i = 0; i < probe; ++i) {
    if (bytes[i] == '\0') ++(i % 2 ? oddZeros : evenZeros);
  }
  return probe >= 2 && (evenZeros * 4 >= probe / 2 || oddZeros * 4 >= probe / 2);
}

// UTF-8 from `from` on to the page; `where` prefixes messages, followed by the line when
// `withLine`.
std::string Utf8ToAnsi(const std::string& text, std::size_t from, const CodePage& page,
                       const std::string& where, bool withLine) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = from; at < text.size();) {
    const Decoded c = DecodeUtf8(text, at);
    const auto byte = page.Encode(c.codePoint);
    if (!byte) {
      const std::string place =
          withLine ? where + " line " + std::to_string(LineOf(text, at)) : where;
      throw UsageError(place + ": the character " + CodePointName(c.codePoint) +
                       " does not fit code page " + std::to_string(page.Number()));
    }
    out += char(*byte);
    at += c.length;
  }
  return out;
}

// True when `bytes` is well-formed UTF-8 from `from` on (ASCII included).
bool IsUtf8(const std::string& bytes, std::size_t from = 0) {
  for (std::size_t at = from; at < bytes.size();) {
    const Decoded c = DecodeUtf8(bytes, at);
    if (c.length == 0) return false;
    at += c.length;
  }
  return true;
}

bool IsAscii(const std::string& bytes) {
  for (char c : bytes) {
    if (static_cast<uint8_t>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

std::optional<CodePage> CodePage::Find(int number) {
  for (const PageTable& table : kPages) {
    if (table.number == number) return CodePage(number, table.upper);
  }
  return std::nullopt;
}

std::string CodePage::KnownNumbers() {
  std::string list;
  for (const PageTable& table : kPages)
    list += (list.empty() ? "" : ", ") + std::to_string(table.number);
  return list;
}

std::optional<uint8_t> CodePage::Encode(uint32_t codePoint) const {
  if (codePoint < 0x80) return static_cast<uint8_t>(codePoint);
  for (int i = 0; i < 128; ++i) {
    if (upper_[i] == codePoint) return static_cast<uint8_t>(0x80 + i);
  }
  return std::nullopt;
}

uint32_t CodePage::Decode(uint8_t byte) const { return byte < 0x80 ? byte : upper_[byte - 0x80]; }

CodePage CodePageOption(const std::string& number, const std::string& where) {
  if (number.empty()) return *CodePage::Find(kDefaultCodePage);
  int value = 0;
  bool digits = number.size() <= 5;
  for (char c : number) {
    digits = digits && c >= '0' && c <= '9';
    value = value * 10 + (c - '0');
  }
  const auto page = digits ? CodePage::Find(value) : std::nullopt;
  if (!page)
    throw UsageError(where + ": unknown code page '" + number + "'; scrpack knows " +
                     CodePage::KnownNumbers());
  return *page;
}

std::string TextToAnsi(const std::string& bytes, const CodePage& page, const std::string& where) {
  if (LooksLikeUtf16(bytes))
    throw UsageError(where + " is UTF-16; save it as UTF-8 or in code page " +
                     std::to_string(page.Number()));
  const bool marked = bytes.compare(0, 3, kUtf8Mark) == 0;
  if (marked) {
    if (!IsUtf8(bytes, 3)) throw UsageError(where + " starts with a UTF-8 mark but is not UTF-8");
    return Utf8ToAnsi(bytes, 3, page, where, true);
  }
  if (IsAscii(bytes) || !IsUtf8(bytes)) return bytes;
  return Utf8ToAnsi(bytes, 0, page, where, true);
}

std::string ValueToAnsi(const std::string& value, const CodePage& page, const std::string& where) {
  if (IsAscii(value) || !IsUtf8(value)) return value;
  return Utf8ToAnsi(value, 0, page, where, false);
}

std::string AnsiToUtf8(const std::string& text, const CodePage& page) {
  std::string out;
  for (char c : text) {
    const uint32_t point = page.Decode(static_cast<uint8_t>(c));
    AppendUtf8(out, point == 0 && c != '\0' ? kReplacement : point);
  }
  return out;
}

std::string Shown(const std::string& ansi) {
  constexpr int kShownCodePage = 1252;
  return AnsiToUtf8(ansi, *CodePage::Find(kShownCodePage));
}

}  // namespace scrpack
