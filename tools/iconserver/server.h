// The local icon site: serves a folder of categories over HTTP on a loopback
// address, with switchable failures for tests.
#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "failures.h"

namespace iv::iconserver {

struct ServerOptions {
  std::filesystem::path root;       // holds one folder per category
  std::string host = "127.0.0.1";   // must be a loopback address
  bool log = false;                 // one line per request on stderr
};

// True for "localhost", "::1" and 127.x.x.x: the site is for this machine only.
bool IsLoopbackHost(std::string_view host);

class IconServer {
 public:
  explicit IconServer(ServerOptions options);
  ~IconServer();
  IconServer(const IconServer&) = delete;
  IconServer& operator=(const IconServer&) = delete;

  // Binds (port 0 picks a free port) and serves on a background thread; once only.
  // False with a reason when the host is not loopback or the port is taken.
  bool Start(int port, std::string& error);
  // Ends slow replies in progress, closes the socket and joins the thread.
  void Stop();

  int Port() const;
  std::string Address() const;  // "http://127.0.0.1:PORT"
  FailureTable& Failures();
  int Hits(const std::string& path) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace iv::iconserver
