#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "package/settings_record.h"
#include "scrpack/ansi_text.h"
#include "scrpack/build_options.h"

namespace scrpack {

extern const char kBuildHelp[];

// `scrpack build ...`: writes OUT.tmp and renames it to OUT only when everything was written.
int RunBuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The record's own fields from the options, converted to the code page (sizes and marker are the
// writer's). Throws UsageError naming the option when a text does not fit its field or names an
// unknown placeholder; warns on `err` about a file name without .scr and an unusable title.
package::SettingsRecord RecordFromOptions(const BuildOptions& options, const CodePage& page,
                                          std::ostream& err);

}  // namespace scrpack
