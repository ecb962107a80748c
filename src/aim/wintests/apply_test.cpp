// The integration against the AIM simulator: discovery, both apply methods, the
// confirmation watcher and the hook that keeps AIM's follow-up dialog out of sight.
#include <gtest/gtest.h>

#include "aim/core/aim_rules.h"
#include "aim/win/file_ops.h"
#include "aim/win/mod_aim.h"
#include "base/win/utf.h"
#include "sim_core.h"
#include "sim_session.h"

namespace iv::aim::testing {
namespace {

using aimsim::Crc32;
using aimsim::Hex8;

const std::wstring kAimKey = L"Software\\America Online\\AOL Instant Messenger (TM)\\CurrentVersion";

bool SameFile(const std::wstring& a, const std::wstring& b) {
  const std::string x = ReadAll(a);
  return !x.empty() && x == ReadAll(b);
}

TEST(Discovery, ReadsTheRunningMessenger) {
  SimSession sim(L"aimsim.exe");
  ASSERT_TRUE(sim.running());
  EXPECT_NE(GetWindowThreadId(sim.aimWindow()), 0u);
  EXPECT_EQ(GetWindowThreadId(nullptr), 0u);
  EXPECT_EQ(lstrcmpiW(GetAIMProcessPath().c_str(), (e2e::BinDir() + L"\\aimsim.exe").c_str()), 0)
      << Narrow(GetAIMProcessPath());
  EXPECT_EQ(lstrcmpiW(GetAIMAppPath().c_str(), GetAIMProcessPath().c_str()), 0);
  const auto full = GetAIMVersion(true);
  ASSERT_TRUE(full);
  EXPECT_EQ(full->rfind("5.9.", 0), 0u) << *full;
  EXPECT_EQ(GetAIMVersion(false), "5.9");

  // The Users key holds a value too large for the first buffer and one named "<...>".
  std::vector<std::string> users{"", "stale", "entries"};
  ListAIMUsers(users);
  ASSERT_EQ(users.size(), 3u);
  EXPECT_EQ(users[0], "");
  EXPECT_TRUE((users[1] == "otherbuddy" && users[2] == "testuser") ||
              (users[1] == "testuser" && users[2] == "otherbuddy"));

  // A value name longer than the first name buffer is read as well.
  const std::wstring longName(300, L'x');
  e2e::SetRegText(HKEY_CURRENT_USER, kAimKey + L"\\Users", longName.c_str(), L"");
  ListAIMUsers(users);
  ASSERT_EQ(users.size(), 4u);
  EXPECT_EQ(users[3], Narrow(longName));

  Aim& aim = sim.Start();
  EXPECT_EQ(aim.AIMWindow(), sim.aimWindow());
  EXPECT_EQ(aim.AIMVersion(), 5.9);

  // The AppPath ends at its NUL.
  const std::wstring exe = GetAIMAppPath();
  e2e::SetRegText(HKEY_CURRENT_USER, kAimKey + L"\\AppPath", nullptr, exe + std::wstring(1, L'\0') + L"left over");
  EXPECT_EQ(GetAIMAppPath(), exe);
  e2e::SetRegText(HKEY_CURRENT_USER, kAimKey + L"\\AppPath", nullptr, exe);
}

// Preferences the method opens are moved out of sight and closed; those the user had
// open stay where they were.
TEST(Apply, PreferencesMethodSetsTheIconOutOfSightOrInPreferencesTheUserHadOpen) {
  SimSession sim(L"aimsim.exe");
  ASSERT_TRUE(sim.running());
  Aim& aim = sim.Start();
  ASSERT_TRUE(UsesPreferencesMethod(aim.AIMVersion()));
  const std::wstring icon = sim.Icon(L"chosen.gif", 'p');

  aim.ApplyBuddyIcon(icon, true);

  EXPECT_TRUE(sim.WaitLog("icon-chosen"));
  EXPECT_TRUE(SameFile(icon, sim.PictureId()));
  EXPECT_TRUE(sim.LogHas("list-click 55 134 13 8"));  // version 5 point, "Buddy Icons"
  EXPECT_TRUE(sim.LogHas("prefs-moved -2000 -2000"));
  EXPECT_TRUE(sim.WaitLog("prefs-closed"));
  // The log line comes as the dialog closes; the window goes a moment later.
  EXPECT_TRUE(e2e::WaitUntil([] { return !FindAIMPreferences(); }, 5000));
  // The preview shows the applied file through tmp.gif.
  EXPECT_EQ(sim.shown(), sim.folder() + L"\\tmp.gif");
  EXPECT_TRUE(SameFile(icon, sim.folder() + L"\\tmp.gif"));

  SendMessageW(sim.aimWindow(), WM_COMMAND, 20002, 0);
  const HWND prefs = FindAIMPreferences();
  ASSERT_TRUE(prefs);
  RECT before{};
  GetWindowRect(prefs, &before);
  const std::wstring open = sim.Icon(L"open.gif", 'o');

  aim.ApplyBuddyIcon(open, true);

  EXPECT_TRUE(sim.WaitLog("icon-chosen " + Narrow(open)));
  EXPECT_EQ(FindAIMPreferences(), prefs);
  RECT after{};
  GetWindowRect(prefs, &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_TRUE(IsWindowVisible(prefs));
  EXPECT_EQ(sim.LogCount("prefs-moved"), 1);
  EXPECT_EQ(sim.LogCount("prefs-closed"), 1);
  // Back on the page it showed (the first category) once the icon is set.
  EXPECT_TRUE(e2e::WaitUntil([&] { return CurrentCategory(prefs) == 0; }, 5000));
  const auto lastPage = [&] {
    const std::string log = sim.Log();
    const size_t at = log.rfind("page-shown ");
    return at == std::string::npos ? std::string() : log.substr(at + 11, log.find_first_of("\r\n", at) - at - 11);
  };
  EXPECT_TRUE(e2e::WaitUntil([&] { return lastPage() == "Buddy List"; }, 5000)) << lastPage();
}

// Only an icon AIM took counts as applied (the rotation's history is written from it).
TEST(Apply, OnlyIconsAimTookAreReportedAndAnArmedHookLetsOursThrough) {
  SimSession sim(L"aimsim.exe");
  ASSERT_TRUE(sim.running());
  Aim& aim = sim.Start();
  aim.ApplyBuddyIcon(sim.folder() + L"\\gone.gif", false);
  EXPECT_TRUE(sim.applied().empty());
  SetHookArmed(true);  // left armed by an earlier question about something else
  const std::wstring icon = sim.Icon(L"taken.gif", 't');
  aim.ApplyBuddyIcon(icon, false);
  EXPECT_TRUE(sim.WaitLog("icon-chosen"));
  EXPECT_TRUE(SameFile(icon, sim.PictureId()));
  EXPECT_EQ(sim.applied(), std::vector<std::wstring>{icon});
}

TEST(Apply, AnApplyAskedForWhileOneWaitsRunsAfterIt) {
  SimSession sim(L"aimsim.exe");
  ASSERT_TRUE(sim.running());
  Aim* aim = nullptr;
  std::wstring second;
  bool asked = false;
  // A click on "Use this Icon!" arriving during the first apply's first wait.
  aim = &sim.Start([&](long ms) {
    if (!asked) {
      asked = true;
      aim->ApplyBuddyIcon(second, true);
    }
    e2e::WaitUntil([] { return false; }, static_cast<DWORD>(ms));
  });
  const std::wstring first = sim.Icon(L"first.gif", '1');
  second = sim.Icon(L"second.gif", '2');
  aim->ApplyBuddyIcon(first, true);

  const std::string log = sim.Log();
  const size_t chosenFirst = log.find("icon-chosen " + Narrow(first));
  const size_t closedFirst = log.find("prefs-closed");
  const size_t chosenSecond = log.find("icon-chosen " + Narrow(second));
  ASSERT_NE(chosenFirst, std::string::npos) << log;
  ASSERT_NE(chosenSecond, std::string::npos) << log;
  EXPECT_LT(chosenFirst, closedFirst);
  EXPECT_LT(closedFirst, chosenSecond);  // one after the other, never interleaved
  EXPECT_TRUE(SameFile(second, sim.PictureId()));
}

TEST(Apply, PictureFileMethodIsConfirmedAndTheFollowUpNeverShows) {
  SimSession sim(L"aimsim46.exe");
  ASSERT_TRUE(sim.running());
  Aim& aim = sim.Start();
  ASSERT_FALSE(UsesPreferencesMethod(aim.AIMVersion()));
  ASSERT_TRUE(aim.Hook().Loaded());
  const std::wstring icon = sim.Icon(L"old.gif", 'q');
  // A read-only picture.id is made writable for the copy.
  SetFileAttributesW(sim.PictureId().c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  ShowWindow(sim.host(), SW_SHOWNOACTIVATE);

  aim.ApplyBuddyIcon(icon, true);

  EXPECT_TRUE(sim.WaitLog("confirm-answered yes"));
  EXPECT_TRUE(sim.WaitLog("followup-closed"));
  EXPECT_TRUE(sim.LogHas("followup-created"));
  EXPECT_FALSE(sim.LogHas("followup-shown"));
  EXPECT_FALSE(sim.DialogBecameVisible("AOL Instant Messenger")) << sim.Log();  // the follow-up
  EXPECT_TRUE(sim.LogHas("icon-set"));
  EXPECT_TRUE(SameFile(icon, sim.PictureId()));
  EXPECT_EQ(GetFileAttrKind(sim.PictureId()), 0);  // writable again
  EXPECT_FALSE(HookArmed());
  EXPECT_FALSE(aim.RefocusAfterConfirm());          // used once, after the first click
  // Activation moves asynchronously: a busy machine may hand it over a little later.
  EXPECT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == sim.host(); }, 5000));
  EXPECT_NE(aim.HookedDialog(), nullptr);
  EXPECT_EQ(aim.CurrentIconUser(), "testuser");
  EXPECT_TRUE(SameFile(icon, sim.folder() + L"\\tmp.gif"));
}

// AIM fetches Src into picture.id once the link is confirmed; the write protection
// keeps the icon the program put there.
TEST(Apply, PictureFileIsProtectedWhileAimFetchesTheSource) {
  SimSession sim(L"aimsim46.exe", L"--fetch-src");
  ASSERT_TRUE(sim.running());
  // The 3 s wait stands for AIM's time to answer. A loaded machine may take longer
  // to start AIM's link handler, so here the wait lasts until AIM has taken the picture.
  Aim& aim = sim.Start([&sim](long ms) {
    if (ms == 3000) e2e::WaitUntil([&] { return sim.LogHas("followup-created"); }, 30000);
    else e2e::WaitUntil([] { return false; }, static_cast<DWORD>(ms));
  });
  const std::wstring icon = sim.Icon(L"kept.gif", 'k');
  const std::string bytes = ReadAll(icon);

  aim.ApplyBuddyIcon(icon, false);

  EXPECT_TRUE(sim.LogHas("icon-protected " + Narrow(sim.PictureId()))) << sim.Log();
  EXPECT_FALSE(sim.LogHas("icon-fetched"));
  EXPECT_TRUE(sim.HasLine("icon-set " + Narrow(sim.PictureId()) + " " + std::to_string(bytes.size()) + " " +
                          Hex8(Crc32(bytes))))
      << sim.Log();
  EXPECT_TRUE(SameFile(icon, sim.PictureId()));
  EXPECT_EQ(GetFileAttrKind(sim.PictureId()), 0);  // writable again afterwards
}

// A busy AIM may lose a press of "&Select": the press is repeated, five times at
// most, and then the apply gives up and closes the Preferences it opened.
TEST(Apply, LostSelectPressesAreRepeatedThenGivenUp) {
  {
    SimSession sim(L"aimsim.exe", L"--ignore-select 3");
    ASSERT_TRUE(sim.running());
    Aim& aim = sim.Start();
    const std::wstring icon = sim.Icon(L"retry.gif", 'r');
    aim.ApplyBuddyIcon(icon, true);
    EXPECT_TRUE(sim.WaitLog("icon-chosen " + Narrow(icon))) << sim.Log();
    EXPECT_EQ(sim.LogCount("select-ignored "), 3);
    EXPECT_TRUE(SameFile(icon, sim.PictureId()));
  }
  {
    SimSession sim(L"aimsim.exe", L"--ignore-select 100");
    ASSERT_TRUE(sim.running());
    Aim& aim = sim.Start();
    const std::string before = ReadAll(sim.PictureId());
    aim.ApplyBuddyIcon(sim.Icon(L"lost.gif", 'l'), true);
    // Each press is sent, so all of them are logged by the time the apply returns.
    EXPECT_EQ(sim.LogCount("select-ignored "), 5) << sim.Log();
    EXPECT_FALSE(sim.LogHas("icon-chosen"));
    EXPECT_EQ(ReadAll(sim.PictureId()), before);
    EXPECT_TRUE(sim.WaitLog("prefs-closed")) << sim.Log();
    EXPECT_TRUE(e2e::WaitUntil([] { return !FindAIMPreferences() && !FindChooseIconDialog(); }, 10000));
  }
}

TEST(Preview, RefreshCopiesOnlyForANewUserOrWhenForcedAndAHiddenPictureIsLeftAlone) {
  SimSession sim(L"aimsim46.exe");
  ASSERT_TRUE(sim.running());
  Aim& aim = sim.Start();
  const std::wstring tmp = sim.folder() + L"\\tmp.gif";
  aim.RefreshCurrentIcon(false);
  EXPECT_EQ(aim.CurrentIconUser(), "testuser");
  EXPECT_TRUE(SameFile(sim.PictureId(), tmp));

  WriteIcon(sim.PictureId(), 'z');
  aim.RefreshCurrentIcon(false);  // same user: nothing is copied
  EXPECT_FALSE(SameFile(sim.PictureId(), tmp));
  aim.RefreshCurrentIcon(true);
  EXPECT_TRUE(SameFile(sim.PictureId(), tmp));
  EXPECT_EQ(sim.shown(), tmp);

  const std::string before = ReadAll(sim.PictureId());
  SetFileAttributesW(sim.PictureId().c_str(), FILE_ATTRIBUTE_HIDDEN);
  aim.ApplyBuddyIcon(sim.Icon(L"hidden.gif", 'h'), false);
  EXPECT_EQ(ReadAll(sim.PictureId()), before);
  EXPECT_EQ(GetFileAttrKind(sim.PictureId()), 0);  // the method still leaves it normal
}

// An upgrade leaves the hook AIM held as "ivhook.dll.<n>.old"; the next start deletes
// what AIM has let go of, and nothing else.
TEST(Files, MovedAsideHooksAreDeletedOnceFree) {
  e2e::TempDir dir;
  const std::wstring freed = WriteIcon(dir / L"ivhook.dll.1.old", 'a');
  const std::wstring held = WriteIcon(dir / L"ivhook.dll.2.old", 'b');
  const std::wstring current = WriteIcon(dir / L"ivhook.dll", 'c');
  const std::wstring other = WriteIcon(dir / L"notes.old", 'd');
  // Held the way a loaded module holds its file: open, and not to be deleted.
  const HANDLE lock = CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_EQ(DeleteMovedAsideHooks(dir.path()), 1);
  EXPECT_FALSE(FileExists(freed));
  EXPECT_TRUE(FileExists(held));
  EXPECT_TRUE(FileExists(current));
  EXPECT_TRUE(FileExists(other));
  CloseHandle(lock);
  EXPECT_EQ(DeleteMovedAsideHooks(dir.path()), 0);
  EXPECT_FALSE(FileExists(held));
  EXPECT_EQ(DeleteMovedAsideHooks(dir / L"missing"), 0);
}

TEST(Apply, AQuestionAboutSomethingElseIsLeftToTheUser) {
  SimSession sim(L"aimsim46.exe", L"--confirm-other");
  ASSERT_TRUE(sim.running());
  Aim& aim = sim.Start();
  aim.ApplyBuddyIcon(sim.Icon(L"other.gif", 'r'), false);

  ASSERT_TRUE(sim.WaitLog("confirm-shown"));
  // The watcher keeps looking every 50 ms; it must go on leaving the question alone.
  EXPECT_FALSE(e2e::WaitUntil([&] { return sim.LogHas("confirm-answered"); }, 500));
  EXPECT_TRUE(HookArmed());
  // The user answers; the dialog AIM shows next is still caught and closed unseen.
  const HWND question = FindWindowW(L"#32770", L"Confirm action");
  ASSERT_TRUE(question);
  PostMessageW(question, WM_COMMAND, IDYES, 0);
  EXPECT_TRUE(sim.WaitLog("followup-closed"));
  EXPECT_FALSE(sim.LogHas("followup-shown"));
  EXPECT_FALSE(sim.DialogBecameVisible("AOL Instant Messenger")) << sim.Log();  // the follow-up
  EXPECT_TRUE(e2e::WaitUntil([] { return !HookArmed(); }, 5000));
}

TEST(Apply, WithoutAMessengerBothMethodsEndWithinTheirWaits) {
  e2e::TempDir dir;
  // An AppPath naming a missing file: no version, and no message about it.
  e2e::SetRegText(HKEY_CURRENT_USER, kAimKey + L"\\AppPath", nullptr, dir / L"gone.exe");
  EXPECT_EQ(GetAIMVersion(false), std::nullopt);

  HWND host = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_EQ(FindAIMWindow(), nullptr);
  Services s;
  s.shellOpen = [](const std::wstring& url) { (void)shell::ShellOpen(url); };
  s.buddyIconLink = [] { return std::wstring(L"ivnoscheme:BuddyIcon?Src=x"); };
  Aim aim(settings::RegistryStore(), dir.path(), host, std::move(s));
  const std::wstring icon = WriteIcon(dir / L"none.gif", 'n');

  aim.SetAIMVersion(5.9);
  ULONGLONG start = GetTickCount64();
  aim.ApplyBuddyIcon(icon, true);
  // Fixed waits, the 5 s search for the file dialog, and slack for a slow machine.
  EXPECT_LT(GetTickCount64() - start, static_cast<ULONGLONG>(kPreferencesWaits + 5000 + 3000));

  aim.SetAIMVersion(4.3);
  start = GetTickCount64();
  aim.ApplyBuddyIcon(icon, true);
  EXPECT_LT(GetTickCount64() - start, static_cast<ULONGLONG>(kPictureWaitsManual + 3000));
  DestroyWindow(host);
}

}  // namespace
}  // namespace iv::aim::testing
