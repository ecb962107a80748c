#include "icon_site.h"

#include <winsock2.h>

#include <cstdlib>
#include <cstring>

namespace iv::download::testing {

namespace {

// "http://127.0.0.1:PORT" -> PORT; 0 for anything else.
int PortOf(const char* base) {
  constexpr char kPrefix[] = "http://127.0.0.1:";
  if (!base || std::strncmp(base, kPrefix, sizeof(kPrefix) - 1) != 0) return 0;
  return std::atoi(base + sizeof(kPrefix) - 1);
}

// Query values here are plain paths: only the characters a query cannot hold.
std::string Escape(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c == ' ' || c == '&' || c == '?' || c == '#' || c == '%' || c == '+' || c < 0x20 || c >= 0x7f) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

IconSite::IconSite() {
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) == 0) port_ = PortOf(std::getenv("IV_ICON_SERVER"));
}

IconSite::~IconSite() { WSACleanup(); }

SiteReply IconSite::Get(const std::string& target) const {
  SiteReply reply;
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return reply;
  // A dead server must fail the test, not hang it.
  const DWORD timeout = 30000;
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = htons(static_cast<u_short>(port_));
  std::string raw;
  if (connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0) {
    const std::string request = "GET " + target + " HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(port_) +
                                "\r\nConnection: close\r\n\r\n";
    send(s, request.data(), static_cast<int>(request.size()), 0);
    char buf[8192];
    for (int n; (n = recv(s, buf, sizeof(buf), 0)) > 0;) raw.append(buf, n);
  }
  closesocket(s);
  const size_t head = raw.find("\r\n\r\n");
  if (raw.compare(0, 5, "HTTP/") != 0 || head == std::string::npos) return reply;
  const size_t blank = raw.find(' ');
  reply.status = std::atoi(raw.c_str() + blank + 1);
  reply.body = raw.substr(head + 4);
  return reply;
}

bool IconSite::Fail(const std::string& mode, const std::string& path, const std::string& extra) const {
  return Get("/_fail?mode=" + mode + "&path=" + Escape(path) + extra).status == 200;
}

int IconSite::Hits(const std::string& path) const {
  const SiteReply r = Get("/_hits?path=" + Escape(path));
  return r.status == 200 ? std::atoi(r.body.c_str()) : -1;
}

bool IconSite::Reset() const { return Get("/_reset").status == 200; }

}  // namespace iv::download::testing
