#include "library/core/categories.h"

namespace iv::library {

std::vector<std::string> ParseCategories(std::string_view text) {
  std::vector<std::string> cats(1);
  // The loop runs while a CR LF remains but cuts at each LF, so a final line that
  // ends in a bare LF is still read when a CR LF follows it somewhere.
  while (text.find("\r\n") != std::string_view::npos) {
    const size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    cats.emplace_back(line);
    text.remove_prefix(lf + 1);
  }
  return cats;
}

std::vector<std::string> LetterEntries() {
  std::vector<std::string> entries{"All"};
  for (char c = 'A'; c <= 'Z'; ++c) entries.emplace_back(1, c);
  return entries;
}

std::vector<std::string> FilterByLetter(const std::vector<std::string>& catArray, std::string_view entry) {
  std::vector<std::string> out;
  for (size_t i = 1; i < catArray.size(); ++i) {
    const std::string& name = catArray[i];
    // The update appends a line end to a list whose lines already end, which leaves
    // an empty name: it names no category, so it is not listed.
    if (name.empty()) continue;
    if (entry == "All" || (!entry.empty() && name.compare(0, entry.size(), entry) == 0)) out.push_back(name);
  }
  return out;
}

namespace {
bool IsPlain(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == '.' || c == '~' || c == '\'' || c == '(' || c == ')' || c == '!' || c == '*' || c == ',';
}
}  // namespace

std::string CategoryPagePath(std::string_view category) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string path = "/icons.php?dir=";
  for (const char ch : category) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == ' ') {
      path += '.';
    } else if (IsPlain(c)) {
      path += ch;
    } else {
      path += '%';
      path += kHex[c >> 4];
      path += kHex[c & 15];
    }
  }
  return path;
}

std::string CategoryPageAddress(std::string_view serverBase, std::string_view category) {
  if (!serverBase.empty() && serverBase.back() == '/') serverBase.remove_suffix(1);
  return std::string(serverBase) + CategoryPagePath(category);
}

std::optional<int> RowAfterDelete(int deleted, int remaining) {
  if (remaining <= 0 || deleted < 0) return std::nullopt;
  const int row = deleted == 0 ? 0 : deleted - 1;
  return row < remaining ? row : remaining - 1;
}

}  // namespace iv::library
