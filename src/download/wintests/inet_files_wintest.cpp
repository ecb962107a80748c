#include <gtest/gtest.h>

#include "download/win/files.h"
#include "download/win/inet.h"
#include "http_stub.h"
#include "support.h"

namespace iv::download::testing {

namespace {

// Cancels a transfer from a timer tick on the waiting thread once the server has
// the request, the way a click on the window's close box would.
Inet* g_inet = nullptr;
HANDLE g_asked = nullptr;
void CALLBACK CancelWhenAsked(HWND, UINT, UINT_PTR, DWORD) {
  if (WaitForSingleObject(g_asked, 0) == WAIT_OBJECT_0) g_inet->Cancel();
}
void CALLBACK QuitWhenAsked(HWND, UINT, UINT_PTR, DWORD) {
  if (WaitForSingleObject(g_asked, 0) == WAIT_OBJECT_0) PostQuitMessage(7);
}

}  // namespace

// 404, 500 and cut replies are the icon site tests' failure switches, through the program.
TEST(Inet, AServerThatIsGoneFails) {
  Inet inet;
  std::string gone;
  {
    HttpStub closed;
    gone = closed.Base();
  }
  EXPECT_EQ(inet.OpenURL(gone + "/x", {3000, 3000}).status, Fetched::Status::Failed);
}

TEST(Inet, ASilentServerTimesOut) {
  HttpStub server;
  server.Set("/slow", {200, "late", 10000});
  Inet inet;
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(inet.OpenURL(server.Base() + "/slow", {1000, 500}).status, Fetched::Status::Failed);
  EXPECT_LT(GetTickCount64() - start, 10000u);
}

// A cancel, or the program's quit (which stays queued for the outer loop).
TEST(Inet, CancelOrQuitWhileWaitingEndsTheWaitAtOnce) {
  for (const TIMERPROC tick : {CancelWhenAsked, QuitWhenAsked}) {
    HttpStub server;
    server.Set("/slow", {200, "late", 15000});
    Inet inet;
    g_inet = &inet;
    g_asked = server.Asked("/slow");
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, tick);
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(inet.OpenURL(server.Base() + "/slow").status, Fetched::Status::Cancelled);
    EXPECT_LT(GetTickCount64() - start, 15000u);
    KillTimer(nullptr, timer);
    MSG quit{};
    EXPECT_EQ(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE, tick == QuitWhenAsked);
    if (tick == QuitWhenAsked) EXPECT_EQ(quit.wParam, 7u);
    server.Set("/ok", {200, "fine"});
    EXPECT_EQ(inet.OpenURL(server.Base() + "/ok").body, "fine");
  }
}

TEST(Inet, IconsAskedForAheadRunTogetherAndOneCancelStopsThemAll) {
  HttpStub server;
  std::vector<std::string> urls;
  std::vector<HANDLE> asked;  // asked for before the requests can arrive
  for (int k = 0; k < Inet::kWorkers; ++k) {
    const std::string path = "/slow" + std::to_string(k);
    server.Set(path, {200, "late", 15000});
    urls.push_back(server.Base() + path);
    asked.push_back(server.Asked(path));
  }
  server.Set("/ok", {200, "fine"});
  Inet inet;
  for (const std::string& url : urls) inet.Prefetch(url);
  // Every worker has its request at the server at the same time.
  for (int k = 0; k < Inet::kWorkers; ++k) ASSERT_EQ(WaitForSingleObject(asked[k], 20000), WAIT_OBJECT_0) << k;
  g_inet = &inet;
  g_asked = asked[0];
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, CancelWhenAsked);
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(inet.OpenURL(urls[0]).status, Fetched::Status::Cancelled);
  KillTimer(nullptr, timer);
  // The others were cancelled with it: asking again starts afresh and is not held up.
  EXPECT_EQ(inet.OpenURL(server.Base() + "/ok").body, "fine");
  EXPECT_LT(GetTickCount64() - start, 15000u);
  EXPECT_EQ(server.Hits("/ok"), 1);
}

TEST(Inet, APrefetchedReplyIsCollectedOnceAndInAnyOrder) {
  HttpStub server;
  server.Set("/a", {200, "A"});
  server.Set("/b", {200, "B"});
  Inet inet;
  inet.Prefetch(server.Base() + "/a");
  inet.Prefetch(server.Base() + "/b");
  inet.Prefetch(server.Base() + "/a");  // already under way
  EXPECT_EQ(inet.OpenURL(server.Base() + "/b").body, "B");
  EXPECT_EQ(inet.OpenURL(server.Base() + "/a").body, "A");
  EXPECT_EQ(server.Hits("/a"), 1);
  EXPECT_EQ(inet.OpenURL(server.Base() + "/a").body, "A");  // not left over: fetched again
  EXPECT_EQ(server.Hits("/a"), 2);
}

TEST(Files, IconsAreNeverReplacedAndNoTemporaryFileStays) {
  TempProgramFolder dir;
  const std::wstring icon = dir.library().wstring() + L"\\cat.gif";
  EXPECT_TRUE(WriteFileAtomic(icon, Gif(), false));
  EXPECT_FALSE(WriteFileAtomic(icon, "other", false));
  EXPECT_EQ(ReadAll(icon), Gif());
  EXPECT_TRUE(WriteFileAtomic(icon, "newer", true));
  EXPECT_EQ(ReadAll(icon), "newer");
  EXPECT_FALSE(WriteFileAtomic(dir.path() + L"\\missing\\x.gif", Gif(), false));
  EXPECT_EQ(dir.LibraryFiles(), std::vector<std::string>{"cat.gif"});
}

TEST(Files, TextFilesEndInCrLfAndGetTheirFolder) {
  TempProgramFolder dir;
  const std::wstring path = dir.path() + L"\\sub\\Categories.dat";
  EXPECT_TRUE(WriteTextFile("Animals\r\nCats\r\n", path, true));
  EXPECT_FALSE(WriteTextFile("x", path, false));
  EXPECT_EQ(ReadAll(path), "Animals\r\nCats\r\n\r\n");
}

}  // namespace iv::download::testing
