#pragma once
// The translation table: English texts in, the package's translation (or the English text) out.
// Program-wide, loaded once at start-up from the package's language text.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "ui/pages.h"
#include "ui/wizard_controls.h"

namespace language {

// Builds the table from the lines of `languageText` that stand in section `section`
// (every entry when `section` is empty). Replaces an earlier table.
void LoadTranslation(const std::string& languageText, const std::string& section);
// The entries LoadTranslation would take, in file order, each with its line number (from 1).
struct TranslationEntry {
  std::string key;
  std::string value;
  std::size_t line;
};
std::vector<TranslationEntry> ReadTranslationEntries(const std::string& languageText,
                                                     const std::string& section);
// The translation of `english`, or `english` itself; the English text before loading.
std::string Translate(const std::string& english);
// Releases the table; lookups return the English text again.
void FreeTranslation();
// Every occurrence of `oldPart` (not empty) replaced by `newPart`, left to right, no rescanning.
std::string ReplaceAll(const std::string& text, const std::string& oldPart,
                       const std::string& newPart);

// A control's caption in the loaded language: its fixed text, or its decoration around the
// translation of its text; empty for a control without a caption.
std::string CaptionText(const ui::Caption& caption);

// Header texts of the wizard's pages by index, filled by LangRenameControls.
extern std::array<std::string, ui::kPageCount> PageTitles;
extern std::array<std::string, ui::kPageCount> PageDescriptions;

}  // namespace language
