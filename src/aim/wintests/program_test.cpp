// "Use this Icon!" in the real program against the AIM simulator: the main window's
// timers, the button and the hook's reports reach the AIM feature.
#include <gtest/gtest.h>

#include "base/win/utf.h"
#include "program_session.h"
#include "ui/win/ids.h"

namespace iv::aim::testing {
namespace {

struct ProgramRun {
  explicit ProgramRun(SimSession& sim) {
    e2e::CopyProgramFolder(folder.path());
    CreateDirectoryW((folder / L"Icon Library").c_str(), nullptr);
    CreateDirectoryW((folder / L"Icon Library\\Cats").c_str(), nullptr);
    icon = WriteIcon(folder / L"Icon Library\\Cats\\kitty.gif", 'k');
    e2e::ResetSettings();
    e2e::SetSetting(L"Icons", L"Count", L"1");
    e2e::SetSetting(L"Icons", L"1", L"Cats\\kitty.gif");
    program = std::make_unique<e2e::Program>(folder, L"");
    hook = std::make_unique<ProgramHookState>(folder.path());
    const DWORD aimThread = GetWindowThreadProcessId(sim.aimWindow(), nullptr);
    // TmrAIM has seen AIM once the program's hook watches AIM's thread.
    noticed = program->main() && e2e::WaitUntil([&] { return hook->WatchedThread(program->main()) == aimThread; },
                                                 5000);
  }
  ~ProgramRun() {
    if (program && program->main()) program->Close();
    e2e::ResetSettings();
  }
  HWND control(int id) const { return program->control(id); }

  e2e::TempDir folder;
  std::wstring icon;
  std::unique_ptr<e2e::Program> program;
  std::unique_ptr<ProgramHookState> hook;
  bool noticed = false;
};

TEST(Program, UseThisIconThroughPreferences) {
  SimSession sim(L"aimsim.exe");
  ASSERT_TRUE(sim.running());
  ProgramRun run(sim);
  ASSERT_TRUE(run.noticed);

  // Nothing selected: nothing happens.
  e2e::Click(run.control(ids::cmdUse));
  e2e::Sync(run.program->main());
  EXPECT_FALSE(sim.LogHas("prefs-opened"));

  SendMessageW(run.control(ids::lstRotation), LB_SETCURSEL, 0, 0);
  e2e::Click(run.control(ids::cmdUse));
  EXPECT_TRUE(sim.WaitLog("icon-chosen " + Narrow(run.icon)));
  EXPECT_TRUE(ReadAll(run.icon) == ReadAll(sim.PictureId()));
  EXPECT_TRUE(e2e::WaitUntil([&] { return ReadAll(run.folder / L"tmp.gif") == ReadAll(run.icon); }, 10000));
}

TEST(Program, UseThisIconThroughThePictureFile) {
  SimSession sim(L"aimsim46.exe");
  ASSERT_TRUE(sim.running());
  ProgramRun run(sim);
  ASSERT_TRUE(run.noticed);

  SendMessageW(run.control(ids::lstRotation), LB_SETCURSEL, 0, 0);
  e2e::Click(run.control(ids::cmdUse));
  EXPECT_TRUE(sim.WaitLog("confirm-answered yes"));
  EXPECT_TRUE(sim.WaitLog("followup-closed"));
  EXPECT_FALSE(sim.LogHas("followup-shown"));
  EXPECT_FALSE(sim.DialogBecameVisible("AOL Instant Messenger")) << sim.Log();  // the follow-up
  EXPECT_TRUE(ReadAll(run.icon) == ReadAll(sim.PictureId()));
  EXPECT_FALSE(run.hook->Armed(run.program->main()));
}

}  // namespace
}  // namespace iv::aim::testing
