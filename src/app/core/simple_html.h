// A reader for the small HTML subset of the welcome page: headings, paragraphs,
// line breaks, bold, italic and links. Anything else is dropped, so no script or
// network access is ever involved in showing the page.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace iv::app {

struct HtmlRun {
  std::string text;
  bool bold = false;
  bool italic = false;
  std::string href;  // non-empty inside a link
};

struct HtmlBlock {
  int heading = 0;  // 0 for a paragraph, 1-3 for h1-h3
  bool center = false;
  std::vector<HtmlRun> runs;
};

std::vector<HtmlBlock> ParseSimpleHtml(std::string_view html);

}  // namespace iv::app
