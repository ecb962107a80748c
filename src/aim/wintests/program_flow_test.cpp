// The AIM integration inside the real program: rotation rows applied with
// "Use this Icon!", the schedule's own applies, a restarted AIM and the preview of
// the current icon.
#include <gtest/gtest.h>

#include <optional>

#include "aim/core/aim_rules.h"
#include "base/win/utf.h"
#include "program_session.h"
#include "ui/win/ids.h"

namespace iv::aim::testing {
namespace {

constexpr DWORD kApplyMs = 15000;

// Selects a row as a click does: the list box tells its parent the selection changed.
void SelectRotationRow(HWND list, int row) {
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
  SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
}

bool FileBecomes(const std::wstring& file, const std::wstring& like, DWORD ms = kApplyMs) {
  const std::string want = ReadAll(like);
  return !want.empty() && e2e::WaitUntil([&] { return ReadAll(file) == want; }, ms);
}

// Two categories with one icon each, both in the rotation.
struct TwoIcons {
  explicit TwoIcons(ProgramFolder& folder)
      : kitty(folder.AddIcon(L"Cats", L"kitty.gif", 0x11)), rex(folder.AddIcon(L"Dogs", L"rex.gif", 0x22)) {
    folder.StoreRotation({kitty, rex});
  }
  LibraryIcon kitty, rex;
};

std::string Today() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  char text[16];
  wsprintfA(text, "%04u-%02u-%02u", t.wYear, t.wMonth, t.wDay);
  return text;
}

// Older AIM: the icon goes in through the picture file and the buddy-icon link; the
// preview then reads it back from AIM's file. Then AIM is closed and started again as
// another version: TmrAIM lets go of the old window and the next apply uses what the
// new one needs.
TEST(ProgramFlow, UseAppliesThroughThePictureFileThenThroughARestartedMessengersPreferences) {
  std::optional<SimSession> old;
  old.emplace(L"aimsim46.exe");
  SimSession& sim = *old;
  ASSERT_TRUE(sim.running());
  ProgramFolder folder;
  const TwoIcons icons(folder);
  // The link names the icon server's "/nothing.gif", a trailing slash or not.
  e2e::SetSetting(L"Options", L"IconServer", L"http://127.0.0.1:8123/");
  RunningProgram program(folder);
  ASSERT_TRUE(program.WaitWatching(sim.aimWindow()));

  SelectRotationRow(program.control(ids::lstRotation), 1);
  e2e::Click(program.control(ids::cmdUse));
  EXPECT_TRUE(sim.WaitLog("confirm-answered yes", kApplyMs)) << sim.Log();
  // The hook closes the untitled follow-up before it is ever shown, then disarms.
  EXPECT_TRUE(sim.WaitLog("followup-closed", kApplyMs)) << sim.Log();
  EXPECT_FALSE(sim.LogHas("followup-shown"));
  EXPECT_FALSE(sim.DialogBecameVisible("AOL Instant Messenger")) << sim.Log();
  EXPECT_TRUE(sim.HasLine("link-received aim:BuddyIcon?Src=http://127.0.0.1:8123/nothing.gif")) << sim.Log();
  EXPECT_TRUE(sim.HasLine("src-checked http://127.0.0.1:8123/nothing.gif ok")) << sim.Log();
  EXPECT_TRUE(FileBecomes(sim.PictureId(), icons.rex.path));
  EXPECT_TRUE(FileBecomes(folder / L"tmp.gif", icons.rex.path));
  EXPECT_FALSE(sim.LogHas("prefs-opened"));
  EXPECT_FALSE(program.hook().Armed(program.main()));

  e2e::Process quit(e2e::BinDir() + L"\\aimsim46.exe", L"--quit");
  ASSERT_TRUE(quit.WaitExit(15000));
  EXPECT_EQ(quit.ExitCode(), 0u);
  EXPECT_TRUE(sim.WaitLog("exited"));
  old.reset();
  EXPECT_TRUE(program.WaitWatching(nullptr));

  SimSession newer(L"aimsim.exe");
  ASSERT_TRUE(newer.running());
  ASSERT_TRUE(program.WaitWatching(newer.aimWindow()));
  SelectRotationRow(program.control(ids::lstRotation), 0);
  e2e::Click(program.control(ids::cmdUse));
  EXPECT_TRUE(newer.WaitLog("prefs-opened", kApplyMs)) << newer.Log();
  EXPECT_TRUE(newer.WaitLog("icon-chosen " + Narrow(icons.kitty.path), kApplyMs)) << newer.Log();
  EXPECT_TRUE(FileBecomes(newer.PictureId(), icons.kitty.path));
  EXPECT_FALSE(newer.LogHas("confirm-shown"));
}

// A rotation that ran out while the program was closed advances once AIM is known:
// the row after "Last Index", through the method of the running AIM. Then a rotation
// row picked after the library's first icon is what "Use this Icon!" applies. Each
// category holds one icon, so applying both rows in turn catches a button that keeps
// applying the library's choice.
TEST(ProgramFlow, DueScheduleAdvancesToTheNextRowThenUseAppliesTheSelectedRow) {
  SimSession sim(L"aimsim.exe");
  ASSERT_TRUE(sim.running());
  ProgramFolder folder;
  const TwoIcons icons(folder);
  e2e::SetSetting(L"Options", L"Rotate", L"5");
  // Whole minutes are counted, so 2 minutes cannot come round again during the test.
  e2e::SetSetting(L"Options", L"Minutes", L"2");
  e2e::SetSetting(L"Options", L"Time", L"2000-01-01 00:00:00");
  e2e::SetSetting(L"Options", L"Last Index", L"0");
  const std::string dayBefore = Today();
  RunningProgram program(folder);
  ASSERT_TRUE(program.main());

  EXPECT_TRUE(sim.WaitLog("icon-chosen " + Narrow(icons.rex.path), kApplyMs)) << sim.Log();
  EXPECT_TRUE(FileBecomes(sim.PictureId(), icons.rex.path));
  EXPECT_TRUE(FileBecomes(folder / L"tmp.gif", icons.rex.path));
  EXPECT_EQ(e2e::GetSetting(L"Options", L"Last Index"), L"1");
  const std::string time = Narrow(e2e::GetSetting(L"Options", L"Time"));
  EXPECT_TRUE(time.rfind(dayBefore, 0) == 0 || time.rfind(Today(), 0) == 0) << time;
  EXPECT_EQ(time.size(), 19u) << time;
  EXPECT_FALSE(sim.LogHas("confirm-shown")) << "applied as if AIM were an older version";

  ASSERT_TRUE(program.WaitWatching(sim.aimWindow()));
  const HWND list = program.control(ids::lstRotation);
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
  // No rotation row selected: the button does nothing.
  e2e::Click(program.control(ids::cmdUse));
  e2e::Sync(program.main());
  EXPECT_EQ(sim.LogCount("prefs-opened"), 1);
  // The manual applies neither move the rotation on nor set it to their row.
  for (const auto& [row, icon] : {std::pair{0, icons.kitty}, std::pair{1, icons.rex}}) {
    SelectRotationRow(list, row);
    e2e::Click(program.control(ids::cmdUse));
    const std::string chosen = "icon-chosen " + Narrow(icon.path);
    const int times = 1 + row;  // the schedule applied rex once
    EXPECT_TRUE(e2e::WaitUntil([&] { return sim.LogCount(chosen) == times; }, kApplyMs)) << sim.Log();
    EXPECT_TRUE(FileBecomes(sim.PictureId(), icon.path));
    EXPECT_TRUE(FileBecomes(folder / L"tmp.gif", icon.path));
    EXPECT_EQ(e2e::GetSetting(L"Options", L"Last Index"), L"1");
  }
}

// An apply that comes before TmrAIM's next tick still finds the AIM running now.
TEST(ProgramFlow, AnApplyBeforeTheNextTickUsesTheRestartedMessenger) {
  std::optional<SimSession> old;
  old.emplace(L"aimsim46.exe");
  ASSERT_TRUE(old->running());
  Aim& aim = old->Start();
  ASSERT_FALSE(UsesPreferencesMethod(aim.AIMVersion()));
  const std::wstring icon = old->Icon(L"next.gif", 'n');
  e2e::Process quit(e2e::BinDir() + L"\\aimsim46.exe", L"--quit");
  ASSERT_TRUE(quit.WaitExit(15000));

  SimSession sim(L"aimsim.exe");
  ASSERT_TRUE(sim.running());
  aim.ApplyBuddyIcon(icon, true);
  EXPECT_TRUE(sim.WaitLog("icon-chosen " + Narrow(icon))) << sim.Log();
  EXPECT_EQ(aim.AIMWindow(), sim.aimWindow());
  EXPECT_EQ(aim.AIMVersion(), 5.9);
}

}  // namespace
}  // namespace iv::aim::testing
