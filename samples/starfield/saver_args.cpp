#include "saver_args.h"

#include <cctype>
#include <cstdlib>

namespace starfield {
namespace {

std::size_t SkipProgramName(const std::string& line) {
  std::size_t i = 0;
  while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
  if (i < line.size() && line[i] == '"') {
    const std::size_t close = line.find('"', i + 1);
    return close == std::string::npos ? line.size() : close + 1;
  }
  while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
  return i;
}

uintptr_t NumberAfter(const std::string& line, std::size_t i) {
  while (i < line.size() && (line[i] == ':' || std::isspace(static_cast<unsigned char>(line[i])))) ++i;
  return static_cast<uintptr_t>(std::strtoull(line.c_str() + i, nullptr, 10));
}

}  // namespace

SaverArgs ParseSaverArgs(const std::string& commandLine) {
  SaverArgs args;
  std::size_t i = SkipProgramName(commandLine);
  while (i < commandLine.size() && std::isspace(static_cast<unsigned char>(commandLine[i]))) ++i;
  if (i + 1 >= commandLine.size() || (commandLine[i] != '/' && commandLine[i] != '-')) return args;
  switch (std::tolower(static_cast<unsigned char>(commandLine[i + 1]))) {
    case 's': args.mode = SaverMode::kFullScreen; break;
    case 'p': args.mode = SaverMode::kPreview; break;
    case 'a': args.mode = SaverMode::kPassword; break;
    default: args.mode = SaverMode::kSettings; break;
  }
  args.window = NumberAfter(commandLine, i + 2);
  if (args.mode == SaverMode::kPreview && args.window == 0) args.mode = SaverMode::kSettings;
  return args;
}

}  // namespace starfield
