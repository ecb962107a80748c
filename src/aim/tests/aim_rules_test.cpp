#include "aim/core/aim_rules.h"

#include <gtest/gtest.h>

namespace iv::aim {
namespace {

TEST(ScreenNames, MatchRegardlessOfCaseAndBlanks) {
  EXPECT_EQ(NormalizeScreenName("  Joe Cool Dude "), "joecooldude");
  EXPECT_EQ(NormalizeScreenName("joecooldude"), NormalizeScreenName(" JOE COOL DUDE  "));
  EXPECT_EQ(NormalizeScreenName(""), "");

  const std::vector<std::string> users = {"", "Other", "Joe Cool", "joecool", "Some one"};
  // The apply operation takes the later of two entries that normalise alike.
  EXPECT_EQ(LastMatchingUser(users, "  JOECOOL "), 3u);
  EXPECT_EQ((MatchingUsers(users, "joe cool")), (std::vector<size_t>{2, 3}));
  EXPECT_EQ(LastMatchingUser(users, "nobody"), 0u);
  // Index 0 holds no user, even when it would match.
  EXPECT_EQ(LastMatchingUser({"joecool"}, "joecool"), 0u);
}

TEST(Versions, NumberFromText) {
  EXPECT_DOUBLE_EQ(VersionNumber("4.7"), 4.7);
  EXPECT_EQ(VersionNumber("4.7"), 4.7);  // exact, so the method threshold holds
  EXPECT_EQ(VersionNumber("5.9"), 5.9);
  EXPECT_EQ(VersionNumber("  5.9.3702"), 5.9);  // stops at the second dot
  EXPECT_EQ(VersionNumber("10.9b"), 10.9);
  EXPECT_EQ(VersionNumber("abc"), 0);
  EXPECT_EQ(VersionNumber(""), 0);
  EXPECT_EQ(VersionNumber(std::string_view("  ", 1)), 0);  // blanks to the end: nothing past it is read
  EXPECT_EQ(VersionNumber(".5"), 0.5);
}

TEST(Versions, KeepFullFlagCutsLastPart) {
  EXPECT_EQ(CutLastVersionPart("5.9.3702"), "5.9");
  EXPECT_EQ(CutLastVersionPart("4.7.2480"), "4.7");
  EXPECT_EQ(CutLastVersionPart("5.9"), "5");
  EXPECT_EQ(CutLastVersionPart("5"), std::nullopt);
  EXPECT_EQ(CutLastVersionPart(""), std::nullopt);
  EXPECT_EQ(VersionNumber(*CutLastVersionPart("4.7.2480")), 4.7);
}

TEST(Versions, MethodAndClickPointThresholds) {
  EXPECT_TRUE(UsesPreferencesMethod(VersionNumber("4.7")));
  EXPECT_FALSE(UsesPreferencesMethod(4.69));
  EXPECT_FALSE(UsesPreferencesMethod(0));  // AIM never seen: picture file
  EXPECT_TRUE(UsesPreferencesMethod(5.9));

  const ClickPoint newer = CategoryClickPoint(VersionNumber("5.0"));
  EXPECT_EQ(newer.x, 55);
  EXPECT_EQ(newer.y, 134);
  const ClickPoint older = CategoryClickPoint(4.9);
  EXPECT_EQ(older.x, 35);
  EXPECT_EQ(older.y, 102);
}

TEST(MakeLong, PacksSixteenBitHalves) {
  EXPECT_EQ(MakeLong(55, 134), 134 * 65536 + 55);
  EXPECT_EQ(MakeLong(0, 0), 0);
  EXPECT_EQ(MakeLong(0x1FFFF, 1), 65536 + 0xFFFF);  // low half taken as 16 bits
  EXPECT_EQ(MakeLong(-1, 0), 0xFFFF);
  EXPECT_EQ(MakeLong(0, 0x8000), static_cast<int32_t>(0x80000000u));
}

TEST(Attributes, KindFromBits) {
  EXPECT_EQ(AttrKind(0), 0);
  EXPECT_EQ(AttrKind(0x80), 0);        // normal
  EXPECT_EQ(AttrKind(0x20 | 1), 1);    // archive and read-only
  EXPECT_EQ(AttrKind(2 | 1), 2);       // hidden wins
  EXPECT_EQ(AttrKind(4 | 0x800), 0);   // system, compressed
}

TEST(Texts, QuestionUserNamesAndPaths) {
  EXPECT_TRUE(IsBuddyIconQuestion("Do you want to set your Buddy Icon?"));
  EXPECT_FALSE(IsBuddyIconQuestion("Do you want to set your buddy icon?"));
  EXPECT_FALSE(IsUserValueName("<default>"));
  EXPECT_FALSE(IsUserValueName("a<b"));
  EXPECT_TRUE(IsUserValueName("Joe Cool"));

  EXPECT_EQ(PictureIdPath("C:\\AIM", "joe"), "C:\\AIM\\joe\\picture.id");
  EXPECT_EQ(CompleteIconPath("D:\\x.gif", "C:\\p"), "D:\\x.gif");
  EXPECT_EQ(CompleteIconPath("Icon Library\\a\\x.gif", "C:\\p"), "C:\\p\\Icon Library\\a\\x.gif");
  EXPECT_EQ(CompleteIconPath("\\x.gif", "C:\\p"), "C:\\p\\x.gif");
}

}  // namespace
}  // namespace iv::aim
