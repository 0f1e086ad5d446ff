// Names, message texts and progress values the installation derives.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "install/install_progress.h"
#include "integration/uninstaller_name.h"
#include "language/message_format.h"

namespace install {
namespace {

using integration::ReplaceExtension;
using integration::UninstallerName;

TEST(InstallNames, UninstallerNameLowersAsciiLettersOnlyAndForcesExe) {
  struct Case {
    std::string uninstall, target, expected;
  };
  const Case cases[] = {
      {"Uninstall", "stars.scr", "uninstall stars.exe"},
      {"Uninstall", "stars", "uninstall stars.exe"},
      {"Uninstall", "STARS.SCR", "uninstall STARS.exe"},  // only the word is lowered
      {"Uninstall", "my.best.scr", "uninstall my.best.exe"},
      // "\xC9LIMINER" is "ÉLIMINER" in the ANSI code page: the capital E acute keeps its case.
      {"\xC9LIMINER", "stars.scr", "\xC9liminer stars.exe"},
      {"D\xC9SINSTALLER", "Stars.scr", "d\xC9sinstaller Stars.exe"},
      // A dot in the word itself is no extension while the file name adds one of its own...
      {"Un.install", "stars.scr", "un.install stars.exe"},
      // ...but is the extension of the whole text when the file name has none.
      {"Un.install", "stars", "un.exe"},
      {"Uninstall", "", "uninstall .exe"},
      {"Uninstall", ".scr", "uninstall .exe"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(UninstallerName(c.uninstall, c.target), c.expected) << c.uninstall << " + " << c.target;
}

TEST(InstallNames, ExtensionStartsAfterTheLastBackslashOrColon) {
  struct Case {
    std::string text, expected;
  };
  const Case cases[] = {
      {"a.b\\c", "a.b\\c.exe"},
      {"a.b:c", "a.b:c.exe"},
      {"a\\b.c", "a\\b.exe"},
      {"a.", "a.exe"},
      {"", ".exe"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReplaceExtension(c.text, ".exe"), c.expected) << c.text;
}

TEST(InstallFormat, FirstPercentSTakesTheArgumentAndNothingElseIsAFormat) {
  struct Case {
    std::string pattern, argument, expected;
  };
  const Case cases[] = {
      {"There was an error installing %s. Installation is not complete.", "Stars",
       "There was an error installing Stars. Installation is not complete."},
      {"%s", "x", "x"},
      {"no placeholder", "x", "no placeholder"},
      {"100%% sure: %s", "x", "100% sure: x"},
      {"%s and %s", "x", "x and %s"},
      {"%d %n %p %x %s", "x", "%d %n %p %x x"},
      {"%s%s%n", "x", "x%s%n"},
      {"ends in %", "x", "ends in %"},
      {"%", "x", "%"},
      {"", "x", ""},
      // The argument is never scanned for placeholders itself.
      {"[%s]", "%s%n%%", "[%s%n%%]"},
  };
  for (const Case& c : cases) EXPECT_EQ(language::FormatMessageText(c.pattern, c.argument), c.expected) << c.pattern;
}

TEST(InstallProgress, RoundsHalvesToEvenWithExactProducts) {
  struct Case {
    int64_t position, size;
    int expected;
  };
  const Case cases[] = {
      {125, 1000, 12},  // 12.5
      {135, 1000, 14},  // 13.5
      {1, 8, 12},       // 12.5 from a binary fraction
      {5, 200, 2},      // 2.5
      {7, 200, 4},      // 3.5
      {126, 1000, 13},
      {124, 1000, 12},
      {500001, 1000000, 50},
      {600002, 1000000, 60},
      {700000, 1000000, 70},
      {0, 1000, 0},
      {1000, 1000, 100},
      {0, 0, 0},
      {5, -1, 0},
      // Positions beyond 2 GB: the product still fits 64 bits and stays exact.
      {int64_t(3) << 32, int64_t(6) << 32, 50},
      {int64_t(1) << 38, int64_t(1) << 41, 12},             // 12.5
      {int64_t(27) << 35, int64_t(200) << 35, 14},          // 13.5
  };
  for (const Case& c : cases)
    EXPECT_EQ(ProgressPercent(c.position, c.size), c.expected) << c.position << " / " << c.size;
}

}  // namespace
}  // namespace install
