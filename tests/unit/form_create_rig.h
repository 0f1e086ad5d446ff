#pragma once
// A wizard started on a real setup file that lies in the fake file system at the program's
// own path, as start-up finds it on a real machine.
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/unattended_switches.h"
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

class WizardRig {
 public:
  WizardRig() { language::FreeTranslation(); }
  ~WizardRig() {
    wizard.reset();
    language::FreeTranslation();
  }

  void PutOwnFile(const std::string& bytes) {
    fake.files.AddFile(kSetupPath, bytes);
    fake.system.SetModulePath(kSetupPath);
  }

  // Builds the wizard and runs start-up. `arguments` follow argument 0, the own path.
  wizard::TSCRSetup& Start(std::vector<std::string> arguments = {}, bool silent = false) {
    arguments.insert(arguments.begin(), kSetupPath);
    wizard = std::make_unique<wizard::TSCRSetup>(os, host, silent,
                                                 app::ReadUnattendedOptions(app::CommandLine(arguments)));
    wizard->FormCreate();
    return *wizard;
  }

  wizard::TSCRSetup& StartWith(const support::SetupContents& c) {
    PutOwnFile(SetupFile(c));
    return Start();
  }

  fake::FakeOs fake;
  os::Os os{fake.Os()};
  fake::FakeFormHost host{&fake};
  std::unique_ptr<wizard::TSCRSetup> wizard;
};

}  // namespace rig
