// The confirmation questions of the two deletions, in the message markup.
#pragma once
#include <string>
#include <string_view>

namespace iv::library {

// `category` is the category row's text.
std::string DeleteFolderPrompt(std::string_view category);
// `row` is the icon row's text with its leading blank, `category` the category row's.
std::string DeleteIconPrompt(std::string_view row, std::string_view category);

}  // namespace iv::library
