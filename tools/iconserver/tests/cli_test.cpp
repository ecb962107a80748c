// The server program's refusals. Its "listening on" line, --root and --port 0 are what
// with-iconserver.sh reads and passes for every site test of the program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <sys/wait.h>

namespace {

// The exit status; `timeout` makes an argument wrongly accepted end as 124, not hang.
int RunServer(const std::string& args) {
  const int status = std::system(("timeout 20 " IV_ICONSERVER_EXE " " + args + " >/dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Program, RefusesBadArguments) {
  const std::string tmp = ::testing::TempDir();
  EXPECT_EQ(RunServer("--port 0"), 2);
  EXPECT_EQ(RunServer("--root " + tmp + " --port 70000"), 2);
  EXPECT_EQ(RunServer("--root " + tmp + " --fail teapot:/"), 2);
  EXPECT_EQ(RunServer("--root " + tmp + " --host 0.0.0.0"), 1);
  EXPECT_EQ(RunServer("--root " + tmp + "/missing"), 1);
}

}  // namespace
