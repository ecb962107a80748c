#include "library/core/safety.h"

#include <gtest/gtest.h>

namespace iv::library {

TEST(IsSafeName, AcceptsOrdinaryCategoryAndIconNames) {
  for (const char* ok : {"Cats", "Big Dogs", "a.gif", ".hidden", "Con Air", "COM10", "Lpt", "Café", "x.y.gif",
                         "console.gif", "com10.gif"})
    EXPECT_TRUE(IsSafeName(ok)) << ok;
}

TEST(IsSafeName, RejectsNamesThatCouldLeaveTheFolder) {
  for (const char* bad : {"", ".", "..", "  ..  ", "   ", "..\\x", "a\\b", "a/b", "\\\\srv", "C:", "c:x", " lead",
                          "trail "})
    EXPECT_FALSE(IsSafeName(bad)) << bad;
}

TEST(IsSafeName, RejectsNamesTheFileSystemWouldRewrite) {
  for (const char* bad : {"Cats.", "Cats ", "a*", "a?", "a\"b", "a<b", "a>b", "a|b", "tab\there", "cat.gif\r", "CON",
                          "con.gif", "aux.txt", "prn", "Nul .txt", "com1", "LPT9.gif", "CONOUT$", "conin$"})
    EXPECT_FALSE(IsSafeName(bad)) << bad;
  EXPECT_FALSE(IsSafeName(std::string("a\0b", 3)));
}

TEST(IsSafeName, RejectsDeviceNamesWithSuperscriptDigits) {
  for (const char* bad : {"COM\xC2\xB9", "com\xC2\xB2.gif", "LPT\xC2\xB3", "lpt\xC2\xB9 .gif"})
    EXPECT_FALSE(IsSafeName(bad)) << bad;
  for (const char* ok : {"COM\xC2\xB9x", "LPT\xE2\x81\xB4", "COM\xC2\xB9\xC2\xB9"}) EXPECT_TRUE(IsSafeName(ok)) << ok;
}

TEST(IsSafeName, RejectsTextThatIsNotUtf8) {
  for (const char* bad : {"Caf\xE9", "\xC3", "a\xC0\xAF", "\xED\xA0\x80x"}) EXPECT_FALSE(IsSafeName(bad)) << bad;
}

TEST(IsDirectChild, OnlyOneComponentBelowTheParent) {
  EXPECT_TRUE(IsDirectChild("C:\\P\\Icon Library", "C:\\P\\Icon Library\\Cats"));
  EXPECT_TRUE(IsDirectChild("C:\\P\\Icon Library\\", "c:\\p\\icon library\\Cats"));
  EXPECT_FALSE(IsDirectChild("C:\\P\\Icon Library", "C:\\P\\Icon Library"));
  EXPECT_FALSE(IsDirectChild("C:\\P\\Icon Library", "C:\\P\\Icon Library\\"));
  EXPECT_FALSE(IsDirectChild("C:\\P\\Icon Library", "C:\\P\\Icon Library\\Cats\\a.gif"));
  EXPECT_FALSE(IsDirectChild("C:\\P\\Icon Library", "C:\\P\\Icon LibraryX\\Cats"));
  EXPECT_FALSE(IsDirectChild("C:\\P\\Icon Library", "C:\\P"));
  EXPECT_FALSE(IsDirectChild("C:\\P\\Icon Library", "C:\\Q\\Icon Library\\Cats"));
  // Only the view is looked at, never the text after it.
  EXPECT_FALSE(IsDirectChild("C:\\P", std::string_view("C:\\P\\x", 4)));
  EXPECT_FALSE(IsDirectChild("", "\\Cats"));
}

}  // namespace iv::library
