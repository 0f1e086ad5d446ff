#pragma once
// What inspect and verify say, as ordered "Name: value" rows that print either as lines or as
// one JSON object (for CI scripts).
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace scrpack {

class Report {
 public:
  void Add(const std::string& name, const std::string& text);  // text already UTF-8 for JSON
  void Add(const std::string& name, int64_t number);
  void Add(const std::string& name, bool flag);  // "yes"/"no", true/false in JSON

  void PrintLines(std::ostream& out) const;
  void PrintJson(std::ostream& out) const;
  // This report's rows, then `more`'s, as one JSON object.
  void PrintJson(std::ostream& out, const Report& more) const;

 private:
  struct Row {
    std::string name;
    std::string text;  // as a line shows it
    std::string json;  // as a JSON value
  };
  std::vector<Row> rows_;
};

}  // namespace scrpack
