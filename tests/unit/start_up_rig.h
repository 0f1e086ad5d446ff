#pragma once
// A run started on a real setup file that lies in the fake file system at the program's own path,
// as start-up finds it on a real machine. The rig stands in for the windows: the wizard is made
// and filled as its window's creation fills it, and left for the test to drive.
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/exit_codes.h"
#include "app/own_package_reading.h"
#include "app/start_up.h"
#include "language/translation.h"
#include "support/fake_form_host.h"
#include "support/fake_os.h"
#include "support/setup_file.h"
#include "wizard/scr_setup.h"

namespace rig {

constexpr char kSetupPath[] = "C:\\downloads\\setup.exe";
constexpr char kStub[] = "MZ\x90\x00-a-stub-that-stands-in-for-the-program";

// A French language text: the tests see translated texts wherever the wizard translates.
constexpr char kFrench[] =
    "Setup\r\n"
    "Back=Retour\r\n"
    "Next=Suivant\r\n"
    "Install=Installer\r\n"
    "Finish=Terminer\r\n"
    "Browse=Choisissez un dossier\r\n"
    "Setup=Installation\r\n"
    "Ready to Install=Pret a installer\r\n"
    "The file is corrupted. Setup can not continue.=Le fichier est endommage.\r\n";

inline std::string SetupFile(const support::SetupContents& c) {
  return support::AssembleSetupFile(std::string(kStub, sizeof kStub - 1), c);
}

// Turns a setup file into what the installation writes as uninstaller: the same texts and
// record, the other signature. The image stays in front; start-up must not care.
inline std::string AsUninstaller(std::string setupFile) {
  setupFile.replace(setupFile.size() - 10, 10, "ScUnin.sig");
  return setupFile;
}

class WizardRig : public app::Windows {
 public:
  explicit WizardRig(std::string ownPath = kSetupPath) : ownPath_(std::move(ownPath)) {
    language::FreeTranslation();
  }
  ~WizardRig() override {
    wizard.reset();
    language::FreeTranslation();
  }

  void PutOwnFile(const std::string& bytes) {
    fake.files.AddFile(ownPath_, bytes);
    fake.system.SetModulePath(ownPath_);
  }

  // Start-up as the entry point runs it; `arguments` follow argument 0, the own path.
  int Run(std::vector<std::string> arguments = {}) {
    arguments.insert(arguments.begin(), ownPath_);
    exitCode = app::StartUp(os, app::CommandLine(arguments), *this, log);
    return exitCode;
  }

  // Start-up of a setup file that shows its wizard.
  wizard::TSCRSetup& Start(std::vector<std::string> arguments = {}) {
    Run(std::move(arguments));
    if (!wizard) throw std::logic_error("start-up showed no wizard:\n" + fake.log.Dump());
    return *wizard;
  }
  wizard::TSCRSetup& StartWith(const support::SetupContents& c) {
    PutOwnFile(SetupFile(c));
    return Start();
  }

  // What start-up reads from the own file, read the way it reads it.
  package::OwnPackage ReadOwnPackage() {
    const auto file = fake.files.Open(ownPath_, os::OpenMode::kReadShareAll);
    package::FileReadSource source(*file);
    package::OwnPackage package = app::ReadPackageHead(fake.system, source);
    app::ReadSetupTexts(source, package);
    return package;
  }

  // The run's exit code; while the wizard is open, the code its closing would give.
  int ExitCode() const { return wizard ? app::ExitCodeOf(wizard->Ending().result) : exitCode; }

  // app::Windows
  integration::RunOutcome RunWizard(const package::OwnPackage& package,
                                    runlog::RunLog& runLog) override {
    wizard = std::make_unique<wizard::TSCRSetup>(os, host, package);
    wizard->WriteLogTo(runLog);
    wizard->Dispatch([this] { wizard->FormCreate(); });  // as the window's creation runs it
    return wizard->Ending();
  }
  os::WindowRef HiddenOwner() override {
    hiddenOwnerMade = true;
    return host.handle;
  }

  fake::FakeOs fake;
  os::Os os{fake.Os()};
  fake::FakeFormHost host{&fake};
  std::unique_ptr<wizard::TSCRSetup> wizard;  // made when start-up runs the wizard
  int exitCode = -1;                          // what start-up returned
  bool hiddenOwnerMade = false;
  runlog::RunLog log;  // none unless a test opens one

 private:
  std::string ownPath_;
};

}  // namespace rig
