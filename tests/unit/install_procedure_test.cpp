// The installation procedure on a real setup file in the fake file system, given what start-up
// reads from it; and the window, which hands it the user's choice and applies its outcome.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "install/install_copy.h"
#include "install/install_procedure.h"
#include "integration/saver_registry.h"
#include "integration/uninstall_entry.h"
#include "language/translation.h"
#include "start_up_rig.h"
#include "text/path_parts.h"
#include "text/text_lines.h"
#include "wizard/after_install.h"

namespace wizard {
namespace {

using app::kExitAnotherRunning;
using app::kExitDone;
using app::kExitFailedPartWay;
using app::kExitStoppedUnchanged;
using app::kExitUnreadable;

using os::RegRoot;

constexpr char kSetupPath[] = "C:\\setup.exe";
constexpr char kFolder[] = "C:\\Savers\\";
constexpr char kSaver[] = "C:\\Savers\\stars.scr";
constexpr char kUninstaller[] = "C:\\Savers\\uninstall stars.exe";
constexpr char kReadme[] = "C:\\Savers\\Stars Readme.txt";
constexpr char kNotComplete[] = "There was an error installing Stars. Installation is not complete.";

std::string Bytes(std::size_t size, int seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 31 + seed) ^ (i >> 9));
  return bytes;
}

// An image as every screen saver's begins, "MZ": the setup program copies it as it stands (a
// coded image begins otherwise).
std::string Program(std::size_t size, int seed) {
  std::string bytes = Bytes(size, seed);
  bytes.replace(0, 2, "MZ");
  return bytes;
}

struct Package {
  std::string stub = Bytes(5000, 1);
  std::string image = Program(250000, 2);
  std::string readme = "Stars\r\n\r\nA field of stars.";
  std::string license;
  std::string language;
  bool flags = true;
  std::string fileName = "stars.scr";
  std::string title = "Stars";
  // Setup files carry their checksums unless a case says otherwise.
  std::optional<package::ExtensionBlock> extension = package::ExtensionBlock{};
};

// What the installation reports of the copy, in order: "begins", each percentage, "ends".
class RecordedProgress : public install::InstallProgress {
 public:
  void CopyBegins() override { events.push_back("begins"); }
  void CopyEnds() override { events.push_back("ends"); }
  void Percent(int percent) override { events.push_back(std::to_string(percent)); }
  std::vector<std::string> events;
};

// The user's own, or every user's for a run as LocalSystem.
std::string DesktopLink(bool everyUsers = false) {
  return std::string(everyUsers ? fake::kFakeCommonDesktop : fake::kFakeDesktop) + "\\Preview Stars.lnk";
}
std::string GroupLink(const std::string& name, bool everyUsers = false) {
  return std::string(everyUsers ? fake::kFakeCommonPrograms : fake::kFakePrograms) + "\\Stars\\" + name + ".lnk";
}

// One machine with one setup file on it: the installation runs on what start-up reads from the
// file (Run), or start-up runs as the entry point runs it (Start).
struct Rig : rig::WizardRig {
  explicit Rig(const Package& p = Package()) : WizardRig(kSetupPath), package(p) {
    support::SetupContents contents;
    contents.image = p.image;
    contents.readme = p.readme;
    contents.license = p.license;
    contents.language = p.language;
    contents.record.SetScreensaverFileName(p.fileName);
    contents.record.SetTitle(p.title);
    support::SetFlags(contents.record, {p.flags, p.flags, p.flags});
    contents.record.SetDefaultFolder("<Program Files>");
    contents.record.SetDefaultSubfolder("Stars");
    contents.extension = p.extension;
    setupFile = support::AssembleSetupFile(p.stub, contents);
    PutOwnFile(setupFile);
    fake.files.AddFolder("C:\\Savers");
    fake.files.AddFile("C:\\file.txt", "x");
    own = ReadOwnPackage();
    record = own.record;
    packageEnd = own.packageEnd;
    fake.log.Clear();
  }

  // The installation alone, into `folder` as typed, on what start-up reads and with the
  // translation it loads.
  install::InstallOutcome Run(const std::string& folder, bool unattended = false) {
    const install::InstallRequest request{folder,     text::SplitTextLines(own.readme),
                                          record,     packageEnd,
                                          unattended, own.extension};
    return install::InstallScreenSaver(os, request, progress);
  }

  // Start-up; with "-silent" it installs instead of showing the wizard.
  void Start(bool silent, const std::string& folderArgument = {}, bool shellInstall = true) {
    std::vector<std::string> arguments;
    if (silent) arguments = {"-silent", folderArgument};
    if (!shellInstall) arguments.push_back("-no-shell-install");
    WizardRig::Run(arguments);
    form = wizard.get();
  }

  // Presses Install with `folder` typed, run the way the window runs its handlers (an error
  // becomes a message); true when the handler stopped early.
  bool Install(const std::string& folder) {
    form->edDirectory.SetCaption(folder);
    bool stopped = true;
    form->Dispatch([&] {
      form->btnOKClick();
      stopped = false;
    });
    return stopped;
  }

  std::string ExpectedUninstaller() const {
    const auto& raw = (form ? form->Record : record).Raw();
    return package.stub + package.readme + package.license + package.language +
           std::string(raw.begin(), raw.end()) + "ScUnin.sig";
  }
  std::optional<std::string> UninstallString() const {
    return fake.registry.StringValue(RegRoot::kLocalMachine, integration::UninstallKeyPath("Stars"),
                                     "UninstallString");
  }
  std::optional<std::string> InstalledPath() const {
    return fake.registry.StringValue(RegRoot::kCurrentUser, integration::SaverKeyPath("Stars"),
                                     integration::kInstalledPathValue);
  }
  const std::vector<fake::Message>& Messages() const { return fake.system.Messages(); }
  void ExpectNothingLeftOpen() const {
    for (const char* path : {kSetupPath, kSaver, kUninstaller, kReadme})
      EXPECT_EQ(fake.files.OpenHandles(path), 0) << path;
  }

  Package package;
  TSCRSetup* form = nullptr;  // the wizard, when start-up showed it
  std::string setupFile;
  package::OwnPackage own;  // what start-up read, for the installation run alone
  package::SettingsRecord record;
  int64_t packageEnd = 0;
  RecordedProgress progress;
};

int IndexOfOp(const fake::CallLog& log, const std::string& op) {
  const auto& calls = log.Calls();
  for (std::size_t i = 0; i < calls.size(); ++i)
    if (calls[i].op == op) return static_cast<int>(i);
  return -1;
}

bool IsUninstallerWrite(const fake::Call& call) {
  return call.op == "Write" && fake::Fold(call.subject).find("uninstall stars.exe") != std::string::npos;
}

int LastIndexWhere(const fake::CallLog& log, const std::function<bool(const fake::Call&)>& which) {
  const auto& calls = log.Calls();
  for (std::size_t i = calls.size(); i-- > 0;)
    if (which(calls[i])) return static_cast<int>(i);
  return -1;
}

TEST(InstallProcedure, SuccessWritesTheFilesAndWhatTheFlagsAskFor) {
  struct Case {
    const char* name;
    bool flags;
    std::string readme;
    wizard::PageAfter pageAfter;
  };
  const Case cases[] = {
      {"flags on, readme", true, "Stars\r\n\r\nA field of stars.", wizard::PageAfter::kUnchanged},
      {"flags off, no readme", false, "", wizard::PageAfter::kFinished},
      {"flags on, no readme", true, "", wizard::PageAfter::kFinished},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Package p;
    p.flags = c.flags;
    p.readme = c.readme;
    Rig rig(p);
    const install::InstallOutcome outcome = rig.Run("C:\\Savers");

    EXPECT_EQ(outcome.checkedFolder, kFolder);
    EXPECT_EQ(rig.fake.files.Content(kSaver), p.image);
    ASSERT_EQ(rig.fake.shell.Executions().size(), 1u);
    const fake::Execution& run = rig.fake.shell.Executions()[0];
    EXPECT_EQ(run.owner, 0u);
    EXPECT_EQ(run.verb, "install");
    EXPECT_EQ(run.file, kSaver);
    EXPECT_EQ(run.parameters, "");
    EXPECT_EQ(run.directory, "");
    EXPECT_EQ(run.show, os::kSwShowNoActivate);
    // The shell gets the screen saver only once the installation is complete.
    EXPECT_GT(IndexOfOp(rig.fake.log, "ShellExecute"), LastIndexWhere(rig.fake.log, IsUninstallerWrite));
    EXPECT_GT(IndexOfOp(rig.fake.log, "ShellExecute"), rig.fake.log.IndexOf("RegSetValue HKCU"));

    if (c.readme.empty()) {
      EXPECT_FALSE(rig.fake.files.HasFile(kReadme));
    } else {
      EXPECT_EQ(rig.fake.files.Content(kReadme), "Stars\r\n\r\nA field of stars.\r\n");
    }
    const auto uninstaller = rig.fake.files.Content(kUninstaller);
    ASSERT_TRUE(uninstaller.has_value());
    EXPECT_EQ(*uninstaller, rig.ExpectedUninstaller());
    EXPECT_EQ(int64_t(uninstaller->size()), rig.packageEnd - rig.record.PackageSize() + rig.record.TextsSize() + 942);

    if (c.flags) {
      EXPECT_EQ(rig.UninstallString(), "\"" + std::string(kUninstaller) + "\"");
      ASSERT_TRUE(rig.fake.shell.LinkAt(DesktopLink()).has_value());
      EXPECT_EQ(rig.fake.shell.LinkAt(DesktopLink())->target, kSaver);
      ASSERT_TRUE(rig.fake.shell.LinkAt(GroupLink("Uninstall Stars")).has_value());
      EXPECT_EQ(rig.fake.shell.LinkAt(GroupLink("Uninstall Stars"))->target, kUninstaller);
      EXPECT_EQ(rig.fake.shell.LinkAt(GroupLink("Readme")).has_value(), !c.readme.empty());
    } else {
      EXPECT_FALSE(rig.UninstallString().has_value());
      EXPECT_EQ(rig.fake.log.Count("SaveLink"), 0);
    }
    EXPECT_EQ(rig.InstalledPath(), kSaver);

    const wizard::AfterInstall after = wizard::AfterInstallation(outcome, !c.readme.empty());
    EXPECT_EQ(after.page, c.pageAfter);
    EXPECT_FALSE(outcome.message);
    EXPECT_FALSE(after.closeWindow);
    EXPECT_TRUE(rig.Messages().empty());
    rig.ExpectNothingLeftOpen();
    EXPECT_EQ(outcome.result, install::InstallResult::kDone);
  }
}

TEST(InstallProcedure, ImageIsCopiedInBoundedChunksWithProgress) {
  // A 1,000,000-byte setup file whose image lies at 400,000 .. 699,999.
  Package p;
  p.stub = Bytes(400000, 3);
  p.image = Program(300000, 4);
  p.readme = "";
  p.license = std::string(300000 - 942, 'L');
  p.extension = std::nullopt;  // nothing behind the package: the shares are of these bytes
  Rig rig(p);
  ASSERT_EQ(rig.setupFile.size(), 1000000u);
  EXPECT_EQ(rig.Run("C:\\Savers").result, install::InstallResult::kDone);

  EXPECT_EQ(rig.progress.events, (std::vector<std::string>{"begins", "50", "60", "70", "ends"}));

  // The image reads lie between the seek to its start and the creation of the uninstaller.
  const int seek = rig.fake.log.IndexOf("Seek C:\\setup.exe 400000");
  ASSERT_GE(seek, 0) << rig.fake.log.Dump();
  std::vector<std::string> chunks;
  const auto& calls = rig.fake.log.Calls();
  for (std::size_t i = seek; i < calls.size() && calls[i].op != "OpenFile"; ++i)
    if (calls[i].op == "Read") chunks.push_back(calls[i].detail);
  // First the image's two first bytes, which say it is stored (package/coded_image.h).
  EXPECT_EQ(chunks, (std::vector<std::string>{"2", "100001", "100001", "99998"}));
  EXPECT_EQ(rig.fake.files.Content(kSaver), p.image);
}

// The progress page while the image is copied: no input and the hourglass, the bar moved,
// repainted and the window served after each chunk; all as before once the copy is over.
TEST(InstallWindow, TheProgressPageShowsTheCopy) {
  Package p;
  p.stub = Bytes(400000, 3);
  p.image = Program(300000, 4);
  p.readme = "";
  p.license = std::string(300000 - 942, 'L');
  p.extension = std::nullopt;
  Rig rig(p);
  rig.Start(false);

  std::vector<int> shown;
  std::vector<bool> windowEnabled, busy;
  rig.host.onProcessMessages = [&] {
    shown.push_back(rig.form->ProgressBar.Position());
    windowEnabled.push_back(rig.host.windowEnabled);
    busy.push_back(rig.host.busyCursor);
  };
  ASSERT_FALSE(rig.Install("C:\\Savers"));

  EXPECT_EQ(rig.form->ProgressBar.Maximum(), 100);
  EXPECT_EQ(shown, (std::vector<int>{50, 60, 70}));
  EXPECT_EQ(windowEnabled, (std::vector<bool>{false, false, false}));
  EXPECT_EQ(busy, (std::vector<bool>{true, true, true}));
  EXPECT_EQ(rig.host.Count("RepaintNow " + std::to_string(int(ui::ControlId::ProgressBar))), 3);
  EXPECT_TRUE(rig.host.windowEnabled);
  EXPECT_FALSE(rig.host.busyCursor);
}

TEST(InstallProcedure, FolderAndTargetProblemsSendTheUserBackWithNothingLeftBehind) {
  const char* kA = "Unable to create the directory. Please select a different directory.";
  const char* kB = "Invalid directory. Please select an existing directory.";
  const char* kC = "Unable to copy the files. Access is denied. Please select a different directory.";
  struct Case {
    const char* name;
    std::string typed;
    std::function<void(fake::FakeOs&)> setUp;
    const char* message;
  };
  const Case cases[] = {
      {"empty folder text", "", nullptr, kB},
      {"folder below a file", "C:\\file.txt\\Savers", nullptr, kA},
      {"folder refused", "C:\\New\\Savers", [](fake::FakeOs& f) { f.FailOn("CreateFolder", "C:\\New"); }, kA},
      {"inner folder refused", "C:\\New\\Savers",
       [](fake::FakeOs& f) { f.FailOn("CreateFolder", "C:\\New\\Savers"); }, kA},
      {"a file, not a folder", "C:\\file.txt", nullptr, kA},  // creating it is what fails
      {"a drive that is no folder", "Q:", nullptr, kB},
      {"target cannot be created", "C:\\Savers", [](fake::FakeOs& f) { f.FailOn("OpenFile", "stars.scr"); }, kC},
      {"target in new folders cannot be created", "C:\\New\\Savers",
       [](fake::FakeOs& f) { f.FailOn("OpenFile", "stars.scr"); }, kC},
      // A colon past the drive names a stream, and such a folder was once its own parent.
      {"colon in a level", "C:\\Colon\\x:ads", nullptr, kA},
      {"colon ending a level", "C:\\Colon\\a:b\\c", nullptr, kA},
      {"colon ending the folder", "dir:", nullptr, kA},
      {"drive-relative folder on no drive", "a:b\\c", nullptr, kA},
      {"device name", "C:\\Savers\\CON", nullptr, kA},
      {"wildcard", "C:\\Savers\\*", nullptr, kA},
  };
  for (const bool unattended : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (unattended ? ", unattended" : ", interactive"));
      Rig rig;
      if (c.setUp) c.setUp(rig.fake);
      const std::vector<std::string> before = rig.fake.files.Entries();
      const install::InstallOutcome outcome = rig.Run(c.typed, unattended);

      // The same in both modes: the window decides what it shows.
      const wizard::AfterInstall after = wizard::AfterInstallation(outcome, true);
      EXPECT_EQ(after.page, wizard::PageAfter::kDirectory);
      EXPECT_EQ(outcome.result, install::InstallResult::kStoppedUnchanged);
      ASSERT_TRUE(outcome.message);
      EXPECT_EQ(outcome.message->text, c.message);
      EXPECT_EQ(outcome.message->caption, install::MessageCaption::kApplicationTitle);
      EXPECT_FALSE(after.closeWindow);
      EXPECT_TRUE(rig.Messages().empty());
      EXPECT_TRUE(rig.progress.events.empty()) << "no copy began";
      // Folders made on the way are gone again.
      EXPECT_EQ(rig.fake.files.Entries(), before);
      if (c.typed.empty()) {
        EXPECT_EQ(rig.fake.log.Count("CreateFolder"), 0);
      }
      EXPECT_FALSE(rig.fake.files.HasFile(kSaver));
      EXPECT_FALSE(rig.fake.files.HasFile(kUninstaller));
      EXPECT_TRUE(rig.fake.shell.Executions().empty());
      EXPECT_FALSE(rig.fake.registry.HasKey(RegRoot::kLocalMachine, integration::UninstallKeyPath("Stars")));
      EXPECT_EQ(rig.fake.log.Count("SaveLink"), 0);
    }
  }
}

TEST(InstallProcedure, ATranslatedFolderMessageIsShown) {
  Package p;
  p.language = "Setup\r\nInvalid directory. Please select an existing directory.=Dossier invalide.\r\n";
  Rig rig(p);
  const install::InstallOutcome outcome = rig.Run("");
  ASSERT_TRUE(outcome.message);
  EXPECT_EQ(outcome.message->text, "Dossier invalide.");
  EXPECT_EQ(outcome.message->caption, install::MessageCaption::kApplicationTitle);
}

// The window applies what the installation says: the folder box, the message box, the page and
// the exit code; after a failure the window closes, and the unattended run ends however it went,
// with no box.
TEST(InstallWindow, AppliesTheOutcome) {
  const auto uninstallerFails = [](fake::FakeOs& f) { f.FailOn("OpenFile", "uninstall stars.exe"); };
  const std::string kReadmeText = Package().readme;
  const char* kNoFolder = "Invalid directory. Please select an existing directory.";
  struct Case {
    const char* name;
    bool silent;
    std::string folder;
    std::string readme;
    std::function<void(fake::FakeOs&)> fault;
    bool aborted;  // the Install handler was left by the silent abort
    int page;
    std::string box;  // empty: none
    std::string caption;
    bool closed;
    std::string folderBox;
    int exitCode;
  };
  const Case cases[] = {
      {"done, a readme to show", false, "C:\\Savers", kReadmeText, nullptr, false, kPageProgress, "", "", false,
       kFolder, kExitDone},
      {"done, no readme", false, "C:\\Savers", "", nullptr, false, kPageFinished, "", "", false, kFolder, kExitDone},
      {"no such folder", false, "Q:", kReadmeText, nullptr, true, kPageDirectory, kNoFolder, "Screensaver Setup",
       false, "Q:", kExitStoppedUnchanged},
      {"failed", false, "C:\\Savers", kReadmeText, uninstallerFails, false, kPageProgress, kNotComplete,
       "Stars Setup", true, kFolder, kExitFailedPartWay},
      {"unattended, done", true, "C:\\Savers", kReadmeText, nullptr, false, 0, "", "", false, "", kExitDone},
      {"unattended, no such folder", true, "Q:", kReadmeText, nullptr, false, 0, "", "", false, "",
       kExitStoppedUnchanged},
      {"unattended, failed", true, "C:\\Savers", kReadmeText, uninstallerFails, false, 0, "", "", false, "",
       kExitFailedPartWay},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Package p;
    p.readme = c.readme;
    Rig rig(p);
    if (c.fault) c.fault(rig.fake);
    if (c.silent) {
      rig.Start(true, c.folder);
      EXPECT_FALSE(rig.wizard);
    } else {
      rig.Start(false);
      ASSERT_TRUE(rig.form);
      EXPECT_EQ(rig.Install(c.folder), c.aborted);
      EXPECT_EQ(rig.form->CurrentPage(), c.page);
      if (c.page == kPageProgress) {
        EXPECT_FALSE(rig.form->btnNext.Visible());
      }
      EXPECT_EQ(rig.form->edDirectory.Caption(), c.folderBox);
    }
    ASSERT_EQ(rig.Messages().size(), c.box.empty() ? 0u : 1u);
    if (!c.box.empty()) {
      EXPECT_EQ(rig.Messages()[0].text, c.box);
      EXPECT_EQ(rig.Messages()[0].caption, c.caption);
      EXPECT_EQ(rig.Messages()[0].flags, os::kMbOk | os::kMbIconError);
      EXPECT_EQ(rig.Messages()[0].owner, rig.host.handle);
    }
    EXPECT_EQ(rig.host.closed, c.closed);
    if (c.closed) {
      EXPECT_EQ(rig.Messages()[0].caption, rig.form->Window.Caption());
      EXPECT_LT(IndexOfOp(rig.fake.log, "ShowMessage"), IndexOfOp(rig.fake.log, "Close"));
    }
    EXPECT_TRUE(rig.host.windowEnabled);
    EXPECT_FALSE(rig.host.busyCursor);
    EXPECT_EQ(rig.ExitCode(), c.exitCode);
  }
}

// Faults inside the copy and the writing of the files.
// What the block adds to the entry and the shell's part, and what is derived without one.
TEST(InstallProcedure, TheEntryShowsWhatThePackageSaysAndTheVerbMayBeLeftOut) {
  struct Case {
    const char* name;
    std::optional<package::ExtensionBlock> extension;
    std::string link;
    bool verb;
  };
  package::ExtensionBlock details;
  details.publisher = "Nachtlicht";
  details.version = "2.1";
  package::ExtensionBlock noVerb = details;
  noVerb.shellInstall = false;
  const Case cases[] = {
      {"no block", std::nullopt, "http://stars.example.org/", true},
      {"publisher and version", details, "HTTPS://stars.example.org/", true},
      {"no verb, a link that is no address", noVerb, "Visit us!", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Package p;
    p.extension = c.extension;
    Rig rig(p);
    rig.record.SetLinkText(c.link);
    EXPECT_EQ(rig.Run("C:\\Savers").result, install::InstallResult::kDone);
    const std::string key = integration::UninstallKeyPath("Stars");
    const auto dwordValue = [&](const char* name) -> std::optional<uint32_t> {
      const auto v = rig.fake.registry.Value(RegRoot::kLocalMachine, key, name);
      if (!v || v->type != os::kRegDword || v->data.size() != 4) return std::nullopt;
      uint32_t n = 0;
      for (int i = 3; i >= 0; --i) n = n << 8 | uint8_t(v->data[i]);
      return n;
    };
    const auto string = [&](const char* name) {
      return rig.fake.registry.StringValue(RegRoot::kLocalMachine, key, name);
    };
    for (const char* flag : {"NoModify", "NoRepair"}) EXPECT_EQ(dwordValue(flag), 1u) << flag;
    EXPECT_EQ(string("InstallLocation"), kFolder);
    const int64_t installed = int64_t(p.image.size() + rig.fake.files.Content(kUninstaller)->size() + p.readme.size());
    EXPECT_EQ(dwordValue("EstimatedSize"), uint32_t((installed + 1023) / 1024));
    const bool hasDetails = c.extension.has_value();
    EXPECT_EQ(string("Publisher"), hasDetails ? std::optional<std::string>("Nachtlicht") : std::nullopt);
    EXPECT_EQ(string("DisplayVersion"), hasDetails ? std::optional<std::string>("2.1") : std::nullopt);
    EXPECT_EQ(string("URLInfoAbout"), c.link == "Visit us!" ? std::nullopt : std::optional<std::string>(c.link));
    EXPECT_EQ(rig.fake.shell.Executions().size(), c.verb ? 1u : 0u);
  }
}

struct Fault {
  const char* name;
  std::function<void(fake::FakeOs&, const std::string& image)> inject;
  // The cause the outcome keeps: its step, and what its path begins with; none: not checked.
  const char* step = nullptr;
  const char* path = "";
};

std::vector<Fault> Faults() {
  return {
      {"setup file cannot be reopened",
       [](fake::FakeOs& f, const std::string&) {
         f.FailWhen([](const fake::Call& c) {
           return c.op == "OpenFile" && c.subject == kSetupPath && c.detail == "ReadShareRead";
         });
       },
       "open the setup file", kSetupPath},
      {"read fails mid-copy",
       [](fake::FakeOs& f, const std::string&) {
         auto seen = std::make_shared<int>(0);
         f.FailWhen([seen](const fake::Call& c) { return c.op == "Read" && c.detail == "100001" && ++*seen == 2; });
       },
       install::kReadSetupFileStep, kSetupPath},
      {"disk full during the copy",
       [](fake::FakeOs& f, const std::string& image) { f.files.SetFreeSpace(image.size() / 2); },
       install::kWriteSaverStep, kSaver},
      {"readme cannot be created", [](fake::FakeOs& f, const std::string&) { f.FailOn("OpenFile", "Readme.txt"); },
       "write the readme", kReadme},
      {"uninstaller cannot be created",
       [](fake::FakeOs& f, const std::string&) { f.FailOn("OpenFile", "uninstall stars.exe"); },
       "create the uninstaller", kUninstaller},
      {"uninstaller stub write fails", [](fake::FakeOs& f, const std::string&) { f.FailWhen(IsUninstallerWrite); }},
      {"uninstaller record write fails",
       [](fake::FakeOs& f, const std::string&) {
         f.FailWhen([](const fake::Call& c) { return IsUninstallerWrite(c) && c.detail == "932"; });
       }},
      {"uninstaller signature write fails",
       [](fake::FakeOs& f, const std::string&) {
         f.FailWhen([](const fake::Call& c) { return IsUninstallerWrite(c) && c.detail == "10"; });
       }},
      {"installed path cannot be recorded",
       [](fake::FakeOs& f, const std::string&) { f.FailOn("RegSetValue", "FileName_"); },
       "record the installed path", "Software\\Somnivex\\Stars"},
  };
}

void ExpectNothingInstalled(const Rig& rig) {
  for (const char* path : {kSaver, kUninstaller, kReadme}) EXPECT_FALSE(rig.fake.files.HasFile(path)) << path;
  EXPECT_FALSE(rig.UninstallString().has_value());
  EXPECT_FALSE(rig.fake.registry.HasKey(RegRoot::kLocalMachine, integration::UninstallKeyPath("Stars")));
  EXPECT_EQ(rig.fake.log.Count("SaveLink"), 0);
  EXPECT_TRUE(rig.fake.shell.Executions().empty()) << "a failed installation never reaches the shell";
  EXPECT_FALSE(rig.InstalledPath().has_value());
  rig.ExpectNothingLeftOpen();
}

TEST(InstallProcedure, AFailureRollsBackWhatThisRunWroteAndEnds) {
  for (const bool unattended : {false, true}) {
    for (const Fault& fault : Faults()) {
      SCOPED_TRACE(std::string(fault.name) + (unattended ? ", unattended" : ", interactive"));
      Rig rig;
      fault.inject(rig.fake, rig.package.image);
      const std::vector<std::string> before = rig.fake.files.Entries();
      const install::InstallOutcome outcome = rig.Run("C:\\Savers", unattended);

      ExpectNothingInstalled(rig);
      EXPECT_EQ(rig.fake.files.Entries(), before) << rig.fake.log.Dump();  // the folder was there before: it stays
      // However the copy ended, the window had its input and the arrow back.
      if (!rig.progress.events.empty()) {
        EXPECT_EQ(rig.progress.events.front(), "begins");
        EXPECT_EQ(rig.progress.events.back(), "ends");
      }
      EXPECT_EQ(outcome.result, install::InstallResult::kFailedPartWay);
      const wizard::AfterInstall after = wizard::AfterInstallation(outcome, true);
      EXPECT_EQ(after.page, wizard::PageAfter::kUnchanged);
      ASSERT_TRUE(outcome.message);
      EXPECT_EQ(outcome.message->text, kNotComplete);
      EXPECT_EQ(outcome.message->caption, install::MessageCaption::kSetupWindow);
      EXPECT_TRUE(after.closeWindow);
      EXPECT_TRUE(rig.Messages().empty());
      ASSERT_TRUE(outcome.cause);
      if (fault.step) {
        EXPECT_EQ(outcome.cause->step, fault.step);
        EXPECT_EQ(outcome.cause->path.rfind(fault.path, 0), 0u) << outcome.cause->path;
      }
    }
  }
}

// A setup file whose image differs from its checksum installs nothing, in either mode, and says
// that the file is damaged.
TEST(InstallProcedure, AnImageThatDiffersFromItsChecksumInstallsNothing) {
  for (const bool unattended : {false, true}) {
    SCOPED_TRACE(unattended ? "unattended" : "interactive");
    Rig rig;
    std::string damaged = rig.setupFile;
    damaged[rig.package.stub.size() + 200000] ^= 0x01;  // in the copy's second chunk
    rig.fake.files.AddFile(kSetupPath, damaged);
    const install::InstallOutcome outcome = rig.Run("C:\\Savers", unattended);
    ExpectNothingInstalled(rig);
    EXPECT_EQ(outcome.result, install::InstallResult::kFailedPartWay);
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text, "The file is corrupted. Setup can not continue.");
    EXPECT_EQ(outcome.message->caption, install::MessageCaption::kApplicationTitle);
    EXPECT_TRUE(wizard::AfterInstallation(outcome, true).closeWindow);
  }
}

// A reinstallation that fails keeps what an earlier one left: only the screen-saver file goes.
// A reinstallation that fails at any point keeps the earlier installation's files byte for byte,
// beside nothing new; one that succeeds replaces them and keeps nothing of them.
TEST(InstallProcedure, AFailedReinstallationKeepsTheEarlierFiles) {
  using install::InstallResult;
  struct Case {
    const char* name;
    std::function<void(fake::FakeOs&)> fault;
    InstallResult result;
  };
  const auto heldFile = [](const char* path) {
    return [path](fake::FakeOs& f) {
      f.FailWhen([path](const fake::Call& c) { return c.op == "OpenFile" && c.subject == path && c.detail == "ReadWriteExisting"; });
    };
  };
  const Case cases[] = {
      {"readme held", heldFile(kReadme), InstallResult::kStoppedUnchanged},
      {"uninstaller held", heldFile(kUninstaller), InstallResult::kStoppedUnchanged},
      // An earlier file must come back even when the new one in its place cannot be deleted.
      {"last replacement fails, a new file stays", [](fake::FakeOs& f) { f.FailNth("RenameFile", 6); f.FailOn("DeleteFile", kSaver); }, InstallResult::kFailedPartWay},
      // Ten runs cut off during the copy left their staging files: the next run clears them away.
      {"leftovers of interrupted runs", [](fake::FakeOs& f) {
         for (int n = 0; n < 10; ++n) f.files.AddFile(std::string(kSaver) + ".scrsetup-new" + (n ? std::to_string(n) : ""), "cut off");
         f.files.AddFile(std::string(kReadme) + ".scrsetup-old", "kept");
       }, InstallResult::kDone},
      {"uninstaller write fails", [](fake::FakeOs& f) { f.FailWhen([](const fake::Call& c) { return IsUninstallerWrite(c) && c.detail == "10"; }); }, InstallResult::kFailedPartWay},
      {"first replacement fails", [](fake::FakeOs& f) { f.FailNth("RenameFile", 1); }, InstallResult::kFailedPartWay},
      {"last replacement fails", [](fake::FakeOs& f) { f.FailNth("RenameFile", 6); }, InstallResult::kFailedPartWay},
      {"record cannot be stored", [](fake::FakeOs& f) { f.FailOn("RegSetValue", "HKCU"); }, InstallResult::kFailedPartWay},
      {"target held by a running saver", [](fake::FakeOs& f) {
         f.FailWhen([](const fake::Call& c) { return c.op == "OpenFile" && c.subject == kSaver && c.detail == "ReadWriteExisting"; });
       }, InstallResult::kStoppedUnchanged},
      {"no fault", [](fake::FakeOs&) {}, InstallResult::kDone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.fake.files.AddFile(kReadme, "old readme");
    rig.fake.files.AddFile(kUninstaller, "old uninstaller");
    rig.fake.files.AddFile(kSaver, "old saver");
    rig.fake.registry.SetString(RegRoot::kCurrentUser, integration::SaverKeyPath("Stars"),
                                integration::kInstalledPathValue, kSaver);
    const std::vector<std::string> before = rig.fake.files.Entries();
    c.fault(rig.fake);
    EXPECT_EQ(rig.Run("C:\\Savers", /*unattended=*/true).result, c.result) << rig.fake.log.Dump();
    const bool done = c.result == InstallResult::kDone;
    if (!done) {
      EXPECT_EQ(rig.fake.files.Entries(), before) << rig.fake.log.Dump();
    }
    for (const std::string& path : rig.fake.files.Entries()) EXPECT_EQ(path.find(".scrsetup-"), std::string::npos) << path;
    EXPECT_EQ(rig.fake.files.Content(kSaver), done ? rig.package.image : "old saver");
    EXPECT_EQ(rig.fake.files.Content(kUninstaller), done ? rig.ExpectedUninstaller() : "old uninstaller");
    EXPECT_EQ(rig.fake.files.Content(kReadme) == "old readme", !done);
    EXPECT_EQ(rig.InstalledPath(), kSaver);
  }
}

bool IsWindowCall(const fake::Call& call) {
  for (const char* op : {"Close", "SetWindowEnabled", "SetBusyCursor", "RepaintNow",
                         "ProcessMessages", "Focus"})
    if (call.op == op) return true;
  return false;
}

// Every call of a complete unattended installation into new folders, failed in turn: each run
// either installs completely or leaves the machine as it found it, and its exit code says which.
TEST(InstallProcedure, EveryFailingCallEndsInstalledOrRolledBack) {
  const std::string folder = "C:\\New\\Deep";
  std::vector<fake::Call> calls;
  {
    Rig clean;
    clean.Start(true, folder);
    ASSERT_EQ(clean.ExitCode(), kExitDone);
    calls = clean.fake.log.Calls();
  }
  int installed = 0, refused = 0, rolledBack = 0;
  for (const fake::Call& call : calls) {
    if (IsWindowCall(call)) continue;  // the fake window records them; they cannot fail for real
    SCOPED_TRACE(call.Line() + " (call " + std::to_string(call.ordinal) + " of its kind)");
    Rig rig;
    const std::vector<std::string> before = rig.fake.files.Entries();
    rig.fake.FailNth(call.op, call.ordinal);
    rig.Start(true, folder);
    for (const std::string& path : rig.fake.files.Entries()) EXPECT_EQ(rig.fake.files.OpenHandles(path), 0) << path;
    EXPECT_TRUE(rig.Messages().empty());
    EXPECT_TRUE(rig.host.windowEnabled);
    const int code = rig.ExitCode();
    if (code == kExitDone) {
      ++installed;
      EXPECT_EQ(rig.fake.files.Content(folder + "\\stars.scr"), rig.package.image);
      EXPECT_EQ(rig.fake.files.Content(folder + "\\uninstall stars.exe"), rig.ExpectedUninstaller());
    } else {
      code == kExitFailedPartWay ? ++rolledBack : ++refused;
      EXPECT_TRUE(code == kExitUnreadable || code == kExitStoppedUnchanged || code == kExitFailedPartWay ||
                  code == kExitAnotherRunning)
          << code;
      EXPECT_EQ(rig.fake.files.Entries(), before) << rig.fake.log.Dump();
      EXPECT_TRUE(rig.fake.registry.KeyPaths(RegRoot::kLocalMachine).empty());
      EXPECT_EQ(rig.fake.log.Count("SaveLink"), 0);
      EXPECT_TRUE(rig.fake.shell.Executions().empty());
      EXPECT_FALSE(rig.InstalledPath().has_value());
    }
  }
  // Each outcome occurs, so the loop above really went through every stage.
  EXPECT_GT(installed, 0);
  EXPECT_GT(refused, 0);
  EXPECT_GT(rolledBack, 0);
}

TEST(InstallProcedure, IntegrationSeesTheExpandedPath) {
  const std::string typed = "C:\\Other\\..\\Savers";
  Rig rig;
  rig.Run(typed);

  EXPECT_EQ(rig.UninstallString(), "\"C:\\Savers\\uninstall stars.exe\"");
  // The screen-saver path always comes from the folder as typed.
  ASSERT_TRUE(rig.fake.shell.LinkAt(DesktopLink()).has_value());
  EXPECT_EQ(rig.fake.shell.LinkAt(DesktopLink())->target, typed + "\\stars.scr");
  EXPECT_EQ(rig.InstalledPath(), kSaver);
}

TEST(InstallProcedure, TranslatedNamesAndAHostileMessagePattern) {
  Package p;
  p.language =
      "Setup\r\n"
      "Uninstall=\xC9LIMINER\r\n"
      "Readme=Lisezmoi\r\n"
      "There was an error installing %s. Installation is not complete.=%d%n%x %s: %s %%\r\n";
  Rig rig(p);
  EXPECT_EQ(rig.Run("C:\\Savers").result, install::InstallResult::kDone);
  EXPECT_EQ(rig.fake.files.Content("C:\\Savers\\Stars Lisezmoi.txt"), "Stars\r\n\r\nA field of stars.\r\n");
  EXPECT_TRUE(rig.fake.files.HasFile("C:\\Savers\\\xC9liminer stars.exe"));
  EXPECT_EQ(rig.UninstallString(), "\"C:\\Savers\\\xC9liminer stars.exe\"");

  Rig failing(p);
  failing.fake.FailWhen([](const fake::Call& c) { return c.op == "Write" && c.detail == "10"; });
  const install::InstallOutcome outcome = failing.Run("C:\\Savers");
  ASSERT_TRUE(outcome.message);
  EXPECT_EQ(outcome.message->text, "%d%n%x Stars: %s %");
}

// Names taken from the package (file name, title, translations) are joined to the chosen folder,
// the desktop or the group: whatever they hold, nothing is written anywhere else.
TEST(InstallProcedure, NamesFromThePackageNeverLeadOutOfTheFolder) {
  struct Case {
    const char* name;
    std::string fileName, title, language;
    std::vector<std::string> inFolder;  // what the installation folder holds afterwards
  };
  const std::vector<Case> cases = {
      {"file name with slashes", "../../Windows/evil.scr", "Stars", "",
       {"Stars Readme.txt", "evil.scr", "uninstall evil.exe"}},
      {"title climbing out", "stars.scr", "..\\..\\Windows\\x", "", {"stars.scr", "uninstall stars.exe"}},
      {"translations with separators", "stars.scr", "Stars",
       "Setup\r\nUninstall=..\\..\\Windows\\u\r\nReadme=/../../r\r\n",
       {"Stars Readme.txt", "stars.scr", "uninstall stars.exe"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Package p;
    p.fileName = c.fileName;
    p.title = c.title;
    p.language = c.language;
    Rig rig(p);
    // As stored: the installation's own guard is under test, not the start-up's file-name rule.
    rig.record.SetScreensaverFileName(c.fileName);
    rig.fake.files.AddFolder("C:\\Savers\\Deep\\Inner");
    const auto before = rig.fake.files.Entries();
    const install::InstallOutcome outcome = rig.Run("C:\\Savers\\Deep\\Inner");
    std::vector<std::string> inFolder;
    for (const std::string& entry : rig.fake.files.Entries()) {
      if (std::find(before.begin(), before.end(), entry) != before.end()) continue;
      const std::string folder = "C:\\Savers\\Deep\\Inner\\";
      if (entry.rfind(folder, 0) == 0) {
        inFolder.push_back(entry.substr(folder.size()));
      } else {
        EXPECT_TRUE(entry.rfind(fake::kFakeDesktop, 0) == 0 || entry.rfind(fake::kFakePrograms, 0) == 0) << entry;
      }
    }
    EXPECT_EQ(inFolder, c.inFolder);
    EXPECT_FALSE(outcome.message) << rig.fake.log.Dump();
  }
}

TEST(InstallProcedure, SilentModeInstallsIntoTheDefaultOrTheGivenFolder) {
  struct Case {
    const char* name;
    std::string argument;
    std::string saver;  // where the files are, as every path written down names it
    bool wow64 = false;        // a 32-bit program on 64-bit Windows
    bool localSystem = false;  // run by a deployment tool
    bool shellInstall = true;  // false: -no-shell-install
  };
  const Case cases[] = {
      {"default folder", "", std::string(fake::kFakeProgramFiles) + "\\Stars\\stars.scr"},
      {"given folder", "C:\\Given\\Deep", "C:\\Given\\Deep\\stars.scr"},
      {"system folder, native", "C:\\windows\\system32", "C:\\windows\\system32\\stars.scr"},
      {"system folder under WoW64", "C:\\Windows\\System32\\", "C:\\windows\\syswow64\\stars.scr", true},
      {"system subfolder under WoW64", "C:\\windows\\system32\\Savers", "C:\\windows\\syswow64\\Savers\\stars.scr",
       true},
      // One that has no counterpart on the other side is not redirected.
      {"unredirected subfolder under WoW64", "C:\\windows\\system32\\Own", "C:\\windows\\system32\\Own\\stars.scr", true},
      {"other folder under WoW64", "C:\\Given", "C:\\Given\\stars.scr", true},
      {"LocalSystem account", "C:\\Given", "C:\\Given\\stars.scr", false, true},
      {"-no-shell-install", "C:\\Given", "C:\\Given\\stars.scr", false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Package p;
    p.license = "You agree.";  // never shown nor asked for in silent mode
    Rig rig(p);
    rig.fake.files.AddFolder("C:\\windows\\system32");
    rig.fake.files.AddFolder("C:\\windows\\syswow64\\Savers");  // where the redirector puts what is made below the system folder
    if (c.wow64) rig.fake.files.SetSystemDirectories("C:\\windows\\system32", "C:\\windows\\syswow64");
    rig.fake.system.localSystem = c.localSystem;
    rig.Start(true, c.argument, c.shellInstall);

    const std::string uninstaller = text::FolderPart(c.saver) + "uninstall stars.exe";
    EXPECT_EQ(rig.UninstallString(), '"' + uninstaller + '"');
    EXPECT_EQ(rig.fake.shell.LinkAt(DesktopLink(c.localSystem))->target, c.saver);
    EXPECT_EQ(rig.fake.shell.LinkAt(GroupLink("Uninstall Stars", c.localSystem))->target, uninstaller);
    EXPECT_FALSE(rig.fake.shell.LinkAt(DesktopLink(!c.localSystem))) << "one place only";
    if (c.localSystem || !c.shellInstall) {
      EXPECT_TRUE(rig.fake.shell.Executions().empty());
    } else {
      ASSERT_EQ(rig.fake.shell.Executions().size(), 1u);
      EXPECT_EQ(rig.fake.shell.Executions()[0].file, c.saver);
    }

    EXPECT_EQ(rig.fake.files.Content(c.saver), p.image);
    EXPECT_EQ(rig.ExitCode(), kExitDone);
    EXPECT_FALSE(rig.wizard);
    EXPECT_TRUE(rig.Messages().empty());
    EXPECT_EQ(rig.InstalledPath(), c.saver);
  }
}

}  // namespace
}  // namespace wizard
