// Damaged and odd setup files and uninstallers as they turn up in the wild: cut-off downloads,
// size fields that point anywhere, signatures in the wrong place, a wrong record marker. Each is
// run through the whole start-up against the fakes, interactively and unattended, and must end in
// exactly one of two ways: the file is accepted and works, or it is refused as corrupted with
// nothing touched.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "start_up_rig.h"

namespace {

using rig::WizardRig;

constexpr char kCorrupted[] = "The file is corrupted. Setup can not continue.";
constexpr char kInstalledSaver[] = "C:\\Program Files\\Stars\\stars.scr";
constexpr std::size_t kTrailer = 942;

enum class Kind { kSetup, kUninstaller };

// Image, readme, licence and language, each of a size of its own, so that a cut or a size
// that is off lands in a known section.
support::SetupContents FullContents() {
  support::SetupContents c = support::StarsContents();
  c.image = "MZ" + std::string(4998, 'I');  // a program file, stored as it stands
  c.coded = false;
  c.readme = std::string(300, 'R');
  c.license = std::string(200, 'L');
  c.language = "Setup\r\nNext=Suivant\r\n";
  return c;
}

std::string FileOf(Kind kind) {
  const std::string setup = rig::SetupFile(FullContents());
  return kind == Kind::kSetup ? setup : rig::AsUninstaller(setup);
}

void SetInt32At(std::string& file, std::size_t position, int32_t value) {
  for (int i = 0; i < 4; ++i) file[position + i] = static_cast<char>((uint32_t(value) >> (8 * i)) & 0xFF);
}

// What one start of the program did.
struct Outcome {
  int corruptedBoxes = 0;
  int otherBoxes = 0;
  bool askedToUninstall = false;
  bool ended = false;  // without the wizard
  int exitCode = -1;
  bool saverWritten = false;
  int deletions = 0;
  int foldersCreated = 0;
  int ownFileHandlesLeft = 0;
};

Outcome Start(const std::string& file, bool silent) {
  WizardRig rig;
  rig.PutOwnFile(file);
  rig.fake.system.defaultYesNoAnswer = os::kIdNo;
  const std::vector<std::string> arguments = silent ? std::vector<std::string>{"-silent"} : std::vector<std::string>{};
  rig.Run(arguments);
  Outcome o;
  for (const fake::Message& m : rig.fake.system.Messages()) {
    if (m.text == kCorrupted) {
      ++o.corruptedBoxes;
      EXPECT_EQ(m.caption, "Screensaver Setup");
      EXPECT_EQ(m.flags, 0x10u);
    } else if (m.flags & os::kMbYesNo) {
      o.askedToUninstall = true;
    } else {
      ++o.otherBoxes;
    }
  }
  o.ended = !rig.wizard;
  o.exitCode = rig.exitCode;
  o.saverWritten = rig.fake.files.HasFile(kInstalledSaver);
  o.deletions = rig.fake.log.Count("DeleteFile");
  o.foldersCreated = rig.fake.log.Count("CreateFolder");
  o.ownFileHandlesLeft = rig.fake.files.OpenHandles(rig::kSetupPath);
  return o;
}

// Refused: one box (none when unattended), exit code 1, the program ends, nothing is
// created or removed and no uninstall question comes up.
void ExpectRefused(const std::string& file, const std::string& name) {
  for (const bool silent : {false, true}) {
    SCOPED_TRACE(name + (silent ? " (silent)" : " (interactive)"));
    const Outcome o = Start(file, silent);
    EXPECT_EQ(o.corruptedBoxes, silent ? 0 : 1);
    EXPECT_EQ(o.otherBoxes, 0);
    EXPECT_FALSE(o.askedToUninstall);
    EXPECT_TRUE(o.ended);
    EXPECT_EQ(o.exitCode, app::kExitUnreadable);
    EXPECT_FALSE(o.saverWritten);
    EXPECT_EQ(o.deletions, 0);
    EXPECT_EQ(o.foldersCreated, 0);
    EXPECT_EQ(o.ownFileHandlesLeft, 0);
  }
}

// Accepted: a setup file installs unattended; an uninstaller asks its question.
void ExpectAccepted(const std::string& file, Kind kind, const std::string& name) {
  SCOPED_TRACE(name);
  const Outcome o = Start(file, kind == Kind::kSetup);
  EXPECT_EQ(o.corruptedBoxes, 0);
  EXPECT_EQ(o.otherBoxes, 0);
  if (kind == Kind::kSetup) {
    EXPECT_TRUE(o.saverWritten);
    EXPECT_EQ(o.exitCode, app::kExitDone);
  } else {
    EXPECT_TRUE(o.askedToUninstall);
    EXPECT_EQ(o.exitCode, app::kExitStoppedUnchanged);  // answered No
  }
}

TEST(MalformedPackage, DownloadCutOffAnywhereIsRefused) {
  // Offsets counted back from the end of the complete file, per section.
  const std::size_t language = FullContents().language.size();
  struct Cut {
    const char* name;
    std::size_t missing;  // bytes cut from the end
  };
  const Cut cuts[] = {
      {"one byte of the signature", 1},
      {"all but one byte of the signature", 9},
      {"the whole signature", 10},
      {"into the last byte of the record", 11},
      {"into the middle of the record", 10 + 466},
      {"to the first byte of the record", kTrailer - 1},
      {"to the end of the texts", kTrailer},
      {"into the language text", kTrailer + language / 2},
      {"into the licence", kTrailer + language + 100},
      {"into the readme", kTrailer + language + 200 + 150},
      {"into the image", kTrailer + language + 500 + 2500},
      {"to the end of the stub", kTrailer + language + 500 + 5000},
  };
  for (const Kind kind : {Kind::kSetup, Kind::kUninstaller}) {
    const std::string whole = FileOf(kind);
    for (const Cut& cut : cuts) {
      ExpectRefused(whole.substr(0, whole.size() - cut.missing),
                    std::string(cut.name) + (kind == Kind::kSetup ? " of a setup file" : " of an uninstaller"));
    }
  }
}

TEST(MalformedPackage, EverySizeFieldOutOfRange) {
  const support::SetupContents c = FullContents();
  const auto size = static_cast<int32_t>(FileOf(Kind::kSetup).size());
  const auto recordAt = size - static_cast<int32_t>(kTrailer);
  const auto readme = static_cast<int32_t>(c.readme.size());
  const auto license = static_cast<int32_t>(c.license.size());
  const auto language = static_cast<int32_t>(c.language.size());
  const int32_t textsAt = recordAt - readme - license - language;
  const auto image = static_cast<int32_t>(c.image.size());
  struct Field {
    const char* name;
    std::size_t offset;
    // The largest value with which every section still lies inside the package, the others kept.
    int32_t largestInSetup;
    int32_t largestInUninstaller;  // INT_MAX: not looked at
  };
  const Field fields[] = {
      {"PackageSize", 0, size, INT_MAX},
      // In a setup file the texts cannot reach into the stub: the image would be shorter than 0.
      {"TextsSize", 400, readme + license + language + image, recordAt},
      {"ReadmeSize", 404, size - textsAt - license - language, size - textsAt - license - language},
      {"LicenseSize", 408, size - textsAt - readme - language, size - textsAt - readme - language},
      {"LanguageSize", 412, size - textsAt - readme - license, size - textsAt - readme - license},
  };
  for (const Kind kind : {Kind::kSetup, Kind::kUninstaller}) {
    const std::string good = FileOf(kind);
    for (const Field& f : fields) {
      const std::string where =
          std::string(f.name) + (kind == Kind::kSetup ? " in a setup file" : " in an uninstaller");
      auto with = [&](int32_t value) {
        std::string file = good;
        SetInt32At(file, good.size() - kTrailer + f.offset, value);
        return file;
      };
      const int32_t largest = kind == Kind::kSetup ? f.largestInSetup : f.largestInUninstaller;
      for (const int64_t bad : {int64_t(-1), int64_t(INT_MIN), int64_t(largest) + 1, int64_t(INT_MAX)}) {
        if (bad > INT_MAX) continue;
        const std::string name = where + " = " + std::to_string(bad);
        if (largest == INT_MAX) {
          // An uninstaller carries the setup file's PackageSize and never looks at it.
          ExpectAccepted(with(static_cast<int32_t>(bad)), kind, name);
        } else {
          ExpectRefused(with(static_cast<int32_t>(bad)), name);
        }
      }
      // The boundary itself is accepted, so the check is not off by one. (The sections then
      // overlap others; the sizes are trusted as far as the bytes can be read.)
      if (largest != INT_MAX) ExpectAccepted(with(largest), kind, where + " at its largest");
    }
  }
}

TEST(MalformedPackage, SignatureThatIsNotAtTheEnd) {
  const std::string setup = FileOf(Kind::kSetup);
  const std::string stub(rig::kStub, sizeof rig::kStub - 1);
  // Signed as a signing tool signs: the table behind the package, which its hash does not cover.
  const std::string table = std::string("\x30\0\0\0\0\x02\x02\0", 8) + std::string(40, 'T');
  const std::string signedSetup =
      support::SignedLikeATool(support::AssembleSetupFile(support::PeStub(), FullContents()), table);
  support::SetupContents other = FullContents();
  other.image = std::string(4000, 'X');
  const std::string forged = support::AssembleSetupFile("", other);
  struct Case {
    const char* name;
    std::string file;
    bool accepted;
  };
  const Case cases[] = {
      // A valid package with something behind it: the package is found and installs.
      {"package followed by plain data", setup + std::string(100000, 'T'), true},
      {"package followed by a cut signature", setup + "xxZUZOri.si", true},
      {"package followed by the signature's tail", setup + "UZOri.sigUZOri.sig", true},
      // The only signature sits in the middle, with garbage in front that is no record.
      {"garbage of letters", stub + std::string(3000, 'x') + "ZUZOri.sig" + std::string(2000, 'y'), false},
      {"garbage of zeros", stub + std::string(3000, '\0') + "ZUZOri.sig" + std::string(2000, 'y'), false},
      {"garbage of 0xFF", stub + std::string(3000, '\xFF') + "ZUZOri.sig" + std::string(2000, 'y'), false},
      {"less than a record in front", stub + std::string(100, 'x') + "ZUZOri.sig" + std::string(2000, 'y'), false},
      {"uninstaller signature in the middle", stub + std::string(3000, 'x') + "ScUnin.sig" + std::string(50, 'y'),
       false},
      // Data behind a valid package that itself ends in a signature is taken as the package,
      // and what lies in front of it is no record.
      {"appended data ending in a signature", setup + std::string(3000, 'z') + "ScUnin.sig", false},
      // A signed file's package is the one in front of its certificate table, and a marker in the
      // table or behind it means someone put a package where the signature does not look.
      {"signed", signedSetup, true},
      {"a package forged in the certificate table", support::ForgedInCertificateTable(signedSetup, forged), false},
      {"an uninstaller forged in the certificate table",
       support::ForgedInCertificateTable(signedSetup, rig::AsUninstaller(forged)), false},
      {"a package forged behind the certificate table", signedSetup + forged, false},
      {"a package only in the certificate table",
       support::SignedLikeATool(support::PeStub(), table + forged), false},
  };
  for (const Case& c : cases) {
    if (c.accepted) {
      ExpectAccepted(c.file, Kind::kSetup, c.name);
    } else {
      ExpectRefused(c.file, c.name);
    }
  }
}

TEST(MalformedPackage, RecordMarkerMattersOnlyToTheUninstaller) {
  constexpr std::size_t kMarker = 920;
  struct Case {
    const char* name;
    std::string marker;  // the 11 bytes of the field
    char padding;        // the byte behind it
    bool valid;
  };
  const Case cases[] = {
      {"the marker", std::string("SCRSet.sig\0", 11), '\0', true},
      {"the marker with a non-zero padding byte", std::string("SCRSet.sig\0", 11), '\x7F', true},
      {"no NUL behind the marker", "SCRSet.sigX", '\0', false},
      {"another case", std::string("scrset.sig\0", 11), '\0', false},
      {"empty", std::string(11, '\0'), '\0', false},
      {"cut short", std::string("SCRSet.si\0\0", 11), '\0', false},
      {"garbage", std::string(11, '\xFF'), '\xFF', false},
  };
  for (const Case& c : cases) {
    for (const Kind kind : {Kind::kSetup, Kind::kUninstaller}) {
      std::string file = FileOf(kind);
      const std::size_t at = file.size() - kTrailer + kMarker;
      file.replace(at, 11, c.marker);
      file[at + 11] = c.padding;
      const std::string name = std::string(c.name) + (kind == Kind::kSetup ? " in a setup file" : " in an uninstaller");
      // A setup file installs whatever its marker says.
      if (kind == Kind::kSetup || c.valid) {
        ExpectAccepted(file, kind, name);
      } else {
        ExpectRefused(file, name);
      }
    }
  }
}

// A setup file whose record says it carries an extension block is refused without a usable one:
// installed without it, it would lose the author's choices and its checksums. The uninstaller
// carries the record, flag and all, but never a block; files from other builders have neither.
TEST(MalformedPackage, TheBlockTheRecordAnnouncesMustBeThere) {
  support::SetupContents withBlock = FullContents();
  package::ExtensionBlock block;
  block.shellInstall = false;
  block.publisher = "Stars Ltd";
  withBlock.extension = block;
  const std::string flagged = rig::SetupFile(withBlock);
  const std::size_t end = flagged.rfind("ZUZOri.sig") + 10;
  const std::string plain = FileOf(Kind::kSetup);
  const auto changed = [](std::string file, std::size_t at, char mask) {
    file[at] = char(file[at] ^ mask);
    return file;
  };
  const std::string unflagged = changed(flagged, end - kTrailer + 416, 0x01);
  // An uninstaller that carries its signature, as a signed build installs it.
  const std::string onPeStub = support::AssembleSetupFile(support::PeStub(), withBlock);
  const std::string signedUninstaller = support::SignedLikeATool(
      rig::AsUninstaller(onPeStub.substr(0, onPeStub.rfind("ZUZOri.sig") + 10)), std::string(24, 'T'));
  struct Case {
    const char* name;
    std::string file;
    Kind kind;
    bool accepted;
  };
  const Case cases[] = {
      {"intact", flagged, Kind::kSetup, true},
      {"the block missing", flagged.substr(0, end), Kind::kSetup, false},
      // Each way a block can be damaged is a row of ExtensionBlock.ADamagedOrForeignBlockIsIgnored.
      {"a byte of the block's contents", changed(flagged, end + 30, 0x20), Kind::kSetup, false},
      {"the flag cleared, the block intact", unflagged, Kind::kSetup, false},  // the record's checksum
      {"no flag, no block: another builder's file", plain, Kind::kSetup, true},
      {"no flag, a damaged block: an earlier scrpack's file", changed(plain + flagged.substr(end), plain.size() + 30, 0x20),
       Kind::kSetup, true},
      {"the uninstaller, flag and no block", rig::AsUninstaller(flagged.substr(0, end)), Kind::kUninstaller, true},
      {"the uninstaller with its signature behind", signedUninstaller, Kind::kUninstaller, true},
  };
  for (const Case& c : cases) {
    if (c.accepted) {
      ExpectAccepted(c.file, c.kind, c.name);
    } else {
      ExpectRefused(c.file, c.name);
    }
  }
}

}  // namespace
