// The rotation and its schedule settings in the real program, driven from outside.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/support/driver.h"
#include "ui/win/ids.h"

namespace iv::e2e {
namespace {

// The main window answers messages while later load steps still run, so the test
// waits for what it checks rather than for the window.
bool SettingBecomes(const wchar_t* section, const wchar_t* name, const std::wstring& value) {
  return WaitUntil([&] { return GetSetting(section, name, L"missing") == value; }, kDeadline);
}

class RotationE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSettings();
    CopyProgramFolder(folder_.path());
  }
  void TearDown() override { ResetSettings(); }
  TempDir folder_;
};

// What the user edits and picks is stored as it happens and shown again after a restart.
TEST_F(RotationE2eTest, EditsAndPicksSurviveARestart) {
  SetSetting(L"Icons", L"Count", L"3");
  SetSetting(L"Icons", L"1", L"A\\a.gif");
  SetSetting(L"Icons", L"2", L"B\\b.gif");
  SetSetting(L"Icons", L"3", L"C\\c.gif");
  {
    Program program(folder_, L"");
    ASSERT_TRUE(program.main());
    HWND list = program.control(ids::lstRotation);
    ASSERT_TRUE(WaitUntil([&] { return ListBoxRows(list).size() == 3; }, kDeadline));
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    Click(program.control(ids::cmdDown));
    EXPECT_TRUE(SettingBecomes(L"Icons", L"1", L"B\\b.gif"));
    Click(program.control(ids::cmdRemove));  // removes A, now row 1
    EXPECT_TRUE(SettingBecomes(L"Icons", L"Count", L"2"));

    HWND disable = program.control(ids::OptDISABLE);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageW(disable, BM_GETCHECK, 0, 0) == BST_CHECKED; }, kDeadline));
    EXPECT_EQ(GetSetting(L"Options", L"Rotate", L"missing"), L"missing");  // loading stores no selection
    Click(program.control(ids::OptHR));
    EXPECT_TRUE(SettingBecomes(L"Options", L"Rotate", L"1"));
    EXPECT_EQ(GetSetting(L"Options", L"Time").size(), 19u);
    Click(program.control(ids::OptCUSTOM));
    EXPECT_TRUE(SettingBecomes(L"Options", L"Rotate", L"5"));
    SendMessageW(program.control(ids::txtMinutes), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"42"));
    EXPECT_TRUE(SettingBecomes(L"Options", L"Minutes", L"42"));
    EXPECT_TRUE(program.Close());
  }
  Program again(folder_, L"");
  ASSERT_TRUE(again.main());
  const std::vector<std::wstring> expected{L"B\\b.gif", L"C\\c.gif"};
  HWND list = again.control(ids::lstRotation);
  EXPECT_TRUE(WaitUntil([&] { return ListBoxRows(list) == expected; }, kDeadline));
  HWND custom = again.control(ids::OptCUSTOM);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(custom, BM_GETCHECK, 0, 0) == BST_CHECKED; }, kDeadline));
  EXPECT_EQ(WindowText(again.control(ids::txtMinutes)), L"42");
  EXPECT_TRUE(again.Close());
}

}  // namespace
}  // namespace iv::e2e
