#include "http_stub.h"

namespace iv::download::testing {

HttpStub::HttpStub() : stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int len = sizeof(addr);
  bind(listener_, reinterpret_cast<sockaddr*>(&addr), len);
  getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
  port_ = ntohs(addr.sin_port);
  listen(listener_, 16);
  thread_ = std::thread([this] {
    // One thread per connection, so a slow reply does not hold up the others.
    for (SOCKET c; (c = accept(listener_, nullptr, nullptr)) != INVALID_SOCKET;)
      std::thread([this, c] { Serve(c); }).detach();
  });
}

HttpStub::~HttpStub() {
  SetEvent(stop_);
  closesocket(listener_);
  thread_.join();
}

void HttpStub::Set(const std::string& path, Reply reply) {
  std::lock_guard lock(mutex_);
  replies_[path] = std::move(reply);
}

int HttpStub::Hits(const std::string& path) {
  std::lock_guard lock(mutex_);
  return hits_[path];
}

HANDLE HttpStub::Asked(const std::string& path) {
  std::lock_guard lock(mutex_);
  HANDLE& e = asked_[path];
  if (!e) e = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  return e;
}

void HttpStub::Serve(SOCKET client) {
  std::string request;
  char buf[4096];
  for (int n; request.find("\r\n\r\n") == std::string::npos && (n = recv(client, buf, sizeof(buf), 0)) > 0;)
    request.append(buf, n);
  const size_t start = request.find(' ') + 1;
  const std::string path = request.substr(start, request.find(' ', start) - start);
  Reply reply{404, "<html>not found</html>"};
  HANDLE stop;
  {
    std::lock_guard lock(mutex_);
    if (auto it = replies_.find(path); it != replies_.end()) reply = it->second;
    ++hits_[path];
    if (auto it = asked_.find(path); it != asked_.end()) SetEvent(it->second);
    stop = stop_;
  }
  if (reply.pauseMs > 0) WaitForSingleObject(stop, reply.pauseMs);
  const std::string out = "HTTP/1.0 " + std::to_string(reply.status) + " X\r\nContent-Length: " +
                          std::to_string(reply.body.size()) + "\r\nConnection: close\r\n\r\n" + reply.body;
  send(client, out.data(), static_cast<int>(out.size()), 0);
  shutdown(client, SD_SEND);
  closesocket(client);
}

}  // namespace iv::download::testing
