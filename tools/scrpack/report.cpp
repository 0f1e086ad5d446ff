#include "scrpack/report.h"

#include <cstdio>

namespace scrpack {
namespace {

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

void Report::Add(const std::string& name, const std::string& text) {
  rows_.push_back({name, text, Kind::kText});
}
void Report::Add(const std::string& name, int64_t number) {
  rows_.push_back({name, std::to_string(number), Kind::kNumber});
}
void Report::Add(const std::string& name, bool flag) {
  rows_.push_back({name, flag ? "yes" : "no", Kind::kFlag});
}

void Report::PrintLines(std::ostream& out) const {
  for (const Row& row : rows_) out << row.name << ": " << row.value << "\n";
}

void Report::PrintJson(std::ostream& out) const {
  out << "{";
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const Row& row = rows_[i];
    out << (i ? ", " : "") << JsonString(row.name) << ": ";
    if (row.kind == Kind::kText)
      out << JsonString(row.value);
    else if (row.kind == Kind::kFlag)
      out << (row.value == "yes" ? "true" : "false");
    else
      out << row.value;
  }
  out << "}\n";
}

}  // namespace scrpack
