#include "app/core/simple_html.h"

#include "base/core/text.h"

namespace iv::app {

namespace {

std::string DecodeEntities(std::string_view s) {
  static const std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}, {"&nbsp;", ' '}};
  std::string out;
  for (size_t i = 0; i < s.size();) {
    bool matched = false;
    if (s[i] == '&') {
      for (const auto& [name, c] : kEntities) {
        if (s.substr(i, name.size()) == name) {
          out += c;
          i += name.size();
          matched = true;
          break;
        }
      }
    }
    if (!matched) out += s[i++];
  }
  return out;
}

std::string AttributeValue(std::string_view tag, std::string_view name) {
  const std::string lower = ToLowerAscii(tag);
  const size_t at = lower.find(std::string(name) + "=");
  if (at == std::string::npos) return {};
  size_t start = at + name.size() + 1;
  if (start >= tag.size()) return {};
  const char quote = tag[start];
  if (quote == '"' || quote == '\'') {
    const size_t end = tag.find(quote, start + 1);
    return std::string(tag.substr(start + 1, end == std::string_view::npos ? std::string_view::npos : end - start - 1));
  }
  const size_t end = tag.find_first_of(" >", start);
  return std::string(tag.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

}  // namespace

std::vector<HtmlBlock> ParseSimpleHtml(std::string_view html) {
  std::vector<HtmlBlock> blocks(1);
  int bold = 0, italic = 0;
  bool skip = false;  // inside <head>, <script> or <style>
  std::string href;
  auto newBlock = [&](int heading, bool center) {
    if (!blocks.back().runs.empty()) blocks.emplace_back();
    blocks.back().heading = heading;
    blocks.back().center = center;
  };
  auto addText = [&](std::string_view raw) {
    if (skip) return;
    std::string text;
    bool space = false;
    for (char c : raw) {
      if (c == '\r' || c == '\n' || c == '\t' || c == ' ') {
        space = true;
      } else {
        if (space && (!text.empty() || !blocks.back().runs.empty())) text += ' ';
        space = false;
        text += c;
      }
    }
    if (space && !text.empty()) text += ' ';
    if (text.empty()) return;
    HtmlRun run{DecodeEntities(text), bold > 0, italic > 0, href};
    blocks.back().runs.push_back(std::move(run));
  };

  size_t i = 0;
  while (i < html.size()) {
    const size_t lt = html.find('<', i);
    addText(html.substr(i, lt == std::string_view::npos ? std::string_view::npos : lt - i));
    if (lt == std::string_view::npos) break;
    const size_t gt = html.find('>', lt);
    if (gt == std::string_view::npos) break;
    const std::string_view tag = html.substr(lt + 1, gt - lt - 1);
    i = gt + 1;
    const bool closing = !tag.empty() && tag[0] == '/';
    std::string name = ToLowerAscii(tag.substr(closing ? 1 : 0, tag.find_first_of(" /\t\r\n", closing ? 1 : 0) -
                                                                  (closing ? 1 : 0)));
    if (name == "head" || name == "script" || name == "style") skip = !closing;
    else if (name == "b" || name == "strong") bold += closing ? (bold > 0 ? -1 : 0) : 1;
    else if (name == "i" || name == "em") italic += closing ? (italic > 0 ? -1 : 0) : 1;
    else if (name == "a") href = closing ? std::string() : AttributeValue(tag, "href");
    else if (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '3')
      newBlock(closing ? 0 : name[1] - '0', false);
    else if (name == "p" || name == "div" || name == "center" || name == "br" || name == "li")
      newBlock(0, !closing && (name == "center" || ToLowerAscii(tag).find("center") != std::string::npos));
  }
  if (blocks.back().runs.empty() && blocks.size() > 1) blocks.pop_back();
  return blocks;
}

}  // namespace iv::app
