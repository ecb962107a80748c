// The library views of the real program, driven from outside.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "e2e/support/driver.h"
#include "ui/win/ids.h"

namespace iv::e2e {
namespace {

// A program's list view, read and clicked from outside.
struct ListView {
  HWND lv;
  int Count() const { return static_cast<int>(SendMessageW(lv, LVM_GETITEMCOUNT, 0, 0)); }
  int Selected() const { return static_cast<int>(SendMessageW(lv, LVM_GETNEXTITEM, -1, LVNI_SELECTED)); }
  std::vector<std::wstring> Rows() const { return ListViewRows(lv); }
  void Select(int row) const { SelectListViewRow(lv, row); }
};

class LibraryE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSettings();
    CopyProgramFolder(folder_.path());
    for (const wchar_t* f : {L"Cats\\a.gif", L"Cats\\B.GIF", L"Dogs\\pug.gif", L".old\\x.gif"}) {
      const std::filesystem::path gif = folder_ / (std::wstring(L"Icon Library\\") + f);
      std::filesystem::create_directories(gif.parent_path());
      WriteAll(gif, "GIF89a");
    }
  }
  void TearDown() override { ResetSettings(); }
  bool Exists(const std::wstring& rel) const {
    return GetFileAttributesW((folder_ / (L"Icon Library\\" + rel)).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  TempDir folder_;
};

// Lists, browses and deletes after the question, then imports a picture into a new
// category typed in the question.
TEST_F(LibraryE2eTest, ListsBrowsesDeletesAndImports) {
  const std::wstring picture = folder_ / L"dot.bmp";
  // A 1 x 1 BMP of one colour.
  const unsigned char bmp[58] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0,
                                 0,   0,   1,  0, 24, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 0,   0,   0,  0, 0,  0, 200, 120, 30, 0};
  WriteAll(picture, std::string(reinterpret_cast<const char*>(bmp), sizeof bmp));
  Program program(folder_, L"");
  ASSERT_TRUE(program.main());
  const DWORD pid = program.process().pid();
  const ListView folders{program.control(ids::lvFolders)}, files{program.control(ids::lvFiles)};
  ASSERT_TRUE(WaitUntil([&] { return folders.Count() == 2; }, kDeadline));
  EXPECT_EQ(folders.Selected(), 0);
  const int cats = folders.Rows()[0] == L"Cats" ? 0 : 1;
  folders.Select(cats);
  ASSERT_TRUE(WaitUntil([&] { return files.Count() == 2; }, kDeadline));
  auto rows = files.Rows();
  std::sort(rows.begin(), rows.end());
  EXPECT_EQ(rows, (std::vector<std::wstring>{L" a.gif", L" b.gif"}));

  // "No" keeps the icon; "Yes" deletes it and its row.
  const int b = files.Rows()[0] == L" b.gif" ? 0 : 1;
  files.Select(b);
  Click(program.control(ids::cmdDelIcon));
  ASSERT_TRUE(AnswerBox(pid, L"No"));
  Sync(program.main());  // the handler has finished with the answer
  EXPECT_TRUE(Exists(L"Cats\\B.GIF"));
  EXPECT_EQ(files.Count(), 2);
  Click(program.control(ids::cmdDelIcon));
  ASSERT_TRUE(AnswerBox(pid, L"Yes"));
  EXPECT_TRUE(WaitUntil([&] { return files.Count() == 1; }, kDeadline));
  EXPECT_FALSE(Exists(L"Cats\\B.GIF"));

  // Deleting the category shows the one left.
  Click(program.control(ids::cmdDelFolder));
  ASSERT_TRUE(AnswerBox(pid, L"Yes"));
  ASSERT_TRUE(WaitUntil([&] { return folders.Count() == 1; }, kDeadline));
  EXPECT_FALSE(Exists(L"Cats"));
  EXPECT_EQ(folders.Rows(), std::vector<std::wstring>{L"Dogs"});
  EXPECT_EQ(folders.Selected(), 0);
  EXPECT_TRUE(WaitUntil([&] { return files.Rows() == std::vector<std::wstring>{L" pug.gif"}; }, kDeadline));

  const HWND button = FindDescendantByText(program.main(), nullptr, L"Import Pictures...");
  ASSERT_TRUE(button);
  Click(button);
  // The file dialog: the picture's path in its name box, then "Open".
  const HWND dialog = WaitForTopWindow(pid, L"#32770", L"Import Pictures", kDeadline);
  ASSERT_TRUE(dialog);
  HWND name = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (name = FindDescendant(dialog, 0x47C)) != nullptr; }, kDeadline));
  if (HWND edit = FindWindowExW(name, nullptr, L"Edit", nullptr)) name = edit;
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(picture.c_str()));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  // The category question offers the selected category; a new name makes a new one.
  HWND input = nullptr;
  const HWND box = WaitForShownWindow(pid, L"frmMsgBox", [&](HWND top) {
    return (input = FindWindowExW(top, nullptr, L"Edit", nullptr)) != nullptr;
  }, kDeadline);
  ASSERT_TRUE(box);
  EXPECT_EQ(WindowText(input), L"Dogs");
  SendMessageW(input, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Mine"));
  Click(FindDescendantByText(box, nullptr, L"OK"));
  // The summary, then the new category is shown with its icon.
  const HWND summary = WaitForShownWindow(pid, L"frmMsgBox", [&](HWND top) { return top != box; }, kDeadline);
  ASSERT_TRUE(summary);
  Click(FindDescendantByText(summary, nullptr, L"OK"));
  EXPECT_TRUE(Exists(L"Mine\\dot.gif"));
  EXPECT_TRUE(WaitUntil([&] {
    const auto rows = folders.Rows();
    return folders.Selected() >= 0 && rows[folders.Selected()] == L"Mine" &&
           files.Rows() == std::vector<std::wstring>{L" dot.gif"};
  }, kDeadline));
  EXPECT_TRUE(program.Close());
}

}  // namespace
}  // namespace iv::e2e
