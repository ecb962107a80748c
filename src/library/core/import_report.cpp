#include "library/core/import_report.h"

namespace iv::library {

namespace {
constexpr const char* kHeading = "~b~c#3E9CEA";
constexpr const char* kBody = "~b~c#000000";

std::string Pictures(int n) { return std::to_string(n) + (n == 1 ? " picture" : " pictures"); }
}  // namespace

std::string MarkupSafe(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '~') c = '-';
  return out;
}

std::string ImportCategoryPrompt(int pictures) {
  return std::string(kHeading) + "Import Pictures" + kBody + "~nImport " + Pictures(pictures) +
         " into which category?  Type a new name to make a new category.";
}

std::string BadCategoryPrompt(std::string_view name) {
  return std::string(kHeading) + "Import Pictures" + kBody + "~nThe category name ~b" + MarkupSafe(name) +
         "~b cannot be used.  Names cannot hold \\ / : * ? \" < > | or end in a dot or a blank.";
}

std::string ImportSummary(const std::vector<ImportLine>& lines, int total, std::string_view category,
                          bool cancelled, size_t maxLines) {
  int imported = 0;
  for (const ImportLine& l : lines) imported += l.imported ? 1 : 0;
  std::string text = std::string(kHeading) + (cancelled ? "Import Cancelled" : "Import Pictures") + kBody + "~n";
  const std::string into = " imported into category ~b" + MarkupSafe(category) + "~b.";
  if (imported == 0)
    text += "No picture was imported.";
  else if (imported == total)
    text += (total == 1 ? std::string("The picture was") : "All " + Pictures(total) + " were") + into;
  else
    text += std::to_string(imported) + " of " + Pictures(total) + (imported == 1 ? " was" : " were") + into;
  size_t listed = 0, left = 0;
  for (const ImportLine& l : lines) {
    if (l.detail.empty()) continue;
    if (listed == maxLines) {
      ++left;
      continue;
    }
    ++listed;
    text += "~n~b" + MarkupSafe(l.file) + "~b" + (l.imported ? ": " : " was not imported: ") + MarkupSafe(l.detail) +
            ".";
  }
  if (left > 0) text += "~n...and " + std::to_string(left) + " more.";
  return text;
}

}  // namespace iv::library
