#pragma once
// The title names our own registry key below a shared one and our own folder below the Start
// menu's Programs folder. A title that is empty, or that has an empty, "." or ".." part between
// its backslashes, would name the shared parent itself or somebody else's item, so such a title
// must never be used to write or delete there.
#include <string>

namespace integration {

bool TitleNamesOwnItem(const std::string& title);

// A name built from the title or a translation, joined to a folder we chose (the installation
// folder, the desktop), stays below that folder: the same rule, for the whole name.
bool NameStaysInFolder(const std::string& name);

}  // namespace integration
