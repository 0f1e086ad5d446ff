#include "scrpack/output_guard.h"

#include "scrpack/build_options.h"
#include "scrpack/file_identity.h"
#include "scrpack/input_file.h"

namespace scrpack {

void RefuseToWriteOverAnInput(const std::vector<NamedInput>& inputs, const std::string& output,
                              const std::string& outputName,
                              const std::vector<std::string>& scratch) {
  const auto outputIdentity = IdentityOf(output);
  for (const NamedInput& input : inputs) {
    const auto identity = IdentityOf(input.path);
    if (!identity) continue;
    if (outputIdentity && *outputIdentity == *identity)
      throw UsageError(outputName + " is the same file as " + input.name +
                       "; scrpack never writes over its input, so name another output file");
    for (const std::string& temporary : scratch) {
      const auto scratchIdentity = IdentityOf(temporary);
      if (scratchIdentity && *scratchIdentity == *identity)
        throw UsageError(outputName + " is first written to " + Quoted(temporary) +
                         ", which is the same file as " + input.name +
                         "; name another output file");
    }
  }
}

}  // namespace scrpack
