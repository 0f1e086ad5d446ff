// The project file: the settings of `scrpack build` as "key = value" lines, the keys being the
// long option names without "--". Blank lines and lines starting with # or ; are skipped; blanks
// around key and value are dropped; a value in double quotes keeps its blanks ("" is empty).
// Relative paths are taken from the project file's own folder; flags take yes/no, true/false or
// 1/0 in any capitals.
#include <filesystem>
#include <map>

#include "scrpack/build_options.h"
#include "scrpack/input_file.h"
#include "scrpack/nearest_name.h"
#include "text/path_parts.h"
#include "text/text_lines.h"

namespace scrpack {
namespace {

using text::TrimBlanks;

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
  text::ForEachLine(text, [&](std::string_view raw) {
    ++number;
    const std::string line = TrimBlanks(std::string(raw));
    if (line.empty() || line[0] == '#' || line[0] == ';') return;
    const std::string place = path + ":" + std::to_string(number);
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos)
      throw UsageError(place + ": expected 'key = value', found '" + line + "'");
    const std::string key = TrimBlanks(line.substr(0, equals));
    const std::string where = place + ": " + key;
    if (seen.count(key))
      throw UsageError(where + ": already set on line " + std::to_string(seen[key]));
    seen[key] = number;
    if (key == "project" ||
        !SetFromProject(options, "--" + key, Unquoted(TrimBlanks(line.substr(equals + 1))), folder,
                        where))
      throw UsageError(where + ": unknown key" + DidYouMean(key, ProjectKeys()));
  });
}

}  // namespace scrpack
