// iconserver --root DIR [--port N] [--host 127.0.0.1] [--fail MODE:PATH]... [--log]
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "server.h"

namespace {

using namespace iv::iconserver;

int Usage() {
  std::cerr << "usage: iconserver --root DIR [--port N] [--host 127.0.0.1] "
               "[--fail MODE:PATH]... [--log]\n"
               "  MODE: 404, 500, html, empty, slow, truncate\n";
  return 2;
}

bool AddFailure(IconServer& server, const std::string& text) {
  const auto colon = text.find(':');
  if (colon == std::string::npos) return false;
  const auto mode = ParseFailMode(text.substr(0, colon));
  if (!mode) return false;
  server.Failures().Set(text.substr(colon + 1), Bounded(*mode, 200, 4), -1);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  ServerOptions options;
  int port = 0;
  std::vector<std::string> fails;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--root" && hasValue) {
      options.root = argv[++i];
    } else if (arg == "--port" && hasValue) {
      char* end = nullptr;
      const long value = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || value < 0 || value > 65535) return Usage();
      port = static_cast<int>(value);
    } else if (arg == "--host" && hasValue) {
      options.host = argv[++i];
    } else if (arg == "--fail" && hasValue) {
      fails.push_back(argv[++i]);
    } else if (arg == "--log") {
      options.log = true;
    } else {
      return Usage();
    }
  }
  if (options.root.empty()) return Usage();
  std::error_code ec;
  if (!std::filesystem::is_directory(options.root, ec)) {
    std::cerr << "iconserver: " << options.root << " is not a folder\n";
    return 1;
  }

  // Server threads inherit this mask, so only sigwait below sees the signals.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  IconServer server(options);
  for (const std::string& text : fails) {
    if (!AddFailure(server, text)) {
      std::cerr << "iconserver: bad --fail " << text << "\n";
      return Usage();
    }
  }
  std::string error;
  if (!server.Start(port, error)) {
    std::cerr << "iconserver: " << error << "\n";
    return 1;
  }
  std::cout << "listening on " << server.Address() << std::endl;

  int received = 0;
  sigwait(&signals, &received);
  server.Stop();
  return 0;
}
