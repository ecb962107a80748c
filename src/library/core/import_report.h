// The texts of importing pictures, in the message markup.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace iv::library {

// The question that chooses the category; the input box offers the selected one.
std::string ImportCategoryPrompt(int pictures);
// The answer to a category name the library cannot hold.
std::string BadCategoryPrompt(std::string_view name);

// What became of one picture.
struct ImportLine {
  std::string file;    // the picture's file name
  bool imported = false;
  std::string detail;  // why it was not imported, or what was given up to make it fit
};

// The summary after an import: how many pictures went into which category, each
// refusal with its reason and each reduction. At most `maxLines` lines are listed.
std::string ImportSummary(const std::vector<ImportLine>& lines, int total, std::string_view category,
                          bool cancelled, size_t maxLines = 12);

// The text with "~" written as "-", so names cannot switch the markup.
std::string MarkupSafe(std::string_view text);

}  // namespace iv::library
