// Any command line: splitting never fails, never invents characters, and the mode checks agree
// with the split arguments.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/command_line.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  const auto args = app::SplitArguments(line);
  std::size_t characters = 0;
  for (const std::string& arg : args) {
    characters += arg.size();
    // Quotes are dropped and there is no escape: no argument can hold one.
    Check(arg.find('"') == std::string::npos);
  }
  Check(characters <= size);
  // No argument is empty unless it was written as a quoted stretch.
  for (const std::string& arg : args) Check(!arg.empty() || line.find('"') != std::string::npos);
  const app::CommandLine parsed = app::CommandLine::Parse(line);
  Check(args.empty() ? parsed.Count() == 0 : parsed.Count() + 1 == args.size());
  for (std::size_t i = 0; i < args.size(); ++i) Check(parsed.Arg(i) == args[i]);
  Check(parsed.Arg(args.size()).empty());
  if (app::IsDelFileMode(parsed)) Check(parsed.Count() >= 2 && parsed.Arg(1) == "-delfile");
  app::IsSilentSwitch(parsed);
  return 0;
}
