// Command-link downloads and the category update with the real program, in a
// program folder whose name holds a blank: a running copy, copies started with
// links, and the test's own icon server.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "app/core/startup.h"
#include "e2e/support/driver.h"
#include "http_stub.h"
#include "support.h"
#include "ui/win/ids.h"

namespace iv::download::testing {

namespace {

namespace e2e = iv::e2e;

constexpr int kRibbonId = 10;
const std::wstring kFailed = L"Update Failed - Please try again Later.";

std::wstring W(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// Presses a visible button of a message box of the copy, once it is there.
bool Answer(e2e::Process& p, const wchar_t* button, const wchar_t* title = L"Iconvane") {
  return iv::download::testing::AnswerBox(p, button, title, 20000);
}

std::vector<std::wstring> Rotation() {
  std::vector<std::wstring> entries;
  const int n = _wtoi(e2e::GetSetting(L"Icons", L"Count", L"0").c_str());
  for (int k = 1; k <= n; ++k) entries.push_back(e2e::GetSetting(L"Icons", std::to_wstring(k)));
  return entries;
}

bool QueueGone() { return e2e::GetSetting(L"Icons\\Temp", L"DLDir", L"<none>") == L"<none>"; }

class DownloadE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::ResetSettings();
    e2e::CopyProgramFolder(folder.path());
    e2e::SetSetting(L"Options", L"IconServer", W(server.Base()));
    const std::string b = server.Base() + "/i/Funny.Cats/";
    for (const char* f : {"a", "b", "c"}) server.Set("/i/Funny.Cats/" + std::string(f) + ".gif", {200, Gif(f)});
    server.Set("/list", {200, "[Funny Cats]\n" + b + "a.gif\n" + b + "b.gif\n" + b + "c.gif\n"});
  }
  void TearDown() override {
    if (main) e2e::CloseProgram(running, main);
    e2e::ResetSettings();
  }

  std::wstring Exe() const { return folder.path() + L"\\iconvane.exe"; }
  void StartRunningCopy() {
    running = e2e::Process(Exe(), L"", folder.path());
    main = e2e::WaitForMainWindow(running.pid());
    ASSERT_TRUE(main);
  }
  // A copy started with a link, as the browser does.
  e2e::Process StartLink(const std::string& command, const std::string& path, const std::wstring& quote = L"",
                         const std::wstring& scheme = L"icvan:") {
    const std::wstring link = scheme + W(command) + L"?key=" + W(server.Base() + path);
    return e2e::Process(Exe(), quote + link + quote, folder.path());
  }
  std::string Icon(const char* file) const { return ReadAll(folder.library() / "Funny Cats" / file); }

  HttpStub server;
  TempProgramFolder folder;
  e2e::Process running;
  HWND main = nullptr;
};

}  // namespace

TEST_F(DownloadE2E, AnIconGoesIntoANewCategoryAndTheRunningCopysRotationOnce) {
  StartRunningCopy();
  e2e::Process dl = StartLink("AddIcon", "/i/Funny.Cats/a.gif");
  ASSERT_TRUE(Answer(dl, L"Yes"));
  EXPECT_TRUE(dl.WaitExit(20000));
  EXPECT_EQ(Icon("a.gif"), Gif("a"));
  EXPECT_TRUE(e2e::WaitUntil([] { return Rotation() == std::vector<std::wstring>{L"Funny Cats\\a.gif"}; }, 10000));
  EXPECT_TRUE(QueueGone());

  // The same link again is skipped, asked again, and answered No: only the category.
  server.Set("/i/Funny.Cats/a.gif", {200, Gif("changed")});
  e2e::Process again = StartLink("AddIcon", "/i/Funny.Cats/a.gif");
  ASSERT_TRUE(Answer(again, L"No"));
  EXPECT_TRUE(again.WaitExit(20000));
  EXPECT_EQ(server.Hits("/i/Funny.Cats/a.gif"), 1);
  EXPECT_EQ(Icon("a.gif"), Gif("a"));
  EXPECT_TRUE(e2e::WaitUntil(QueueGone, 10000));
  EXPECT_EQ(Rotation().size(), 1u);
}

TEST_F(DownloadE2E, AListAnsweredYesGrowsTheRotationInOrder) {
  e2e::SetSetting(L"Icons", L"Count", L"2");
  e2e::SetSetting(L"Icons", L"1", L"Old\\1.gif");
  e2e::SetSetting(L"Icons", L"2", L"Old\\2.gif");
  StartRunningCopy();
  e2e::Process dl = StartLink("AddList", "/list");
  ASSERT_TRUE(Answer(dl, L"Yes"));
  EXPECT_TRUE(dl.WaitExit(20000));
  const std::vector<std::wstring> expected{L"Old\\1.gif", L"Old\\2.gif", L"Funny Cats\\a.gif", L"Funny Cats\\b.gif",
                                           L"Funny Cats\\c.gif"};
  EXPECT_TRUE(e2e::WaitUntil([&] { return Rotation() == expected; }, 10000));
  EXPECT_EQ(SendMessageW(e2e::FindDescendant(main, ids::lstRotation), LB_GETCOUNT, 0, 0), 5);
  EXPECT_TRUE(QueueGone());
}

TEST_F(DownloadE2E, WithoutARunningCopyTheDownloadingCopyBecomesTheProgram) {
  e2e::Process dl = StartLink("AddList", "/list");
  ASSERT_TRUE(Answer(dl, L"Yes"));
  const HWND own = e2e::WaitForMainWindow(dl.pid());
  ASSERT_TRUE(own);
  // The list's window stays open beside it, and the new main copy adds the list itself.
  EXPECT_TRUE(e2e::WaitForTopWindow(dl.pid(), L"frmDL", L"Download Complete", 5000));
  const std::vector<std::wstring> expected{L"Funny Cats\\a.gif", L"Funny Cats\\b.gif", L"Funny Cats\\c.gif"};
  EXPECT_TRUE(e2e::WaitUntil([&] { return Rotation() == expected && QueueGone(); }, 20000));
  EXPECT_EQ(SendMessageW(e2e::FindDescendant(own, ids::lstRotation), LB_GETCOUNT, 0, 0), 3);
  EXPECT_TRUE(e2e::CloseProgram(dl, own));

  // An icon's window goes, and the program it opened keeps running; No adds nothing.
  e2e::Process icon = StartLink("AddIcon", "/i/Funny.Cats/a.gif");
  ASSERT_TRUE(Answer(icon, L"No"));
  const HWND iconMain = e2e::WaitForMainWindow(icon.pid());
  ASSERT_TRUE(iconMain);
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::TopWindows(icon.pid(), L"frmDL").empty(); }, 10000));
  EXPECT_FALSE(icon.WaitExit(0));
  EXPECT_EQ(Rotation(), expected);
  EXPECT_TRUE(QueueGone());
  EXPECT_TRUE(e2e::CloseProgram(icon, iconMain));
}

TEST_F(DownloadE2E, EscapedNamesLandInTheLibraryAsTheyRead) {
  server.Set("/i/Tom.%26.Jerry/It%27s%20100%25.gif", {200, Gif("t")});
  server.Set("/i/Caf%C3%A9/a.gif", {200, Gif("c")});
  StartRunningCopy();
  for (const char* path : {"/i/Tom.%26.Jerry/It%27s%20100%25.gif", "/i/Caf%C3%A9/a.gif"}) {
    e2e::Process dl = StartLink("AddIcon", path);
    ASSERT_TRUE(Answer(dl, L"Yes")) << path;
    EXPECT_TRUE(dl.WaitExit(20000)) << path;
  }
  EXPECT_EQ(ReadAll(folder.library() / L"Tom & Jerry" / L"It's 100%.gif"), Gif("t"));
  EXPECT_EQ(ReadAll(folder.library() / L"Caf\u00e9" / L"a.gif"), Gif("c"));
  const std::vector<std::wstring> expected{L"Tom & Jerry\\It's 100%.gif", L"Caf\u00e9\\a.gif"};
  EXPECT_TRUE(e2e::WaitUntil([&] { return Rotation() == expected; }, 10000));
}

TEST_F(DownloadE2E, ClosingDuringATransferEndsTheCopyWithoutWriting) {
  StartRunningCopy();
  server.Set("/i/Funny.Cats/a.gif", {200, Gif(), 15000});
  const HANDLE asked = server.Asked("/i/Funny.Cats/a.gif");  // before the request can come
  e2e::Process dl = StartLink("AddIcon", "/i/Funny.Cats/a.gif");
  const HWND w = e2e::WaitForTopWindow(dl.pid(), L"frmDL", nullptr, 20000);
  ASSERT_TRUE(w);
  ASSERT_EQ(WaitForSingleObject(asked, 20000), WAIT_OBJECT_0);
  PostMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_TRUE(dl.WaitExit(10000));
  EXPECT_TRUE(folder.LibraryFiles().empty());
  EXPECT_TRUE(Rotation().empty());
}

TEST_F(DownloadE2E, ClosingDuringAListStopsEveryTransferAndLeavesNoPartFile) {
  // The first icon is slow; the three after it arrive while the copy waits for it.
  // The slow ones after those are asked for only once a worker is done with them.
  const std::string b = server.Base() + "/i/Funny.Cats/";
  std::string list = "[Funny Cats]\n";
  std::vector<HANDLE> asked;  // before the requests can come
  for (const char* f : {"s1", "a", "b", "c", "s2", "s3", "s4"}) {
    const std::string path = "/i/Funny.Cats/" + std::string(f) + ".gif";
    if (f[0] == 's') {
      server.Set(path, {200, Gif(f), 15000});
      asked.push_back(server.Asked(path));
    }
    list += server.Base() + path + "\n";
  }
  server.Set("/slowlist", {200, list});
  e2e::Process dl = StartLink("AddList", "/slowlist");
  const HWND w = e2e::WaitForTopWindow(dl.pid(), L"frmDL", nullptr, 20000);
  ASSERT_TRUE(w);
  for (HANDLE h : asked) ASSERT_EQ(WaitForSingleObject(h, 20000), WAIT_OBJECT_0);
  PostMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_TRUE(dl.WaitExit(10000)) << "a transfer ran on after the close";
  // Nothing was the first icon's turn: no icon, and no body fetched ahead left beside one.
  EXPECT_EQ(folder.LibraryFiles(), std::vector<std::string>{});
  EXPECT_TRUE(Rotation().empty());
  EXPECT_TRUE(QueueGone());
}

TEST_F(DownloadE2E, FailuresAndHostileNamesWriteNothing) {
  const std::string b = server.Base();
  server.Set("/badcat", {200, "[..\\..]\n" + b + "/i/Funny.Cats/a.gif\n"});
  server.Set("/error", {200, "<HTML>maintenance</HTML>\n"});
  for (const char* path : {"/badcat", "/error"}) {
    e2e::Process dl = StartLink("AddList", path);
    const HWND w = e2e::WaitForTopWindow(dl.pid(), L"frmDL", nullptr, 20000);
    ASSERT_TRUE(w);
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::WindowText(GetDlgItem(w, kRibbonId)) == kFailed; }, 20000));
    PostMessageW(w, WM_CLOSE, 0, 0);
    EXPECT_TRUE(dl.WaitExit(20000));
  }
  EXPECT_EQ(server.Hits("/i/Funny.Cats/a.gif"), 0);
  EXPECT_TRUE(folder.LibraryFiles().empty());
  EXPECT_FALSE(fs::exists(fs::path(folder.path()).parent_path() / "Funny Cats"));
}

TEST_F(DownloadE2E, AnUnknownCommandIsReportedAndEnds) {
  e2e::Process dl = StartLink("addicon", "/i/Funny.Cats/a.gif");
  ASSERT_TRUE(Answer(dl, L"OK", L"Picvane"));
  EXPECT_TRUE(dl.WaitExit(20000));
  EXPECT_EQ(server.Hits("/i/Funny.Cats/a.gif"), 0);
}

TEST_F(DownloadE2E, TheRegisteredCommandLineWorks) {
  StartRunningCopy();
  const std::wstring expected = L"\"" + Exe() + L"\" \"%1\"";
  const auto registered = [] {
    wchar_t command[1024];
    DWORD size = sizeof(command);
    return RegGetValueW(HKEY_CLASSES_ROOT, L"icvan\\shell\\open\\command", nullptr, RRF_RT_REG_SZ, nullptr, command,
                        &size) == ERROR_SUCCESS
               ? std::wstring(command)
               : std::wstring();
  };
  // The load sequence registers the scheme; it may still be running.
  EXPECT_TRUE(e2e::WaitUntil([&] { return registered() == expected; }, 10000)) << registered();
  e2e::Process dl = StartLink("AddIcon", "/i/Funny.Cats/b.gif", L"\"", L"ICVAN:");
  ASSERT_TRUE(Answer(dl, L"Yes"));
  EXPECT_TRUE(dl.WaitExit(20000));
  EXPECT_EQ(Icon("b.gif"), Gif("b"));
}

TEST_F(DownloadE2E, CategoryUpdateFailsCancelsAndSucceeds) {
  const fs::path file = fs::path(folder.path()) / "Categories.dat";
  StartRunningCopy();
  const auto open = [&] {
    e2e::Click(e2e::FindDescendant(main, ids::cmdUpdate));
    return e2e::WaitForTopWindow(running.pid(), L"frmUpdate", nullptr, 20000);
  };
  const std::string before = ReadAll(file);

  server.Set("/iconvane.php", {200, "<html>down</html>"});
  HWND upd = open();
  ASSERT_TRUE(upd);
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::WindowText(GetDlgItem(upd, kRibbonId)) == kFailed; }, 20000));
  e2e::Click(e2e::FindDescendantByText(upd, nullptr, L"Cancel"));
  EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(upd); }, 10000));

  server.Set("/iconvane.php", {200, "Animals\r\nFunny Cats\r\n", 15000});
  const HANDLE asked = server.Asked("/iconvane.php");  // before the request can come
  ResetEvent(asked);
  upd = open();
  ASSERT_TRUE(upd);
  ASSERT_EQ(WaitForSingleObject(asked, 20000), WAIT_OBJECT_0);
  e2e::Click(e2e::FindDescendantByText(upd, nullptr, L"Cancel"));
  EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(upd); }, 5000));
  EXPECT_EQ(ReadAll(file), before);

  // A file that cannot be replaced is no success, and the old one stays.
  server.Set("/iconvane.php", {200, "Animals\r\nFunny Cats\r\n"});
  std::ofstream(file, std::ios::binary) << "Old\r\n";
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
  upd = open();
  ASSERT_TRUE(upd);
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::WindowText(GetDlgItem(upd, kRibbonId)) == kFailed; }, 20000));
  EXPECT_NE(e2e::WindowText(upd), L"Success!");
  EXPECT_TRUE(e2e::FindDescendantByText(upd, nullptr, L"Cancel"));
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadAll(file), "Old\r\n");
  e2e::Click(e2e::FindDescendantByText(upd, nullptr, L"Cancel"));
  EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(upd); }, 10000));

  // UTF-8 names are shown as they read.
  server.Set("/iconvane.php", {200, "Animals\r\nCaf\xC3\xA9\r\nTom & Jerry\r\n"});
  upd = open();
  ASSERT_TRUE(upd);
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::WindowText(upd) == L"Success!"; }, 20000));
  EXPECT_EQ(ReadAll(file), "Animals\r\nCaf\xC3\xA9\r\nTom & Jerry\r\n\r\n");
  const HWND cats = e2e::FindDescendant(main, ids::LstCats);
  EXPECT_EQ(SendMessageW(cats, LB_GETCOUNT, 0, 0), 3);
  wchar_t name[64] = {};
  SendMessageW(cats, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(name));
  EXPECT_EQ(std::wstring(name), L"Caf\u00e9");
  EXPECT_TRUE(e2e::FindDescendantByText(upd, nullptr, L"Close"));
  // The program ends with the update window still open (TearDown closes it).
}

}  // namespace iv::download::testing
