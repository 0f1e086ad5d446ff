#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "start_up_rig.h"

namespace {

using rig::WizardRig;
using wizard::TSCRSetup;
using namespace wizard;  // page names

// What the window does when the user picks one of the two radio buttons.
void Choose(TSCRSetup& w, bool accept) {
  w.rbAccept.SyncChecked(accept);
  w.rbNotAccept.SyncChecked(!accept);
  w.Dispatch([&] { w.rbAcceptClick(); });
}

void Click(TSCRSetup& w, void (TSCRSetup::*handler)()) {
  w.Dispatch([&] { (w.*handler)(); });
}

support::SetupContents French(bool license, bool skipFolderPage) {
  support::SetupContents c = support::StarsContents();
  c.language = rig::kFrench;
  if (license) c.license = "terms";
  c.record.SetSkipFolderPage(skipFolderPage);
  return c;
}

struct PageStateCase {
  const char* name;
  bool license;
  int page;
  std::string nextCaption;
  bool backVisible;
  bool cancelEnabled;
};

const PageStateCase kPageStateCases[] = {
    {"LicensePage", true, kPageLicense, "Suivant >", true, true},
    {"DirectoryWithLicence", true, kPageDirectory, "Installer", true, true},
    {"DirectoryWithoutLicence", false, kPageDirectory, "Installer", false, true},
    {"ReadyWithLicence", true, kPageReady, "Installer", true, true},
    {"ReadyWithoutLicence", false, kPageReady, "Installer", false, true},
    {"Progress", true, kPageProgress, "Suivant >", false, false},
    {"Readme", false, kPageReadme, "Suivant >", false, false},
    {"Finished", true, kPageFinished, "Terminer", false, false},
};

class PageStateTest : public ::testing::TestWithParam<PageStateCase> {};

TEST_P(PageStateTest, HeaderAndButtonRowFollowThePage) {
  const PageStateCase& c = GetParam();
  WizardRig rig;
  TSCRSetup& w = rig.StartWith(French(c.license, false));
  // Another page first, so that the page under test is a real change.
  w.SetPage(c.page == kPageFinished ? kPageReadme : kPageFinished);
  w.btnNext.SetVisible(false);
  w.SetPage(c.page);

  EXPECT_EQ(w.CurrentPage(), c.page);
  EXPECT_EQ(w.lbTitle.Caption(), language::PageTitles[c.page]);
  EXPECT_EQ(w.lbDescription.Caption(), language::PageDescriptions[c.page]);
  EXPECT_TRUE(w.btnNext.Visible());
  EXPECT_EQ(w.btnNext.Caption(), c.nextCaption);
  EXPECT_EQ(w.btnBack.Visible(), c.backVisible);
  // Once a page from 'Progress' on has shown, Cancel is never enabled again.
  EXPECT_FALSE(w.btnCancel.Enabled());
}

INSTANTIATE_TEST_SUITE_P(Table, PageStateTest, ::testing::ValuesIn(kPageStateCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PageFlow, CancelStaysEnabledOnTheFirstPagesAndDisabledFromProgressOn) {
  for (const auto& c : kPageStateCases) {
    SCOPED_TRACE(c.name);
    WizardRig rig;
    TSCRSetup& w = rig.StartWith(French(c.license, false));
    w.SetPage(c.page == kPageLicense ? kPageReady : kPageLicense);
    w.SetPage(c.page);
    EXPECT_EQ(w.btnCancel.Enabled(), c.cancelEnabled);
  }
}

TEST(PageFlow, LicencePageKeepsTheStateOfNext) {
  WizardRig rig;
  TSCRSetup& w = rig.StartWith(French(true, false));
  EXPECT_FALSE(w.btnNext.Enabled());
  Choose(w, true);
  EXPECT_TRUE(w.btnNext.Enabled());
  EXPECT_EQ(rig.host.Count("Focus " + std::to_string(int(ui::ControlId::btnNext))), 1);
  Choose(w, false);
  EXPECT_FALSE(w.btnNext.Enabled());
  EXPECT_EQ(rig.host.Count("Focus " + std::to_string(int(ui::ControlId::btnNext))), 1);
  Choose(w, true);
  Click(w, &TSCRSetup::btnNextClick);
  ASSERT_EQ(w.CurrentPage(), kPageDirectory);
  Click(w, &TSCRSetup::btnBackClick);
  EXPECT_EQ(w.CurrentPage(), kPageLicense);
  EXPECT_TRUE(w.btnNext.Enabled());
  EXPECT_TRUE(w.rbAccept.Checked());
}

// One row per path through the pages that needs no installation.
struct FlowCase {
  const char* name;
  bool license;
  bool skipFolderPage;
  std::vector<std::string> events;  // "accept", "reject", "next", "back", "cancel"
  int page;
  bool closed;
};

const FlowCase kFlowCases[] = {
    {"NextWithoutAcceptingIsNotPossibleButBackDoesNothing", true, false, {"back", "back"},
     kPageLicense, false},
    {"LicenceThenFolder", true, false, {"accept", "next"}, kPageDirectory, false},
    {"LicenceThenReadyWhenFolderSkipped", true, true, {"accept", "next"}, kPageReady, false},
    {"BackFromReadyGoesToLicence", true, true, {"accept", "next", "back"}, kPageLicense, false},
    {"BackFromFolderGoesToLicence", true, false, {"accept", "next", "back"}, kPageLicense, false},
    {"CancelOnLicence", true, false, {"cancel"}, kPageLicense, true},
    {"CancelOnFolder", false, false, {"cancel"}, kPageDirectory, true},
    {"CancelOnReady", false, true, {"cancel"}, kPageReady, true},
};

class FlowTest : public ::testing::TestWithParam<FlowCase> {};

TEST_P(FlowTest, EndsOnThePageTheEventsLeadTo) {
  const FlowCase& c = GetParam();
  WizardRig rig;
  TSCRSetup& w = rig.StartWith(French(c.license, c.skipFolderPage));
  for (const std::string& e : c.events) {
    if (e == "accept") Choose(w, true);
    if (e == "reject") Choose(w, false);
    if (e == "next") Click(w, &TSCRSetup::btnNextClick);
    if (e == "back") Click(w, &TSCRSetup::btnBackClick);
    if (e == "cancel") Click(w, &TSCRSetup::btnCancelClick);
  }
  EXPECT_EQ(w.CurrentPage(), c.page);
  EXPECT_EQ(rig.host.closed, c.closed);
  EXPECT_TRUE(rig.fake.system.Messages().empty());
  EXPECT_EQ(rig.fake.log.Count("CreateFolder"), 0);  // no installation started
}

INSTANTIATE_TEST_SUITE_P(Table, FlowTest, ::testing::ValuesIn(kFlowCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PageFlow, ReadmeThenFinishedThenTheWindowCloses) {
  WizardRig rig;
  TSCRSetup& w = rig.StartWith(French(false, false));
  w.SetPage(kPageReadme);
  Click(w, &TSCRSetup::btnNextClick);
  EXPECT_EQ(w.CurrentPage(), kPageFinished);
  EXPECT_FALSE(rig.host.closed);
  Click(w, &TSCRSetup::btnNextClick);
  EXPECT_TRUE(rig.host.closed);
}

TEST(PageFlow, InstallWithReadmeShowsTheReadmePage) {
  WizardRig rig;
  support::SetupContents c = French(false, false);
  c.readme = "read me";
  TSCRSetup& w = rig.StartWith(c);
  Click(w, &TSCRSetup::btnNextClick);
  EXPECT_EQ(rig.fake.files.Content("C:\\Program Files\\Stars\\stars.scr"), c.image)
      << rig.fake.log.Dump();
  EXPECT_EQ(w.CurrentPage(), kPageReadme);
  EXPECT_FALSE(rig.host.closed);
}

TEST(PageFlow, InstallWithoutReadmeClosesTheWindowAtOnce) {
  WizardRig rig;
  support::SetupContents c = French(true, true);
  TSCRSetup& w = rig.StartWith(c);
  Choose(w, true);
  Click(w, &TSCRSetup::btnNextClick);
  ASSERT_EQ(w.CurrentPage(), kPageReady);
  Click(w, &TSCRSetup::btnNextClick);
  EXPECT_EQ(rig.fake.files.Content("C:\\Program Files\\Stars\\stars.scr"), c.image)
      << rig.fake.log.Dump();
  EXPECT_TRUE(rig.host.closed);
}

// A folder the installation cannot create: it reports that, shows 'Directory' again and the
// click goes no further.
TSCRSetup& StartAndFailToInstall(WizardRig& rig, bool license) {
  TSCRSetup& w = rig.StartWith(French(license, false));
  if (license) {
    Choose(w, true);
    Click(w, &TSCRSetup::btnNextClick);
  }
  w.edDirectory.SetCaption("Q:\\no such drive");
  Click(w, &TSCRSetup::btnNextClick);
  return w;
}

TEST(PageFlow, InstallationStoppedEarlyReturnsToTheFolderPageWithCancelDisabled) {
  WizardRig rig;
  TSCRSetup& w = StartAndFailToInstall(rig, false);
  EXPECT_EQ(rig.fake.system.Messages().size(), 1u) << rig.fake.log.Dump();
  EXPECT_EQ(w.CurrentPage(), kPageDirectory);
  EXPECT_TRUE(w.btnNext.Visible());
  EXPECT_TRUE(w.btnNext.Enabled());
  EXPECT_EQ(w.btnNext.Caption(), "Installer");
  EXPECT_FALSE(w.btnCancel.Enabled());
  EXPECT_FALSE(rig.host.closed);
}

// Which button Esc clicks, seen by what that click does.
struct EscapeCase {
  const char* name;
  bool license;
  int page;
  bool cancelLeftDisabled;  // after a failed installation
  bool memoHasFocus;
  std::string expected;  // "closed", "page N", "install", "nothing"
};

const EscapeCase kEscapeCases[] = {
    {"LicencePageCancels", true, kPageLicense, false, false, "closed"},
    {"FolderPageCancels", false, kPageDirectory, false, false, "closed"},
    {"ReadyPageCancels", false, kPageReady, false, false, "closed"},
    {"MemoKeepsEsc", true, kPageLicense, false, true, "nothing"},
    {"ReadmeMovesToFinished", false, kPageReadme, false, false, "page 5"},
    {"ReadmeMemoKeepsEsc", false, kPageReadme, false, true, "nothing"},
    {"FinishedCloses", false, kPageFinished, false, false, "closed"},
    {"AfterErrorWithLicenceGoesBack", true, kPageDirectory, true, false, "page 0"},
    {"AfterErrorWithoutLicenceInstallsAgain", false, kPageDirectory, true, false, "install"},
};

class EscapeTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeTest, ClicksTheFirstUsableButton) {
  const EscapeCase& c = GetParam();
  WizardRig rig;
  TSCRSetup* w = nullptr;
  if (c.cancelLeftDisabled) {
    w = &StartAndFailToInstall(rig, c.license);
    ASSERT_FALSE(w->btnCancel.Enabled());
  } else {
    w = &rig.StartWith(French(c.license, false));
    w->SetPage(c.page);
  }
  const std::size_t messagesBefore = rig.fake.system.Messages().size();
  w->EscapePressed(c.memoHasFocus);

  if (c.expected == "closed") {
    EXPECT_TRUE(rig.host.closed);
  } else if (c.expected == "nothing") {
    EXPECT_FALSE(rig.host.closed);
    EXPECT_EQ(w->CurrentPage(), c.page);
  } else if (c.expected == "install") {
    // The installation ran again and failed on the same folder again.
    EXPECT_EQ(rig.fake.system.Messages().size(), messagesBefore + 1);
    EXPECT_EQ(w->CurrentPage(), kPageDirectory);
    EXPECT_FALSE(rig.host.closed);
  } else {
    EXPECT_EQ("page " + std::to_string(w->CurrentPage()), c.expected);
    EXPECT_FALSE(rig.host.closed);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, EscapeTest, ::testing::ValuesIn(kEscapeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PageFlow, EscDuringTheCopyDoesNothing) {
  WizardRig rig;
  TSCRSetup& w = rig.StartWith(French(false, false));
  w.SetPage(kPageProgress);
  w.btnNext.SetVisible(false);  // the installation hides it while it copies
  w.EscapePressed(false);
  EXPECT_EQ(w.CurrentPage(), kPageProgress);
  EXPECT_FALSE(rig.host.closed);
}

TEST(PageFlow, LinkOpensTheAddressWithTheDefaultVerb) {
  WizardRig rig;
  TSCRSetup& w = rig.StartWith(support::StarsContents());
  Click(w, &TSCRSetup::LinkClick);
  const auto& runs = rig.fake.shell.Executions();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].owner, rig.host.handle);
  EXPECT_EQ(runs[0].verb, "");
  EXPECT_EQ(runs[0].file, "http://stars.example.org/");
  EXPECT_EQ(runs[0].parameters, "");
  EXPECT_EQ(runs[0].directory, "");
  EXPECT_EQ(runs[0].show, 1);
  EXPECT_TRUE(rig.fake.system.Messages().empty());
}

TEST(PageFlow, LinkThatTheShellCannotOpenShowsNothing) {
  WizardRig rig;
  TSCRSetup& w = rig.StartWith(support::StarsContents());
  rig.fake.FailOn("ShellExecute");
  Click(w, &TSCRSetup::LinkClick);
  EXPECT_TRUE(rig.fake.system.Messages().empty());
}

struct BrowseCase {
  const char* name;
  std::optional<std::string> answer;
  std::string expected;
};

const BrowseCase kBrowseCases[] = {
    {"CancelKeepsTypedFolder", std::nullopt, "C:\\typed folder"},
    {"FolderWithoutBackslash", std::string("D:\\Savers"), "D:\\Savers"},
    {"TrailingBackslashRemoved", std::string("D:\\Savers\\"), "D:\\Savers"},
    {"DriveRootKeepsBackslash", std::string("D:\\"), "D:\\"},
    {"BareDriveBecomesRoot", std::string("E:"), "E:\\"},
    {"NetworkShare", std::string("\\\\server\\share\\"), "\\\\server\\share"},
    {"EmptyAnswerChangesNothing", std::string(""), "C:\\typed folder"},
};

class BrowseTest : public ::testing::TestWithParam<BrowseCase> {};

TEST_P(BrowseTest, ChosenFolderReplacesTheWholeText) {
  WizardRig rig;
  TSCRSetup& w = rig.StartWith(French(false, false));
  w.edDirectory.SyncCaption("C:\\typed folder");
  rig.fake.shell.QueueBrowseAnswer(GetParam().answer);
  Click(w, &TSCRSetup::btnBrowseClick);
  const auto& requests = rig.fake.shell.BrowseRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].owner, rig.host.handle);
  EXPECT_EQ(requests[0].instruction, "Choisissez un dossier");
  EXPECT_EQ(requests[0].startFolder, "C:\\typed folder");
  EXPECT_EQ(w.edDirectory.Caption(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, BrowseTest, ::testing::ValuesIn(kBrowseCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct DispatchCase {
  const char* name;
  void (*handler)();
  std::string shownText;  // empty: no box
};

// Nothing ran that changed the machine, so the ending says so whatever the handler threw.
const DispatchCase kDispatchCases[] = {
    {"SilentAbortDropped", [] { throw wizard::SilentAbort(); }, ""},
    {"ErrorShownWithItsText", [] { throw std::runtime_error("Disk on fire"); }, "Disk on fire"},
    {"UnknownErrorGetsAGenericText", [] { throw 42; },
     "An unexpected error occurred. The operation was not completed."},
    {"NoErrorNoBox", [] {}, ""},
};

class DispatchTest : public ::testing::TestWithParam<DispatchCase> {};

TEST_P(DispatchTest, ReportsWhatTheHandlerLetsThrough) {
  const DispatchCase& c = GetParam();
  WizardRig rig;
  wizard::TSCRSetup w(rig.os, rig.host);
  w.Dispatch(c.handler);
  const auto& messages = rig.fake.system.Messages();
  if (c.shownText.empty()) {
    EXPECT_TRUE(messages.empty());
  } else {
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, c.shownText);
    EXPECT_EQ(messages[0].caption, "Screensaver Setup");
    EXPECT_EQ(messages[0].flags, os::kMbOk | os::kMbIconError);
    EXPECT_EQ(messages[0].owner, rig.host.handle);
  }
  EXPECT_EQ(w.Ending().result, integration::RunResult::kStoppedUnchanged);
  EXPECT_FALSE(rig.host.closed);
}

INSTANTIATE_TEST_SUITE_P(Table, DispatchTest, ::testing::ValuesIn(kDispatchCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PageFlow, ShowingThePageThatShowsChangesNothing) {
  WizardRig rig;
  TSCRSetup& w = rig.StartWith(support::StarsContents());
  w.lbTitle.SetCaption("untouched");
  w.SetPage(w.CurrentPage());
  EXPECT_EQ(w.lbTitle.Caption(), "untouched");
}

}  // namespace
