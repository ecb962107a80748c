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

std::string FileNameFromURL(std::string_view url) {
  const size_t slash = url.rfind('/');
  return std::string(slash == std::string_view::npos ? url : url.substr(slash + 1));
}

std::string CategoryFromURL(std::string_view url) {
  const size_t last = url.rfind('/');
  if (last == std::string_view::npos || last == 0) return {};
  const size_t before = url.rfind('/', last - 1);
  const size_t start = before == std::string_view::npos ? 0 : before + 1;
  std::string category(url.substr(start, last - start));
  for (char& c : category)
    if (c == '.') c = ' ';
  return category;
}

std::vector<std::string> RefreshURLArray(std::string_view list) {
  std::vector<std::string> lines(1);
  for (size_t lf = list.find('\n'); lf != std::string_view::npos; lf = list.find('\n')) {
    lines.emplace_back(list.substr(0, lf));
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
