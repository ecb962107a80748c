#include "download/core/link.h"

#include "base/core/text.h"

namespace iv::download {

std::optional<std::string> LinkFromCommandLine(std::string_view commandLine) {
  std::string link = Trim(commandLine);
  if (link.size() >= 2 && link.front() == '"' && link.back() == '"') link = link.substr(1, link.size() - 2);
  if (!StartsWithNoCase(link, std::string(kScheme) + ":")) return std::nullopt;
  return link;
}

std::string StripScheme(std::string_view link) {
  constexpr size_t kPrefix = kScheme.size() + 1;
  return link.size() > kPrefix ? std::string(link.substr(kPrefix)) : std::string();
}

std::string GetCommand(std::string_view rest) {
  const size_t q = rest.find('?');
  return q == std::string_view::npos ? std::string() : std::string(rest.substr(0, q));
}

std::string GetArgument(std::string_view rest) {
  const size_t q = rest.find('?');
  if (q == std::string_view::npos) return {};
  const std::string_view after = rest.substr(q + 1);
  const size_t eq = after.find('=');
  return std::string(eq == std::string_view::npos ? after : after.substr(eq + 1));
}

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const int hi = text[i] == '%' && i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
    const int lo = hi >= 0 ? HexValue(text[i + 2]) : -1;
    if (lo < 0) {
      out += text[i];
      continue;
    }
    out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return out;
}

std::string FileNameFromURL(std::string_view url) {
  const size_t slash = url.rfind('/');
  return PercentDecode(slash == std::string_view::npos ? url : url.substr(slash + 1));
}

std::string CategoryFromURL(std::string_view url) {
  const size_t last = url.rfind('/');
  if (last == std::string_view::npos || last == 0) return {};
  const size_t before = url.rfind('/', last - 1);
  const size_t start = before == std::string_view::npos ? 0 : before + 1;
  // Dots first: the server writes blanks as "." and a real dot as "%2E".
  std::string category(url.substr(start, last - start));
  for (char& c : category)
    if (c == '.') c = ' ';
  return PercentDecode(category);
}

std::vector<std::string> RefreshURLArray(std::string_view list) {
  std::vector<std::string> lines(1);
  for (size_t lf = list.find('\n'); lf != std::string_view::npos; lf = list.find('\n')) {
    std::string_view line = list.substr(0, lf);
    if (line.ends_with('\r')) line.remove_suffix(1);  // CR LF line ends
    lines.emplace_back(line);
    list.remove_prefix(lf + 1);
  }
  return lines;
}

std::string ListCategory(std::string_view line) {
  return line.size() >= 2 ? std::string(line.substr(1, line.size() - 2)) : std::string();
}

bool IsWebUrl(std::string_view url) {
  return StartsWithNoCase(url, "http://") || StartsWithNoCase(url, "https://");
}

}  // namespace iv::download
