#pragma once
// Every English text the program passes through Translate: the keys a language text may give.
// scrpack checks an author's language file against this list.
#include <cstddef>

namespace language {

constexpr std::size_t kTranslatedTextCount = 38;
extern const char* const kTranslatedTexts[kTranslatedTextCount];

}  // namespace language
