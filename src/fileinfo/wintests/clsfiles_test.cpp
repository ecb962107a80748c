#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "e2e/support/driver.h"
#include "fileinfo/win/clsFiles.h"

namespace iv::fileinfo {
namespace {

using e2e::TempDir;

std::wstring WriteFile(const TempDir& dir, const std::wstring& name, size_t bytes) {
  e2e::WriteAll(dir / name, std::string(bytes, 'x'));
  return dir / name;
}

TEST(clsFiles, NamesSizesDatesAndAttributesOfALongNameAndAMissingFile) {
  TempDir dir;
  const std::wstring path = WriteFile(dir, L"A rather long file name.textfile", 1536);
  std::wstring notice;
  clsFiles info([&](const std::wstring& p) { notice = p; });
  ASSERT_TRUE(info.SetFilePath(path));
  EXPECT_TRUE(notice.empty());
  EXPECT_EQ(info.FilePath(), path);
  EXPECT_EQ(info.fName32bit(), L"A rather long file name.textfile");
  const std::wstring shortName = info.fName16bit();
  ASSERT_FALSE(shortName.empty());
  EXPECT_LE(shortName.size(), 12u);
  EXPECT_EQ(shortName, std::wstring(CharUpperW(std::wstring(shortName).data())));
  EXPECT_EQ(info.fLocation() + shortName, info.fPath16bit());
  EXPECT_EQ(info.fLocation().back(), L'\\');
  EXPECT_EQ(info.fSize(), 1536);
  EXPECT_EQ(info.fSizeFormated(), L"1.50KB (1,536 bytes)");
  EXPECT_EQ(info.fSizeCompressedFormated(), L"Not Compressed");
  EXPECT_FALSE(info.fDateModified().empty());
  EXPECT_TRUE(info.fATTR_Archive() || info.fATTR_Normal());
  EXPECT_TRUE(info.fProductVersion().empty());  // a text file has no version resource

  // Attribute writes keep the others.
  ASSERT_TRUE(info.SetAttribute(FILE_ATTRIBUTE_HIDDEN, true));
  ASSERT_TRUE(info.SetAttribute(FILE_ATTRIBUTE_READONLY, true));
  DWORD attrs = GetFileAttributesW(path.c_str());
  EXPECT_TRUE(attrs & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(attrs & FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(info.fATTR_Normal());
  ASSERT_TRUE(info.SetAttribute(FILE_ATTRIBUTE_HIDDEN, false));
  ASSERT_TRUE(info.SetAttribute(FILE_ATTRIBUTE_READONLY, false));
  ASSERT_TRUE(info.SetAttribute(FILE_ATTRIBUTE_ARCHIVE, false));
  attrs = GetFileAttributesW(path.c_str());
  EXPECT_FALSE(attrs & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));

  // A missing file is reported, and the object keeps the file it had.
  const std::wstring missing = dir.path() + L"\\not here.txt";
  EXPECT_FALSE(info.SetFilePath(missing));
  EXPECT_EQ(notice, missing + L"\r\rThis file does not exist.  Can not get it's information.");
  EXPECT_EQ(info.FilePath(), path);
  EXPECT_EQ(info.fSize(), 1536);
  notice.clear();
  EXPECT_EQ(info.ConvertLong2Short(missing), L"");
  EXPECT_EQ(notice, missing + L"\r\rCould not find this file to convert to 16bit file name.");
}

TEST(clsFiles, VersionResourceOfASystemLibrary) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  clsFiles info([](const std::wstring&) {});
  ASSERT_TRUE(info.SetFilePath(std::wstring(system) + L"\\kernel32.dll"));
  EXPECT_FALSE(info.fProductVersion().empty());
  EXPECT_FALSE(info.fVersion().empty());
  EXPECT_EQ(info.fVersion_Major(), std::to_wstring(_wtoi(info.fVersion().c_str())));
  EXPECT_FALSE(info.fTargetOS().empty());
  EXPECT_NE(info.fIconH(), nullptr);
}

}  // namespace
}  // namespace iv::fileinfo
