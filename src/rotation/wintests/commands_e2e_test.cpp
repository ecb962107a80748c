// "-next", "-previous", "-pause" and "-resume" given to the real program from a
// second process, as a user's shortcut would, with the AIM simulator taking the icons.
#include <gtest/gtest.h>

#include <optional>

#include "base/win/utf.h"
#include "program_session.h"
#include "ui/win/ids.h"

namespace iv::aim::testing {
namespace {

constexpr DWORD kApplyMs = 20000;
using e2e::kMainCaption;
using e2e::kMainClass;

// Runs "iconvane.exe <args>" from the program folder; true when it handed the command
// over and ended by itself.
bool Command(const ProgramFolder& folder, const std::wstring& args) {
  e2e::Process p(folder / L"iconvane.exe", args, folder.dir().path());
  return p.started() && p.WaitExit(30000) && p.ExitCode() == 0;
}

bool ChosenTimes(const SimSession& sim, const LibraryIcon& icon, int times) {
  const std::string line = "icon-chosen " + Narrow(icon.path);
  return e2e::WaitUntil([&] { return sim.LogCount(line) >= times; }, kApplyMs);
}

// Local time as the schedule stores it, minutes before now.
std::wstring MinutesAgo(int minutes) {
  FILETIME ft{};
  GetSystemTimeAsFileTime(&ft);
  ULARGE_INTEGER t{{ft.dwLowDateTime, ft.dwHighDateTime}};
  t.QuadPart -= static_cast<ULONGLONG>(minutes) * 60 * 10000000ULL;
  ft = {t.LowPart, t.HighPart};
  FILETIME local{};
  SYSTEMTIME st{};
  FileTimeToLocalFileTime(&ft, &local);
  FileTimeToSystemTime(&local, &st);
  wchar_t text[32];
  wsprintfW(text, L"%04u-%02u-%02u %02u:%02u:%02u", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
  return text;
}

bool LabelShown(HWND label) { return label && (GetWindowLongW(label, GWL_STYLE) & WS_VISIBLE) != 0; }

struct ThreeIcons {
  explicit ThreeIcons(ProgramFolder& folder)
      : a(folder.AddIcon(L"Cats", L"kitty.gif", 0x11)), b(folder.AddIcon(L"Dogs", L"rex.gif", 0x22)),
        c(folder.AddIcon(L"Birds", L"tweety.gif", 0x33)) {
    folder.StoreRotation({a, b, c});
  }
  LibraryIcon a, b, c;
};

// With no copy running, "-next" starts one in the tray that applies; later commands
// go to that copy, and their own processes end without a window.
TEST(Commands, NextTwiceThenPreviousFromOtherProcesses) {
  SimSession sim(L"aimsim.exe");
  ASSERT_TRUE(sim.running());
  ProgramFolder folder;
  const ThreeIcons icons(folder);
  // Hourly, started ten minutes ago: the schedule itself stays quiet.
  const std::wstring started = MinutesAgo(10);
  e2e::SetSetting(L"Options", L"Rotate", L"1");
  e2e::SetSetting(L"Options", L"Time", started);

  e2e::Program first(folder.dir(), L"-next");
  ASSERT_TRUE(first.main());
  EXPECT_FALSE(IsWindowVisible(first.main()));
  ASSERT_TRUE(ChosenTimes(sim, icons.b, 1)) << sim.Log();
  EXPECT_EQ(e2e::GetSetting(L"Options", L"Last Index"), L"1");
  const std::wstring time = e2e::GetSetting(L"Options", L"Time");
  EXPECT_NE(time, started);
  EXPECT_EQ(time.size(), 19u);

  ASSERT_TRUE(Command(folder, L"-NEXT"));
  ASSERT_TRUE(ChosenTimes(sim, icons.c, 1)) << sim.Log();
  EXPECT_TRUE(e2e::WaitUntil([&] { return ReadAll(sim.PictureId()) == ReadAll(icons.c.path); }, kApplyMs));
  EXPECT_EQ(e2e::GetSetting(L"Options", L"Last Index"), L"2");
  EXPECT_EQ(e2e::TopWindows(0, kMainClass, kMainCaption).size(), 1u);
  // The history is written once the apply has finished, a little after AIM took the icon.
  EXPECT_TRUE(e2e::WaitUntil([] { return e2e::GetSetting(L"History", L"Count") == L"2"; }, kApplyMs));
  EXPECT_EQ(e2e::GetSetting(L"History", L"1"), icons.c.path);

  ASSERT_TRUE(Command(folder, L"-previous"));
  ASSERT_TRUE(ChosenTimes(sim, icons.b, 2)) << sim.Log();
  EXPECT_TRUE(e2e::WaitUntil([&] { return ReadAll(sim.PictureId()) == ReadAll(icons.b.path); }, kApplyMs));
  // Going back does not move the rotation on, and the step back is taken off the history.
  EXPECT_EQ(e2e::GetSetting(L"Options", L"Last Index"), L"2");
  EXPECT_TRUE(e2e::WaitUntil([] { return e2e::GetSetting(L"History", L"Count") == L"1"; }, kApplyMs));
  EXPECT_EQ(e2e::GetSetting(L"History", L"1"), icons.b.path);
  EXPECT_EQ(e2e::TopWindows(0, kMainClass, kMainCaption).size(), 1u);
  EXPECT_TRUE(first.Close());
}

// The pause is kept in the store: a copy started later with a schedule due every
// second applies nothing until "-resume".
TEST(Commands, PauseSurvivesARestartAndResumeAppliesAgain) {
  SimSession sim(L"aimsim.exe");
  ASSERT_TRUE(sim.running());
  ProgramFolder folder;
  const ThreeIcons icons(folder);
  {
    RunningProgram program(folder);
    ASSERT_TRUE(program.main());
    const HWND label = program.control(ids::lblPaused);
    ASSERT_TRUE(label);
    EXPECT_FALSE(LabelShown(label));
    ASSERT_TRUE(Command(folder, L"-Pause"));
    EXPECT_TRUE(e2e::WaitUntil([] { return e2e::GetSetting(L"Options", L"Paused") == L"1"; }, kApplyMs));
    EXPECT_TRUE(e2e::WaitUntil([&] { return LabelShown(label); }, kApplyMs));
    EXPECT_EQ(e2e::WindowText(label), L"Rotation paused");
    // The mode and its option button stay as they were.
    EXPECT_EQ(e2e::GetSetting(L"Options", L"Rotate", L"missing"), L"missing");
    EXPECT_EQ(SendMessageW(program.control(ids::OptDISABLE), BM_GETCHECK, 0, 0), BST_CHECKED);
  }

  e2e::SetSetting(L"Options", L"Rotate", L"5");
  e2e::SetSetting(L"Options", L"Minutes", L"0");
  e2e::SetSetting(L"Options", L"Time", L"2000-01-01 00:00:00");
  e2e::SetSetting(L"Options", L"Last Index", L"0");
  RunningProgram again(folder);
  ASSERT_TRUE(again.main());
  ASSERT_TRUE(again.WaitWatching(sim.aimWindow()));
  EXPECT_TRUE(LabelShown(again.control(ids::lblPaused)));
  EXPECT_EQ(SendMessageW(again.control(ids::OptCUSTOM), BM_GETCHECK, 0, 0), BST_CHECKED);
  // Unpaused, the first tick would have applied within a second of the load.
  EXPECT_FALSE(sim.WaitLog("prefs-opened", 6000)) << sim.Log();
  EXPECT_EQ(e2e::GetSetting(L"Options", L"Time"), L"2000-01-01 00:00:00");

  ASSERT_TRUE(Command(folder, L"-resume"));
  EXPECT_TRUE(ChosenTimes(sim, icons.b, 1)) << sim.Log();
  EXPECT_EQ(e2e::GetSetting(L"Options", L"Paused"), L"0");
  EXPECT_FALSE(LabelShown(again.control(ids::lblPaused)));
  // Paused again, so that closing does not race an apply every second.
  EXPECT_TRUE(Command(folder, L"-pause"));
}

}  // namespace
}  // namespace iv::aim::testing
