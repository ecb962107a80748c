// The local icon site the test run was started with (IV_ICON_SERVER): plain GET
// requests for its pages and its control addresses (failure switches, hit counts).
#pragma once
#include <string>

namespace iv::download::testing {

struct SiteReply {
  int status = 0;  // 0: no connection
  std::string body;
};

class IconSite {
 public:
  IconSite();
  ~IconSite();
  IconSite(const IconSite&) = delete;
  IconSite& operator=(const IconSite&) = delete;

  // False when the run was started without a site.
  bool available() const { return port_ != 0; }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }
  SiteReply Get(const std::string& target) const;

  // A failure switch for later requests of path; extra is appended to the query.
  bool Fail(const std::string& mode, const std::string& path, const std::string& extra = "") const;
  bool Clear(const std::string& path) const { return Fail("off", path); }
  int Hits(const std::string& path) const;
  bool Reset() const;

 private:
  int port_ = 0;
};

}  // namespace iv::download::testing
