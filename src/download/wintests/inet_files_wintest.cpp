// Transfers against the local icon site (a separate server process, started by the
// test's wrapper script), whose failure switches make slow replies; 404, 500 and cut
// replies are the site tests' switches, through the program.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "download/win/files.h"
#include "download/win/inet.h"
#include "e2e/support/driver.h"
#include "icon_site.h"
#include "support.h"

namespace iv::download::testing {

namespace {

// One icon for each worker.
const std::string kIcons[Inet::kWorkers] = {"/icons/Sports/ball-blue.gif", "/icons/Sports/ball-red.gif",
                                            "/icons/Smileys/smile-blue.gif", "/icons/abstract/stripes.gif"};
// 2 pieces 10 s apart: far longer than any wait below.
const std::string kSlow = "&delay=10000&chunks=2";

// Cancels a transfer from a timer tick on the waiting thread once the site has the
// request, the way a click on the window's close box would.
const IconSite* g_site = nullptr;
Inet* g_inet = nullptr;
void CALLBACK CancelWhenAsked(HWND, UINT, UINT_PTR, DWORD) {
  if (g_site->Hits(kIcons[0]) > 0) g_inet->Cancel();
}
void CALLBACK QuitWhenAsked(HWND, UINT, UINT_PTR, DWORD) {
  if (g_site->Hits(kIcons[0]) > 0) PostQuitMessage(7);
}

class InetSite : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!site.available()) GTEST_SKIP() << "IV_ICON_SERVER is not set: run through with-iconserver.sh";
    for (const std::string& path : {kIcons[0], kIcons[1], std::string("/help.php")}) body[path] = site.Get(path).body;
    ASSERT_TRUE(site.Reset());
    g_site = &site;
  }
  void TearDown() override {
    if (site.available()) site.Reset();
  }
  std::string Url(const std::string& path) const { return site.Base() + path; }

  IconSite site;
  std::map<std::string, std::string> body;  // as the site serves them
};

}  // namespace

// A port that takes the connection but never answers, then one that is gone.
TEST(Inet, ASilentServerTimesOutAndAGoneOneFails) {
  WSADATA wsa;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
  const SOCKET silent = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int len = sizeof(addr);
  ASSERT_EQ(bind(silent, reinterpret_cast<sockaddr*>(&addr), len), 0);
  getsockname(silent, reinterpret_cast<sockaddr*>(&addr), &len);
  listen(silent, 4);
  const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port)) + "/x";
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(Inet().OpenURL(url, {1000, 500}).status, Fetched::Status::Failed);
  EXPECT_LT(GetTickCount64() - start, 10000u);
  closesocket(silent);
  EXPECT_EQ(Inet().OpenURL(url, {3000, 3000}).status, Fetched::Status::Failed);
  WSACleanup();
}

// A cancel, or the program's quit (which stays queued for the outer loop).
TEST_F(InetSite, CancelOrQuitWhileWaitingEndsTheWaitAtOnce) {
  for (const TIMERPROC tick : {CancelWhenAsked, QuitWhenAsked}) {
    ASSERT_TRUE(site.Reset());
    ASSERT_TRUE(site.Fail("slow", kIcons[0], kSlow));
    Inet inet;
    g_inet = &inet;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, tick);
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(inet.OpenURL(Url(kIcons[0])).status, Fetched::Status::Cancelled);
    EXPECT_LT(GetTickCount64() - start, 10000u);
    KillTimer(nullptr, timer);
    MSG quit{};
    EXPECT_EQ(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE, tick == QuitWhenAsked);
    EXPECT_EQ(quit.wParam, tick == QuitWhenAsked ? 7u : 0u);
    EXPECT_EQ(inet.OpenURL(Url("/help.php")).body, body["/help.php"]);
  }
}

TEST_F(InetSite, IconsAskedForAheadRunTogetherAndOneCancelStopsThemAll) {
  ASSERT_TRUE(site.Fail("slow", "/icons/*", kSlow));
  Inet inet;
  for (const std::string& path : kIcons) inet.Prefetch(Url(path));
  // Every worker has its request at the site at the same time.
  for (const std::string& path : kIcons)
    ASSERT_TRUE(e2e::WaitUntil([&] { return site.Hits(path) == 1; }, 20000)) << path;
  g_inet = &inet;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, CancelWhenAsked);
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(inet.OpenURL(Url(kIcons[0])).status, Fetched::Status::Cancelled);
  KillTimer(nullptr, timer);
  // The others were cancelled with it: asking again starts afresh and is not held up.
  EXPECT_EQ(inet.OpenURL(Url("/help.php")).body, body["/help.php"]);
  EXPECT_LT(GetTickCount64() - start, 10000u);
  EXPECT_EQ(site.Hits("/help.php"), 1);
}

TEST_F(InetSite, APrefetchedReplyIsCollectedOnceAndInAnyOrder) {
  const std::string a = kIcons[0], b = kIcons[1];
  Inet inet;
  inet.Prefetch(Url(a));
  inet.Prefetch(Url(b));
  inet.Prefetch(Url(a));  // already under way
  EXPECT_EQ(inet.OpenURL(Url(b)).body, body[b]);
  EXPECT_EQ(inet.OpenURL(Url(a)).body, body[a]);
  EXPECT_EQ(site.Hits(a), 1);
  EXPECT_EQ(inet.OpenURL(Url(a)).body, body[a]);  // not left over: fetched again
  EXPECT_EQ(site.Hits(a), 2);
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
