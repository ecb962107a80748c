#include "sim_core.h"

#include <array>
#include <cstdio>

#include "base/core/text.h"

namespace aimsim {

namespace {

bool TakesValue(std::string_view opt) {
  return opt == "--user" || opt == "--data" || opt == "--log" || opt == "--confirm-text" ||
         opt == "--ignore-select";
}

bool ParseCount(const std::string& text, int& out) {
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  out = std::stoi(text);
  return true;
}

}  // namespace

ParsedOptions ParseCommandLine(const std::vector<std::string>& args) {
  ParsedOptions r;
  Options& o = r.options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (TakesValue(a)) {
      if (i + 1 >= args.size()) {
        r.error = "missing value after " + a;
        return r;
      }
      const std::string& v = args[++i];
      if (a == "--user") o.user = v;
      if (a == "--data") o.dataDir = v;
      if (a == "--log") o.logPath = v;
      if (a == "--confirm-text") o.confirmText = v;
      if (a == "--ignore-select" && !ParseCount(v, o.ignoreSelects)) {
        r.error = "--ignore-select takes a count from 0 to 9999, not " + v;
        return r;
      }
      if (a == "--user" && NormalizeScreenName(v).empty()) {
        r.error = "the screen name is empty";
        return r;
      }
    } else if (a == "--confirm-other") {
      o.confirmOther = true;
    } else if (a == "--fetch-src") {
      o.fetchSrc = true;
    } else if (a == "--quit") {
      o.quit = true;
    } else if (a == "--no-register") {
      o.noRegister = true;
    } else if (iv::StartsWithNoCase(a, "aim:")) {
      o.link = a;
    } else {
      r.error = "unknown argument: " + a;
      return r;
    }
  }
  return r;
}

std::string AimLink::Param(std::string_view key) const {
  for (const auto& [k, v] : params)
    if (iv::EqualsNoCase(k, key)) return v;
  return {};
}

bool AimLink::IsBuddyIcon() const { return iv::EqualsNoCase(command, "BuddyIcon"); }

bool ParseAimLink(std::string_view text, AimLink& out) {
  const std::string trimmed = iv::Trim(text);
  if (!iv::StartsWithNoCase(trimmed, "aim:")) return false;
  std::string_view rest = std::string_view(trimmed).substr(4);
  // Browsers may hand the link on as "aim://Command?...".
  while (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
  const std::size_t q = rest.find('?');
  AimLink link;
  link.command = std::string(rest.substr(0, q));
  if (link.command.empty()) return false;
  if (q != std::string_view::npos) {
    // Src is itself a URL that may hold '&' or '='; only the first '=' splits a pair.
    for (const std::string& pair : iv::Split(rest.substr(q + 1), "&")) {
      if (pair.empty()) continue;
      const std::size_t eq = pair.find('=');
      if (eq == std::string::npos)
        link.params.emplace_back(pair, "");
      else
        link.params.emplace_back(pair.substr(0, eq), pair.substr(eq + 1));
    }
  }
  out = std::move(link);
  return true;
}

std::string CheckSrc(std::string_view src) {
  if (src.empty()) return "missing";
  std::size_t rest = 0;
  if (iv::StartsWithNoCase(src, "http://")) rest = 7;
  else if (iv::StartsWithNoCase(src, "https://")) rest = 8;
  else return "not-http";
  const std::size_t slash = src.find('/', rest);
  if (slash == rest || rest == src.size()) return "no-host";
  if (slash == std::string_view::npos || slash + 1 == src.size()) return "no-path";
  return "ok";
}

std::string NormalizeScreenName(std::string_view name) {
  std::string out;
  for (char c : iv::Trim(name))
    if (c != ' ') out += c;
  return iv::ToLowerAscii(out);
}

bool IsGif(std::string_view bytes) { return bytes.substr(0, 6) == "GIF87a" || bytes.substr(0, 6) == "GIF89a"; }

uint32_t Crc32(std::string_view bytes) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

std::string Hex8(uint32_t value) {
  char buf[9];
  std::snprintf(buf, sizeof buf, "%08x", static_cast<unsigned>(value));
  return buf;
}

Profile ProfileForVersion(int major) {
  // The click point of the category list differs by version; so do the item heights,
  // which is what makes a click at the wrong point land on the wrong category.
  if (major >= 5) return {16, "AOL Instant Messenger Preferences"};
  return {12, "AOL Instant Messenger (SM) Preferences"};
}

const std::vector<std::string>& PreferenceCategories() {
  static const std::vector<std::string> names = {
      "Buddy List",    "IM/Chat",     "Privacy",     "Away Messages", "Sign On/Off", "Connection", "Sounds",
      "File Transfer", "Buddy Icons", "Expressions", "Mail",          "Talk",        "Spell Check"};
  return names;
}

int ItemAtY(int y, int itemHeight, int itemCount) {
  if (y < 0 || itemHeight <= 0) return -1;
  const int item = y / itemHeight;
  return item < itemCount ? item : -1;
}

std::string ConfirmText(const AimLink& link, const Options& options) {
  if (!options.confirmText.empty()) return options.confirmText;
  if (link.IsBuddyIcon() && !options.confirmOther) {
    const std::string src = link.Param("Src");
    return "A web page wants to set your Buddy Icon to the picture at " + (src.empty() ? "(none)" : src) +
           ". Do you want to allow this?";
  }
  return "A web page wants to add a screen name to your Buddy List. Do you want to allow this?";
}

std::string_view BlankGif() {
  static const unsigned char gif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80,
                                      0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xff, 0xff, 0x21, 0xf9, 0x04,
                                      0x01, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x01,
                                      0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3b};
  return {reinterpret_cast<const char*>(gif), sizeof gif};
}

}  // namespace aimsim
