#include "fileinfo/core/file_text.h"

#include <gtest/gtest.h>

namespace iv::fileinfo {
namespace {

TEST(FormatSize, Boundaries) {
  EXPECT_EQ(FormatSize(-1), "0.0KB (0 bytes)");
  EXPECT_EQ(FormatSize(0), "0 bytes");
  EXPECT_EQ(FormatSize(1023), "1,023 bytes");
  EXPECT_EQ(FormatSize(1024), "1.00KB (1,024 bytes)");
  EXPECT_EQ(FormatSize(1536), "1.50KB (1,536 bytes)");
  EXPECT_EQ(FormatSize(10239), "10.00KB (10,239 bytes)");  // still k below 10
  EXPECT_EQ(FormatSize(10240), "10.0KB (10,240 bytes)");
  EXPECT_EQ(FormatSize(1023999), "1000.0KB (1,023,999 bytes)");
  EXPECT_EQ(FormatSize(1024000), "0.98MB (1,024,000 bytes)");
  EXPECT_EQ(FormatSize(1048576), "1.00MB (1,048,576 bytes)");
  EXPECT_EQ(FormatSize(10000 * 1024), "9.8MB (10,240,000 bytes)");  // one decimal from 10,000 KB on
  EXPECT_EQ(FormatSize(10240 * 1024), "10.0MB (10,485,760 bytes)");
  EXPECT_EQ(FormatSize(11272192), "10.8MB (11,272,192 bytes)");  // exactly 10.75 MB
  EXPECT_EQ(FormatSize(1024000 * 1024), "0.98GB (1,048,576,000 bytes)");
  EXPECT_EQ(FormatSize(2147483647), "2.00GB (2,147,483,647 bytes)");
  EXPECT_EQ(FormatSize(2142114938), "1.99GB (2,142,114,938 bytes)");  // a hair under 1.995 x 2^30
}

TEST(FormatSize, Grouping) {
  EXPECT_EQ(GroupThousands(999), "999");
  EXPECT_EQ(GroupThousands(1000), "1,000");
  EXPECT_EQ(GroupThousands(123456789), "123,456,789");
  EXPECT_EQ(GroupThousands(-1234), "-1,234");
}

TEST(VersionParts, FromFileVersion) {
  VersionParts v = SplitVersion("5.9.3702");
  EXPECT_EQ(v.major, 5);
  EXPECT_EQ(v.minor, 9);
  EXPECT_EQ(v.rev, 3702.0f);

  v = SplitVersion("1, 2, 3, 4");
  EXPECT_EQ(v.major, 1);
  EXPECT_EQ(v.minor, 2);
  EXPECT_EQ(v.rev, 4.0f);

  v = SplitVersion("");
  EXPECT_EQ(v.major, 0);
  EXPECT_EQ(v.rev, 0.0f);

  v = SplitVersion("42");  // no separator: all of it is the revision
  EXPECT_EQ(v.major, 0);
  EXPECT_EQ(v.minor, 0);
  EXPECT_EQ(v.rev, 42.0f);

  v = SplitVersion("70000.1.2");  // too large for 16 bits
  EXPECT_EQ(v.major, 0);
  EXPECT_EQ(v.minor, 1);

  EXPECT_EQ(NumberText(3702), "3702");
  EXPECT_EQ(NumberText(1.5), "1.5");
  EXPECT_EQ(NumberText(0), "0");
}

TEST(Names, PathsExtensionsAndTypes) {
  EXPECT_EQ(StripFileFromPath("C:\\A\\LONGFI~1.TXT"), "LONGFI~1.TXT");
  EXPECT_EQ(StripFileFromPath("plain"), "plain");
  EXPECT_EQ(StripFileFromPath(""), "");
  EXPECT_EQ(StripFileExtention("A.B.GIF"), "GIF");
  EXPECT_EQ(StripFileExtention("NOEXT"), "");

  EXPECT_EQ(TypeNameFromField(std::string("GIF Image\0junk", 14), "gif"), "GIF Image");
  EXPECT_EQ(TypeNameFromField(std::string("\0junk", 5), "xyz"), "XYZ File");
  EXPECT_EQ(TypeNameFromField("   ", "xyz"), "XYZ File");
  EXPECT_EQ(TypeNameFromField("", ""), "File");
}

TEST(VersionResource, TablesAndTranslation) {
  EXPECT_EQ(TargetOsText(0x40004), "Win32 API on Windows NT");
  EXPECT_EQ(TargetOsText(0x10000), "MS-DOS");
  EXPECT_EQ(TargetOsText(0), "Undefined or Unknown");
  EXPECT_EQ(TargetOsText(0x40005), "Undefined or Unknown");

  const uint8_t us[4] = {0x09, 0x04, 0xB0, 0x04};  // 0x0409, code page 1200
  EXPECT_EQ(StringTablePrefix(us), "\\StringFileInfo\\040904B0\\");
  EXPECT_EQ(TranslationLanguage(us), 0x0409);
}

TEST(StripDateTime, ShortensLongForms) {
  const char* full = "Sunday, December 6, 2026 3:48:49 PM";
  EXPECT_EQ(Strip_DateTime(full), "12/6/26 3:48:49 PM");
  EXPECT_EQ(Strip_DateTime(full, true, false, true), "12/6/2026");
  EXPECT_EQ(Strip_DateTime(full, false, true), "3:48:49 PM");
  EXPECT_EQ(Strip_DateTime("monday, january 5, 30 10:02:03 am", false, false, true), "1/5/1930 10:02:03 AM");
  EXPECT_EQ(Strip_DateTime("3/4/29 23:05", false, false, true), "3/4/2029 23:05:00");
  EXPECT_EQ(Strip_DateTime("3/4/100", true, false, true), "3/4/100");  // only two-digit years get a century
  EXPECT_EQ(Strip_DateTime(""), "");
  // Only the view is read: a colon after its end makes nothing a time.
  EXPECT_EQ(Strip_DateTime(std::string_view("3/4/05 10:02 7:", 14), false, false, true), "3/4/2005 10:02:00");
}

}  // namespace
}  // namespace iv::fileinfo
