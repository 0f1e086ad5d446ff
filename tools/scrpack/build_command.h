#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "package/settings_record.h"
#include "scrpack/build_options.h"

namespace scrpack {

extern const char kBuildHelp[];

// `scrpack build ...`: writes OUT.tmp and renames it to OUT only when everything was written.
int RunBuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The record's own fields from the options (sizes and marker are the writer's). Throws UsageError
// naming the option when a text does not fit its field.
package::SettingsRecord RecordFromOptions(const BuildOptions& options);

}  // namespace scrpack
