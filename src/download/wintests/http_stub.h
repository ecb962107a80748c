// A tiny HTTP server on 127.0.0.1 inside the test process: fixed replies by path,
// optionally slow; it tells when a path has been asked for.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace iv::download::testing {

struct Reply {
  int status = 200;
  std::string body;
  int pauseMs = 0;  // before the reply: a slow server
};

class HttpStub {
 public:
  HttpStub();
  ~HttpStub();
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }
  void Set(const std::string& path, Reply reply);
  int Hits(const std::string& path);
  // Set once 'path' has been asked for.
  HANDLE Asked(const std::string& path);

 private:
  void Serve(SOCKET client);
  SOCKET listener_;
  int port_ = 0;
  HANDLE stop_;  // ends pauses; left open for replies still running
  std::mutex mutex_;
  std::map<std::string, Reply> replies_;
  std::map<std::string, int> hits_;
  std::map<std::string, HANDLE> asked_;
  std::thread thread_;
};

}  // namespace iv::download::testing
