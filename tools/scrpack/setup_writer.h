#pragma once
// Writing the setup file: the stub, the image as it is or compressed, the texts, the record, the
// marker and the extension block, beside the output first; signed by the author's command when
// one is given, and put in place of the output only when everything succeeded.
#include <cstdint>
#include <string>
#include <vector>

#include "package/extension_block.h"
#include "package/settings_record.h"
#include "scrpack/build_options.h"
#include "scrpack/image_coder.h"
#include "scrpack/input_file.h"

namespace scrpack {

struct Texts {
  std::string readme, license, language;
  int64_t Size() const { return int64_t(readme.size() + license.size() + language.size()); }
};

// How the image went into the setup file, for the closing line.
struct ImageSizes {
  int64_t installed = 0;
  int64_t stored = 0;
  bool compressed = false;
};

// The output as its option names it, for messages: "-o 'Aurora.exe'".
std::string OutputName(const BuildOptions& options);

// What is written beside the output before it is complete; none may be one of the inputs.
std::vector<std::string> ScratchFiles(const BuildOptions& options);

// Writes the setup file and whatever signing needs, and puts the result in place of the output.
// `saverHead` is what was read of the saver already; the record's sizes are filled in here.
// Throws std::runtime_error naming the output; the output is then as it was.
void WriteOutput(const BuildOptions& options, const std::string& stub, const std::string& saverHead,
                 InputFile& saver, const Texts& texts, package::SettingsRecord& record,
                 package::ExtensionBlock block, const CodingProgress& progress, ImageSizes& sizes);

}  // namespace scrpack
