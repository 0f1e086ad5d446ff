#include "app/own_package_reading.h"

#include "integration/saver_file_name.h"
#include "language/language_text.h"
#include "language/translation.h"
#include "package/package_checksums.h"
#include "package/sections.h"

namespace app {

package::OwnPackage ReadPackageHead(os::System& system, package::ReadSource& source) {
  package::OwnPackage p;
  p.packageEnd = package::RequirePackageEnd(source);
  p.record = package::ReadRecord(source, p.packageEnd);
  p.kind = package::KindOf(package::ReadDecisionSignature(source, p.packageEnd));
  const bool setupFile = p.kind == package::PackageKind::kSetup;
  // A setup file whose record says it carries a block is refused without one; an uninstaller
  // carries the record byte for byte, flag and all, but never a block. The texts and the record
  // are checked as stored, before start-up adapts the record.
  p.extension =
      package::RequireExtension(source, p.packageEnd, setupFile && p.record.HasExtensionBlock());
  package::RequireIntactTextsAndRecord(source, p.packageEnd, p.record, p.extension);
  if (integration::GetsShortSaverFileNames(system.Version()))
    integration::ShortenSaverFileName(p.record);
  p.languageText = package::ReadLanguageText(source, p.packageEnd, p.record);
  language::LoadTranslation(p.languageText, language::kSetupSection);
  return p;
}

void ReadSetupTexts(package::ReadSource& source, package::OwnPackage& p) {
  package::ValidateImage(p.record, p.packageEnd);
  if (p.record.ReadmeSize() > 0) p.readme = package::ReadReadmeText(source, p.packageEnd, p.record);
  if (p.record.LicenseSize() > 0)
    p.license = package::ReadLicenseText(source, p.packageEnd, p.record);
}

}  // namespace app
