#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

#include <unistd.h>

#include "sample.h"
#include "server.h"

namespace iv::iconserver {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

class LiveSite : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = new fs::path(fs::path(::testing::TempDir()) /
                         ("iv-server-" + std::to_string(::getpid())));
    fs::remove_all(*root_);
    std::string error;
    ASSERT_TRUE(WriteSample(*root_, error)) << error;
    server_ = new IconServer(ServerOptions{*root_});
    ASSERT_TRUE(server_->Start(0, error)) << error;
  }
  static void TearDownTestSuite() {
    delete server_;
    fs::remove_all(*root_);
    delete root_;
  }
  void SetUp() override { ASSERT_TRUE(Get("/_reset")); }

  httplib::Client Client() const {
    httplib::Client client("127.0.0.1", server_->Port());
    client.set_read_timeout(std::chrono::seconds(20));
    return client;
  }
  httplib::Result Get(const std::string& target, const httplib::Headers& headers = {}) {
    return Client().Get(target, headers);
  }

  static fs::path* root_;
  static IconServer* server_;
};
fs::path* LiveSite::root_ = nullptr;
IconServer* LiveSite::server_ = nullptr;

TEST_F(LiveSite, FixedPagesAndUnknownAddresses) {
  for (const char* path : {"/", "/help.php"}) {
    const auto res = Get(path);
    ASSERT_TRUE(res) << path;
    EXPECT_EQ(res->status, 200) << path;
    EXPECT_EQ(res->get_header_value("Content-Type"), "text/html");
  }
  EXPECT_EQ(Get("/icons/Sports/ball-red.gif")->get_header_value("Content-Type"), "image/gif");
  const auto nothing = Get("/nothing.gif");
  ASSERT_TRUE(nothing);
  EXPECT_EQ(nothing->body.substr(0, 6), "GIF89a");
  for (const char* path :
       {"/nope", "/icons.php?dir=Nope", "/list.php", "/icons/Funny.Cats/missing.gif",
        "/icons/Funny.Cats/..%2F..%2F..%2Fetc%2Fpasswd", "/icons/../../etc/passwd",
        "/icons/Funny.Cats", "/icons/Funny%20Cats/cat-grey.gif"}) {
    const auto res = Get(path);
    ASSERT_TRUE(res) << path;
    EXPECT_EQ(res->status, 404) << path;
  }
}

// The program's site tests switch on 404, 500, html, slow and truncate for a path or
// a prefix, clear them, and count hits; these are the switches they leave out.
TEST_F(LiveSite, EmptyLimitedAndPerRequestSwitches) {
  ASSERT_TRUE(Get("/_fail?mode=empty&path=/iconvane.php"));
  EXPECT_EQ(Get("/iconvane.php")->body, "");
  EXPECT_EQ(Get("/iconvane.php")->body, "");
  EXPECT_EQ(Get("/list.php?dir=Sports")->status, 200) << "only the switched path fails";
  ASSERT_TRUE(Get("/_fail?mode=off&path=/iconvane.php"));
  EXPECT_NE(Get("/iconvane.php")->body, "");
  EXPECT_EQ(Get("/_fail?mode=bogus")->status, 400);

  ASSERT_TRUE(Get("/_fail?mode=500&path=/icons/*&times=2"));
  EXPECT_EQ(Get("/icons/Sports/ball-red.gif")->status, 500);
  EXPECT_EQ(Get("/icons/Smileys/smile-green.gif")->status, 500);
  EXPECT_EQ(Get("/icons/Sports/ball-red.gif")->status, 200);

  EXPECT_EQ(Get("/iconvane.php?_fail=404")->status, 404);
  EXPECT_EQ(Get("/iconvane.php")->status, 200);
}

TEST_F(LiveSite, TruncatedReplySendsHalfTheAnnouncedBodyThenCloses) {
  const std::string whole = Get("/list.php?dir=Smileys")->body;
  ASSERT_TRUE(Get("/_fail?mode=truncate&path=/list.php"));
  std::string received;
  const auto res = Client().Get("/list.php?dir=Smileys", [&](const char* data, size_t n) {
    received.append(data, n);
    return true;
  });
  EXPECT_FALSE(res);
  EXPECT_EQ(received, whole.substr(0, whole.size() / 2));
}

TEST(Failures, PatternsTurnsAndBounds) {
  FailureTable table;
  table.Set("*", Bounded(FailMode::ServerError, 0, 1), -1);
  table.Set("/a*", Bounded(FailMode::NotFound, 0, 1), 1);
  EXPECT_EQ(table.Take("/abc")->mode, FailMode::NotFound);
  EXPECT_EQ(table.Take("/abc")->mode, FailMode::ServerError);
  table.Clear("*");
  EXPECT_FALSE(table.Take("/abc"));

  const Failure slow = Bounded(FailMode::Slow, 1000000, 1000);
  EXPECT_EQ(slow.chunks, kMaxChunks);
  EXPECT_LE(slow.delayMs * slow.chunks, kMaxSlowTotalMs);
  EXPECT_EQ(Bounded(FailMode::Slow, -5, 0).delayMs, 0);
  EXPECT_EQ(ParseFailMode("truncate"), FailMode::Truncate);
  EXPECT_FALSE(ParseFailMode("TRUNCATE"));
}

TEST(Server, ListensOnLoopbackOnly) {
  EXPECT_TRUE(IsLoopbackHost("127.0.0.1"));
  EXPECT_TRUE(IsLoopbackHost("localhost"));
  EXPECT_FALSE(IsLoopbackHost("0.0.0.0"));
  EXPECT_FALSE(IsLoopbackHost("127.evil.com"));
  std::string error;
  IconServer open(ServerOptions{::testing::TempDir(), "0.0.0.0"});
  EXPECT_FALSE(open.Start(0, error));
  EXPECT_NE(error.find("loopback"), std::string::npos);

  IconServer first(ServerOptions{::testing::TempDir()});
  ASSERT_TRUE(first.Start(0, error)) << error;
  IconServer second(ServerOptions{::testing::TempDir()});
  EXPECT_FALSE(second.Start(first.Port(), error));
}

TEST(Server, StopEndsASlowReplyInProgress) {
  std::string error;
  IconServer server(ServerOptions{::testing::TempDir()});
  ASSERT_TRUE(server.Start(0, error)) << error;
  server.Failures().Set("/help.php", Bounded(FailMode::Slow, 10000, 3), -1);
  auto reply = std::async(std::launch::async, [&] {
    httplib::Client client("127.0.0.1", server.Port());
    return static_cast<bool>(client.Get("/help.php"));
  });
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (server.Hits("/help.php") == 0 && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_EQ(server.Hits("/help.php"), 1);
  const auto start = Clock::now();
  server.Stop();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  EXPECT_FALSE(reply.get());
}

}  // namespace
}  // namespace iv::iconserver
