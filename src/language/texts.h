#pragma once
// The English texts the program translates outside the wizard's controls and pages, each named
// once: the code uses the name, and TranslatedTexts lists every one for scrpack's check of a
// language file. Adding a text is adding a row.
//
// SCR_OTHER_TEXT(name, "English text")
// clang-format off
#define SCR_OTHER_TEXTS(SCR_OTHER_TEXT)                                                            \
  SCR_OTHER_TEXT(kInstall, "Install")                                                              \
  SCR_OTHER_TEXT(kFinish, "Finish")                                                                \
  SCR_OTHER_TEXT(kBrowse, "Browse")                                                                \
  SCR_OTHER_TEXT(kSetup, "Setup")                                                                  \
  SCR_OTHER_TEXT(kFileCorrupted, "The file is corrupted. Setup can not continue.")                 \
  SCR_OTHER_TEXT(kCannotCreateFolder,                                                              \
                 "Unable to create the directory. Please select a different directory.")           \
  SCR_OTHER_TEXT(kInvalidFolder, "Invalid directory. Please select an existing directory.")        \
  SCR_OTHER_TEXT(kCannotCreateFile,                                                                \
                 "Unable to copy the files. Access is denied. Please select a different directory.") \
  SCR_OTHER_TEXT(kInstallationNotComplete,                                                         \
                 "There was an error installing %s. Installation is not complete.")                \
  SCR_OTHER_TEXT(kConfirmRemoval, "Are you sure you want to remove %s and its components?")        \
  SCR_OTHER_TEXT(kRemoved, "%s has been successfully removed from your computer.")                 \
  SCR_OTHER_TEXT(kRemovedWithLeftovers,                                                            \
                 "%s has been removed from your computer, but some of its files could not be deleted.") \
  SCR_OTHER_TEXT(kDeletedAtRestart, "These files will be deleted when Windows restarts:")          \
  SCR_OTHER_TEXT(kFilesStay, "These files stay; please delete them yourself:")                     \
  SCR_OTHER_TEXT(kReadme, "Readme")                                                                \
  SCR_OTHER_TEXT(kUninstall, "Uninstall")                                                          \
  SCR_OTHER_TEXT(kPreview, "Preview")
// clang-format on

namespace language::english {

#define SCR_TEXT_CONSTANT(name, text) inline constexpr char name[] = text;
SCR_OTHER_TEXTS(SCR_TEXT_CONSTANT)
#undef SCR_TEXT_CONSTANT

}  // namespace language::english
