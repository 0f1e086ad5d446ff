#pragma once
// scrpack never writes over one of its inputs, however the paths are spelt: an output replaces
// the file of its name and is written beside it first, so both are checked.
#include <string>
#include <vector>

namespace scrpack {

// An input file and how messages name it ("--saver 'a.scr'", "the setup file 'x.exe'").
struct NamedInput {
  std::string path;
  std::string name;
};

// Throws UsageError when `output` (named `outputName` in the message) or one of the files written
// before it is complete (`scratch`) is the same file as one of `inputs`.
void RefuseToWriteOverAnInput(const std::vector<NamedInput>& inputs, const std::string& output,
                              const std::string& outputName,
                              const std::vector<std::string>& scratch);

}  // namespace scrpack
