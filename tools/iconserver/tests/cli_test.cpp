// The server program as other tests start it: arguments, the "listening on" line
// they read, and a clean end on SIGTERM.
#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <regex>
#include <string>
#include <vector>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "sample.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

class Program {
 public:
  explicit Program(std::vector<std::string> args) {
    args.insert(args.begin(), IV_ICONSERVER_EXE);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int fds[2];
    if (pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    out_ = fds[0];
  }
  ~Program() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) close(out_);
  }

  // The first line of standard output, waiting at most the deadline.
  std::string FirstLine(std::chrono::milliseconds deadline) {
    std::string line;
    const auto end = std::chrono::steady_clock::now() + deadline;
    char c;
    while (std::chrono::steady_clock::now() < end) {
      pollfd p{out_, POLLIN, 0};
      if (poll(&p, 1, 100) <= 0) continue;
      if (read(out_, &c, 1) != 1 || c == '\n') break;
      line += c;
    }
    return line;
  }

  // The exit status, or -1 when the program has not ended by the deadline.
  int Wait(std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    int status = 0;
    // Polls with short pauses: waitpid has no timeout of its own.
    while (std::chrono::steady_clock::now() < end) {
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      usleep(20000);
    }
    return -1;
  }
  void Signal(int sig) { kill(pid_, sig); }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
};

TEST(Program, AnnouncesItsAddressServesAndEndsOnSigterm) {
  const fs::path root = fs::path(::testing::TempDir()) / ("iv-cli-" + std::to_string(getpid()));
  std::string error;
  ASSERT_TRUE(iv::iconserver::WriteSample(root, error)) << error;
  Program server({"--root", root.string(), "--port", "0", "--fail", "500:/help.php"});
  const std::string line = server.FirstLine(std::chrono::seconds(20));
  std::smatch m;
  ASSERT_TRUE(std::regex_match(line, m, std::regex(R"(listening on http://127\.0\.0\.1:(\d+))")))
      << line;
  httplib::Client client("127.0.0.1", std::stoi(m[1]));
  const auto list = client.Get("/iconvane.php");
  ASSERT_TRUE(list);
  EXPECT_EQ(list->body.substr(0, 12), "Funny Cats\r\n");
  EXPECT_EQ(client.Get("/help.php")->status, 500);
  server.Signal(SIGTERM);
  EXPECT_EQ(server.Wait(std::chrono::seconds(20)), 0);
  fs::remove_all(root);
}

TEST(Program, RefusesBadArguments) {
  const std::string tmp = ::testing::TempDir();
  EXPECT_EQ(Program({"--port", "0"}).Wait(std::chrono::seconds(20)), 2);
  EXPECT_EQ(Program({"--root", tmp, "--port", "70000"}).Wait(std::chrono::seconds(20)), 2);
  EXPECT_EQ(Program({"--root", tmp, "--fail", "teapot:/"}).Wait(std::chrono::seconds(20)), 2);
  EXPECT_EQ(Program({"--root", tmp, "--host", "0.0.0.0"}).Wait(std::chrono::seconds(20)), 1);
  EXPECT_EQ(Program({"--root", tmp + "/missing"}).Wait(std::chrono::seconds(20)), 1);
}

}  // namespace
