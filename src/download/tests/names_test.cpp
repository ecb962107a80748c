#include "download/core/names.h"

#include <gtest/gtest.h>

namespace iv::download {

TEST(SafeEntry, NeedsTwoSafeParts) {
  EXPECT_TRUE(IsSafeEntry("Funny Cats\\cat.gif"));
  EXPECT_FALSE(IsSafeEntry("cat.gif"));
  EXPECT_FALSE(IsSafeEntry("..\\cat.gif"));
  EXPECT_FALSE(IsSafeEntry("Cats\\..\\..\\x.gif"));
  EXPECT_FALSE(IsSafeEntry("\\cat.gif"));
  // Each part is checked whole: a device name or a blank at either end of the file.
  EXPECT_FALSE(IsSafeEntry("Cats\\con.gif"));
  EXPECT_FALSE(IsSafeEntry("Cats\\ x.gif"));
  EXPECT_FALSE(IsSafeEntry("Cats \\x.gif"));
}

TEST(IconName, OnlyGifFilesAreIcons) {
  for (const char* name : {"cat.gif", "CAT.GIF", "a b.Gif", "x.y.gif"}) EXPECT_TRUE(IsIconName(name)) << name;
  for (const char* name : {"run.hta", "desktop.ini", "x.js", "cat.gif.js", "gif", "catgif", "cat.gif.", "nul.gif",
                           "a\\b.gif", "COM\xC2\xB9.gif", ""})
    EXPECT_FALSE(IsIconName(name)) << name;
}

TEST(Replies, GifSignatureAndTrailerAreRequired) {
  EXPECT_TRUE(IsGif(std::string("GIF89a\x01\x00;", 9)));
  EXPECT_TRUE(IsGif("GIF87a;"));
  // Cut short by a closed connection: the trailer is missing.
  EXPECT_FALSE(IsGif(std::string("GIF89a\x01\x00", 8)));
  EXPECT_FALSE(IsGif("GIF87a"));
  EXPECT_FALSE(IsGif("GIF8;"));
  EXPECT_FALSE(IsGif("<html>404</html>"));
  EXPECT_FALSE(IsGif(""));
  EXPECT_FALSE(IsGif("gif89a"));
}

TEST(Replies, EmptyOrHtmlInAnyCaseIsAServerFailure) {
  EXPECT_TRUE(IsServerFailure(""));
  EXPECT_TRUE(IsServerFailure("<HTML><body>Error</body>"));
  EXPECT_TRUE(IsServerFailure("[Cats]\n<Html>\n"));
  EXPECT_FALSE(IsServerFailure("Animals\r\nCats\r\n"));
  EXPECT_FALSE(IsServerFailure("<html >"));
}

}  // namespace iv::download
