#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "language/translation.h"
#include "support/fake_form_host.h"
#include "support/fake_os.h"
#include "wizard/scr_setup.h"

namespace {

using wizard::TSCRSetup;

const char kLicenseLabel[] =
    "Please read the following License Agreement. You must accept the terms of this agreement before "
    "continuing with the installation.";
const char kFolderLabel[] =
    "Select the folder where you would like the Screen Saver to be installed, then click Install.";
const char kReadyLabel[] =
    "The Setup is ready to install Screen Saver on your computer. Click Install to continue, or Cancel "
    "to exit Setup.";
const char kReadFirst[] = "Please read the following important information before continuing.";

struct CaptionCase {
  const char* name;
  ui::Control TSCRSetup::*control;
  std::string key;
  std::string prefix;  // what the caption adds around the translation
  std::string suffix;
};

const CaptionCase kCaptions[] = {
    {"btnBack", &TSCRSetup::btnBack, "Back", "< ", ""},
    {"btnBrowse", &TSCRSetup::btnBrowse, "&Browse", "", "..."},
    {"btnCancel", &TSCRSetup::btnCancel, "Cancel", "", ""},
    {"btnNext", &TSCRSetup::btnNext, "Next", "", " >"},
    {"Label1", &TSCRSetup::Label1, kFolderLabel, "", ""},
    {"Label2", &TSCRSetup::Label2, kLicenseLabel, "", ""},
    {"Label3", &TSCRSetup::Label3, "When you are ready, click Next.", "", ""},
    {"Label4", &TSCRSetup::Label4, "Click Finish to exit Setup.", "", ""},
    {"Label5", &TSCRSetup::Label5, kReadyLabel, "", ""},
    {"rbAccept", &TSCRSetup::rbAccept, "I &accept the agreement", "", ""},
    {"rbNotAccept", &TSCRSetup::rbNotAccept, "I &do not accept the agreement", "", ""},
};

const char* const kTitleKeys[6] = {"License Agreement", "Select Destination Directory", "Ready to Install",
                                   "Installing", "Information", "Finish"};
const char* const kDescriptionKeys[6] = {
    kReadFirst,
    "Where should Screen Saver be installed?",
    "Setup is ready to install Screen Saver.",
    "Please wait while Setup installs Screen Saver.",
    kReadFirst,
    "The Setup has completed successfully.",
};

// A translation that marks every text with its own key, so a caption built from the wrong key
// or without its decoration shows at once.
std::string Marked(const std::string& key) { return "<<" + key + ">>"; }

std::string MarkingLanguageText() {
  std::string text = "Setup\r\n";
  for (const CaptionCase& c : kCaptions) text += c.key + "=" + Marked(c.key) + "\r\n";
  for (const char* key : kTitleKeys) text += std::string(key) + "=" + Marked(key) + "\r\n";
  for (const char* key : kDescriptionKeys) text += std::string(key) + "=" + Marked(key) + "\r\n";
  return text;
}

class LangRenameTest : public ::testing::Test {
 protected:
  void SetUp() override { language::FreeTranslation(); }
  void TearDown() override { language::FreeTranslation(); }

  fake::FakeOs fakeOs;
  os::Os os = fakeOs.Os();
  fake::FakeFormHost host{&fakeOs};
  TSCRSetup setup{os, host};
};

TEST_F(LangRenameTest, TranslatedCaptionsKeepTheirDecoration) {
  language::LoadTranslation(MarkingLanguageText(), "Setup");
  setup.LangRenameControls();
  for (const CaptionCase& c : kCaptions) {
    EXPECT_EQ((setup.*(c.control)).Caption(), c.prefix + Marked(c.key) + c.suffix) << c.name;
  }
}

TEST_F(LangRenameTest, WithoutLanguageTextCaptionsAreEnglish) {
  language::LoadTranslation("", "Setup");
  setup.LangRenameControls();
  for (const CaptionCase& c : kCaptions) {
    EXPECT_EQ((setup.*(c.control)).Caption(), c.prefix + c.key + c.suffix) << c.name;
  }
}

TEST_F(LangRenameTest, PageTablesFollowPageOrder) {
  for (const bool translated : {false, true}) {
    language::LoadTranslation(translated ? MarkingLanguageText() : "", "Setup");
    language::PageTitles.fill("stale");
    language::PageDescriptions.fill("stale");
    setup.LangRenameControls();
    for (int page = 0; page < wizard::kPageCount; ++page) {
      const std::string title = kTitleKeys[page];
      const std::string description = kDescriptionKeys[page];
      EXPECT_EQ(language::PageTitles[page], translated ? Marked(title) : title) << page;
      EXPECT_EQ(language::PageDescriptions[page], translated ? Marked(description) : description) << page;
    }
  }
}

TEST_F(LangRenameTest, EmptyAndMultiLineTranslations) {
  language::LoadTranslation(
      "Setup\r\nBack=\r\nClick Finish to exit Setup.=Cliquez sur Terminer.#13Merci.\r\nFinish=Fin", "Setup");
  setup.LangRenameControls();
  EXPECT_EQ(setup.btnBack.Caption(), "< ");
  EXPECT_EQ(setup.Label4.Caption(), "Cliquez sur Terminer.\r\nMerci.");
  EXPECT_EQ(language::PageTitles[wizard::kPageFinished], "Fin");
}

// Every caption change must reach the window that mirrors the controls.
class CountingObserver : public ui::ControlObserver {
 public:
  void ControlChanged(ui::ControlId id) override { changed.push_back(id); }
  std::vector<ui::ControlId> changed;
};

TEST_F(LangRenameTest, RenamedControlsNotifyTheirObserver) {
  CountingObserver observer;
  setup.ForEachControl([&](ui::Control& control) { control.Observe(&observer); });
  language::LoadTranslation(MarkingLanguageText(), "Setup");
  setup.LangRenameControls();
  for (const CaptionCase& c : kCaptions) {
    const ui::ControlId id = (setup.*(c.control)).Id();
    EXPECT_NE(std::find(observer.changed.begin(), observer.changed.end(), id), observer.changed.end()) << c.name;
  }
}

}  // namespace
