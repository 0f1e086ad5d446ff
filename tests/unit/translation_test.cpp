#include <gtest/gtest.h>

#include <string>

#include "language/translation.h"

namespace {

using language::FreeTranslation;
using language::LoadTranslation;
using language::ReplaceAll;
using language::Translate;

// The table is program-wide: every test starts and ends unloaded.
class TranslationTest : public ::testing::Test {
 protected:
  void SetUp() override { FreeTranslation(); }
  void TearDown() override { FreeTranslation(); }
};

struct LookupCase {
  const char* name;
  std::string languageText;
  std::string section;
  std::string english;
  std::string expected;
};

// Builds a std::string that may hold NUL bytes.
template <std::size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

const LookupCase kLookupCases[] = {
    {"PlainEntry", "Setup\r\nBack=Retour\r\n", "Setup", "Back", "Retour"},
    {"LoneLfEndsLines", "Setup\nBack=Retour\nCancel=Annuler", "Setup", "Cancel", "Annuler"},
    {"LoneCrEndsLines", "Setup\rBack=Retour\rCancel=Annuler\r", "Setup", "Cancel", "Annuler"},
    {"MixedBreaks", "Setup\r\nBack=Retour\rNext=Suivant\nCancel=Annuler", "Setup", "Next", "Suivant"},
    {"LastLineWithoutBreak", "Setup\r\nBack=Retour", "Setup", "Back", "Retour"},
    {"EntriesBeforeFirstHeaderIgnored", "Back=Avant\r\nSetup\r\nNext=Suivant", "Setup", "Back", "Back"},
    {"HeaderInOtherCapitals", "setup\r\nBack=Retour", "Setup", "Back", "Back"},
    {"HeaderInBrackets", "[Setup]\r\nBack=Retour", "Setup", "Back", "Back"},
    {"HeaderWithLeadingBlank", " Setup\r\nBack=Retour", "Setup", "Back", "Back"},
    {"HeaderWithTrailingBlank", "Setup \r\nBack=Retour", "Setup", "Back", "Back"},
    {"EmptyLineEndsSection", "Setup\r\n\r\nBack=Retour", "Setup", "Back", "Back"},
    {"EmptyLineBetweenLoneLfs", "Setup\n\nBack=Retour", "Setup", "Back", "Back"},
    {"EmptyLineBetweenLoneCrs", "Setup\r\rBack=Retour", "Setup", "Back", "Back"},
    {"CrLfIsOneBreakNotTwo", "Setup\r\nBack=Retour\r\nNext=Suivant", "Setup", "Next", "Suivant"},
    {"OtherSectionEndsSetup", "Setup\r\nBack=Retour\r\nOther\r\nNext=Suivant", "Setup", "Next", "Next"},
    {"SecondSetupSectionAlsoRead", "Setup\r\nBack=Retour\r\n\r\nSetup\r\nNext=Suivant", "Setup", "Next",
     "Suivant"},
    {"BlankBeforeEqualsInKey", "Setup\r\nBack =Retour", "Setup", "Back", "Back"},
    {"BlankAfterEqualsInValue", "Setup\r\nBack= Retour", "Setup", "Back", " Retour"},
    {"SecondEqualsInValue", "Setup\r\nBack=a=b", "Setup", "Back", "a=b"},
    {"EmptyKeyMatchesNothingUseful", "Setup\r\n=Rien\r\nBack=Retour", "Setup", "Back", "Retour"},
    {"FirstDuplicateWins", "Setup\r\nBack=Un\r\nBack=Deux", "Setup", "Back", "Un"},
    {"EmptyValueIsATranslation", "Setup\r\nBack=", "Setup", "Back", ""},
    {"ValueLineBreakMark", "Setup\r\nClick Finish to exit Setup.=Cliquez.#13Merci.", "Setup",
     "Click Finish to exit Setup.", "Cliquez.\r\nMerci."},
    {"KeyLineBreakMarkMatchesCrLf", "Setup\r\nOne#13Two=Un#13Deux", "Setup", "One\r\nTwo", "Un\r\nDeux"},
    {"KeyMarkDoesNotMatchLoneLf", "Setup\r\nOne#13Two=Un", "Setup", "One\nTwo", "One\nTwo"},
    {"MissReturnsEnglishNotKey", "Setup\r\nBack=Retour", "Setup", "One\r\nTwo", "One\r\nTwo"},
    {"CaseSensitiveKeys", "Setup\r\nback=Retour", "Setup", "Back", "Back"},
    {"AcceleratorIsPartOfKey", "Setup\r\nBrowse=Choisir\r\n&Browse=&Parcourir", "Setup", "&Browse",
     "&Parcourir"},
    {"NulEndsText", Bytes("Setup\r\nBack=Retour\0\r\nNext=Suivant"), "Setup", "Next", "Next"},
    {"NulInsideLineCutsValue", Bytes("Setup\r\nBack=Ret\0our"), "Setup", "Back", "Ret"},
    {"EmptySectionTakesEveryEntry", "Back=Retour\r\nOther\r\nNext=Suivant", "", "Back", "Retour"},
    {"EmptySectionTakesEntriesAfterHeaders", "Back=Retour\r\nOther\r\nNext=Suivant", "", "Next",
     "Suivant"},
    {"EmptyTextGivesEmptyTable", "", "Setup", "Back", "Back"},
    {"HighBytesComparedAsBytes", "Setup\r\n\xC9liminer=\xE9", "Setup", "\xC9liminer", "\xE9"},
    {"TranslatedPercentPatternKeptAsIs", "Setup\r\n%s has been successfully removed from your computer.=%s %n %%",
     "Setup", "%s has been successfully removed from your computer.", "%s %n %%"},
};

class TranslationLookupTest : public TranslationTest, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(TranslationLookupTest, TranslatesAsTheLanguageTextSays) {
  const LookupCase& c = GetParam();
  LoadTranslation(c.languageText, c.section);
  EXPECT_EQ(Translate(c.english), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, TranslationLookupTest, ::testing::ValuesIn(kLookupCases),
                         [](const ::testing::TestParamInfo<LookupCase>& info) { return info.param.name; });

TEST_F(TranslationTest, UnloadedTableReturnsEnglishBeforeLoadAndAfterFree) {
  EXPECT_EQ(Translate("Back"), "Back");
  LoadTranslation("Setup\r\nBack=Retour", "Setup");
  EXPECT_EQ(Translate("Back"), "Retour");
  FreeTranslation();
  EXPECT_EQ(Translate("Back"), "Back");
}

TEST_F(TranslationTest, SecondLoadReplacesTheEarlierTable) {
  LoadTranslation("Setup\r\nBack=Retour\r\nNext=Suivant", "Setup");
  LoadTranslation("Setup\r\nBack=Zurueck", "Setup");
  EXPECT_EQ(Translate("Back"), "Zurueck");
  EXPECT_EQ(Translate("Next"), "Next");
}

struct ReplaceCase {
  const char* name;
  std::string text, oldPart, newPart, expected;
};

const ReplaceCase kReplaceCases[] = {
    {"Every", "a#13b#13c", "#13", "\r\n", "a\r\nb\r\nc"},
    {"None", "abc", "x", "y", "abc"},
    {"AtBothEnds", "xax", "x", "yy", "yyayy"},
    {"Adjacent", "xxx", "x", "", ""},
    {"InsertedTextNotRescanned", "ab", "a", "aa", "aab"},
    {"NewPartFormsOldPartWithNeighbour", "aab", "ab", "b", "ab"},
    {"NonOverlappingLeftToRight", "aaa", "aa", "b", "ba"},
    {"CaseSensitive", "<windows>\\", "<Windows>", "C:\\W", "<windows>\\"},
    {"LongerThanText", "ab", "abc", "x", "ab"},
    {"EmptyText", "", "a", "b", ""},
    {"EmptyOldPartLeavesText", "abc", "", "x", "abc"},
};

class ReplaceAllTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceAllTest, ReplacesEveryOccurrenceOnce) {
  const ReplaceCase& c = GetParam();
  EXPECT_EQ(ReplaceAll(c.text, c.oldPart, c.newPart), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplaceAllTest, ::testing::ValuesIn(kReplaceCases),
                         [](const ::testing::TestParamInfo<ReplaceCase>& info) { return info.param.name; });

}  // namespace
