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
  rows_.push_back({name, text, JsonString(text)});
}
void Report::Add(const std::string& name, int64_t number) {
  rows_.push_back({name, std::to_string(number), std::to_string(number)});
}
void Report::Add(const std::string& name, bool flag) {
  rows_.push_back({name, flag ? "yes" : "no", flag ? "true" : "false"});
}

void Report::PrintLines(std::ostream& out) const {
  for (const Row& row : rows_) out << row.name << ": " << row.text << "\n";
}

void Report::PrintJson(std::ostream& out) const { PrintJson(out, Report()); }

void Report::PrintJson(std::ostream& out, const Report& more) const {
  out << "{";
  bool first = true;
  for (const Report* report : {this, &more}) {
    for (const Row& row : report->rows_) {
      out << (first ? "" : ", ") << JsonString(row.name) << ": " << row.json;
      first = false;
    }
  }
  out << "}\n";
}

}  // namespace scrpack
