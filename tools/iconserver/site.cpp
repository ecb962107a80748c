#include "site.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace iv::iconserver {
namespace {

namespace fs = std::filesystem;

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return std::string(text.substr(first, last - first + 1));
}

bool EndsWithGif(std::string_view name) {
  if (name.size() < 4) return false;
  std::string ext(name.substr(name.size() - 4));
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext == ".gif";
}

std::string Page(std::string_view title, std::string_view body) {
  std::string html =
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
      "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
      "<title>";
  html += HtmlEscape(title);
  html += "</title></head>\n<body bgcolor=\"#FFFFFF\">\n";
  html += body;
  html += "</body></html>\n";
  return html;
}

}  // namespace

std::string DottedName(std::string_view category) {
  std::string out(category);
  std::replace(out.begin(), out.end(), ' ', '.');
  return out;
}

std::vector<std::string> ListCategories(const fs::path& root) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_directory(ec)) continue;
    const std::string name = it->path().filename().string();
    if (name.empty() || name.find('.') != std::string::npos) continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::string> FindCategory(const fs::path& root, std::string_view dotted) {
  const std::string wanted = Trimmed(dotted);
  if (wanted.empty()) return std::nullopt;
  for (const std::string& name : ListCategories(root))
    if (DottedName(name) == wanted) return name;
  return std::nullopt;
}

bool IsIconFileName(std::string_view name) {
  return !name.empty() && name.front() != '.' && name.find('/') == std::string_view::npos &&
         name.find('\\') == std::string_view::npos && EndsWithGif(name);
}

std::vector<std::string> ListIcons(const fs::path& root, const std::string& category) {
  std::vector<std::string> files;
  std::error_code ec;
  for (fs::directory_iterator it(root / category, ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (it->is_regular_file(ec) && IsIconFileName(name)) files.push_back(name);
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string BaseUrl(std::string_view hostHeader, std::string_view fallback) {
  const std::string host = Trimmed(hostHeader);
  const bool plain = !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == ':' ||
           c == '[' || c == ']';
  });
  return "http://" + (plain ? host : std::string(fallback));
}

std::string IconUrl(std::string_view base, std::string_view category, std::string_view file) {
  return std::string(base) + "/icons/" + UrlEncode(DottedName(category)) + "/" +
         UrlEncode(file);
}

std::string ListUrl(std::string_view base, std::string_view category) {
  return std::string(base) + "/list.php?dir=" + UrlEncode(DottedName(category));
}

std::string PageUrl(std::string_view base, std::string_view category) {
  return std::string(base) + "/icons.php?dir=" + UrlEncode(DottedName(category));
}

std::string CategoryListText(const std::vector<std::string>& categories) {
  std::string text;
  for (const std::string& name : categories) text += name + "\r\n";
  return text;
}

std::string IconListText(std::string_view base, std::string_view category,
                         const std::vector<std::string>& icons) {
  std::string text = "[" + std::string(category) + "]\n";
  for (const std::string& file : icons) text += IconUrl(base, category, file) + "\n";
  return text;
}

std::string CategoryPage(std::string_view base, std::string_view category,
                         const std::vector<std::string>& icons) {
  const std::string addList = "<p><a href=\"" +
                              HtmlEscape("icvan:AddList?list=" + ListUrl(base, category)) +
                              "\">Add these Icons to Iconvane</a></p>\n";
  std::string body = "<h2>" + HtmlEscape(category) + "</h2>\n" + addList;
  body += "<p>Click an icon to add it to your Icon Library.</p>\n<p>\n";
  for (const std::string& file : icons) {
    const std::string url = IconUrl(base, category, file);
    body += "<a href=\"" + HtmlEscape("icvan:AddIcon?icon=" + url) + "\"><img src=\"" +
            HtmlEscape(url) + "\" width=\"48\" height=\"48\" border=\"0\" alt=\"" +
            HtmlEscape(file) + "\"></a>\n";
  }
  body += "</p>\n";
  if (icons.empty()) body += "<p>This category has no icons yet.</p>\n";
  return Page(std::string(category) + " - Buddy Icons", body + addList);
}

std::string HomePage(std::string_view base, const std::vector<std::string>& categories) {
  std::string body = "<h2>Buddy Icons</h2>\n<ul>\n";
  for (const std::string& name : categories)
    body += "<li><a href=\"" + HtmlEscape(PageUrl(base, name)) + "\">" + HtmlEscape(name) +
            "</a></li>\n";
  body += "</ul>\n<p><a href=\"/help.php\">Help</a></p>\n";
  return Page("Buddy Icons", body);
}

std::string HelpPage() {
  return Page("Help",
              "<h2>Help</h2>\n<p>Pick a category, then click an icon to add it to your "
              "Icon Library, or click \"Add these Icons to Iconvane\" to add the whole "
              "category.</p>\n");
}

std::string NotFoundPage(std::string_view path) {
  return Page("Not Found", "<h2>Not Found</h2>\n<p>" + HtmlEscape(path) +
                               " is not on this server.</p>\n");
}

std::string HtmlEscape(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string UrlEncode(std::string_view text) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

}  // namespace iv::iconserver
