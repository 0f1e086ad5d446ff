// The project file: the settings of `scrpack build` as "key = value" lines, the keys being the
// long option names without "--". Blank lines and lines starting with # or ; are skipped; blanks
// around key and value are dropped; a value in double quotes keeps its blanks ("" is empty).
// Relative paths are taken from the project file's own folder.
#include <filesystem>
#include <map>

#include "scrpack/build_options.h"
#include "scrpack/input_file.h"

namespace scrpack {
namespace {

constexpr char kBlanks[] = " \t";

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string Unquoted(const std::string& value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

void ApplyProjectFile(const std::string& path, BuildOptions& options) {
  std::string text = ReadInputFile("--project", path);
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  const std::string folder = std::filesystem::u8path(path).parent_path().u8string();
  std::map<std::string, std::size_t> seen;
  std::size_t number = 0;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line = Trimmed(line);
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    const std::string place = path + ":" + std::to_string(number);
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos)
      throw UsageError(place + ": expected 'key = value', found '" + line + "'");
    const std::string key = Trimmed(line.substr(0, equals));
    const std::string where = place + ": " + key;
    if (seen.count(key))
      throw UsageError(where + ": already set on line " + std::to_string(seen[key]));
    seen[key] = number;
    if (key == "project" ||
        !SetFromProject(options, "--" + key, Unquoted(Trimmed(line.substr(equals + 1))), folder,
                        where))
      throw UsageError(where + ": unknown key");
  }
}

}  // namespace scrpack
