#pragma once
// Every English text the program passes through Translate: the keys a language text may give.
// scrpack checks an author's language file against this list.
#include <string>
#include <vector>

namespace language {

// The controls' and pages' texts first, then the others; each text once.
std::vector<std::string> TranslatedTexts();

}  // namespace language
