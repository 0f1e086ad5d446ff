#include "language/translated_texts.h"

namespace language {

// In the order of the README's complete French example.
const char* const kTranslatedTexts[kTranslatedTextCount] = {
    "Back",
    "Next",
    "Cancel",
    "&Browse",
    "Install",
    "Finish",
    "Browse",
    "Setup",
    "Select the folder where you would like the Screen Saver to be installed, then click Install.",
    "Please read the following License Agreement. You must accept the terms of this agreement "
    "before continuing with the installation.",
    "When you are ready, click Next.",
    "Click Finish to exit Setup.",
    "The Setup is ready to install Screen Saver on your computer. Click Install to continue, or "
    "Cancel to exit Setup.",
    "I &accept the agreement",
    "I &do not accept the agreement",
    "License Agreement",
    "Select Destination Directory",
    "Ready to Install",
    "Installing",
    "Information",
    "Please read the following important information before continuing.",
    "Where should Screen Saver be installed?",
    "Setup is ready to install Screen Saver.",
    "Please wait while Setup installs Screen Saver.",
    "The Setup has completed successfully.",
    "The file is corrupted. Setup can not continue.",
    "Unable to create the directory. Please select a different directory.",
    "Invalid directory. Please select an existing directory.",
    "Unable to copy the files. Access is denied. Please select a different directory.",
    "There was an error installing %s. Installation is not complete.",
    "Are you sure you want to remove %s and its components?",
    "%s has been successfully removed from your computer.",
    "%s has been removed from your computer, but some of its files could not be deleted.",
    "These files will be deleted when Windows restarts:",
    "These files stay; please delete them yourself:",
    "Readme",
    "Uninstall",
    "Preview",
};

}  // namespace language
