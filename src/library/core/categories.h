// The icon server's category list ("Categories.dat") and the letter filter over it.
// The file is UTF-8, or 8-bit text in the system code page when it is not valid UTF-8;
// these functions work on its bytes unchanged.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace iv::library {

// The category array: index 0 is always empty, categories start at index 1. One
// name per line ending in CR LF; text after the last CR LF is not read. The CR the
// LF split leaves at the end of each name is dropped.
std::vector<std::string> ParseCategories(std::string_view fileText);

// The letter box entries: "All", then "A" to "Z".
std::vector<std::string> LetterEntries();

// Categories listed for a letter box entry: every one for "All", otherwise those whose
// first character is exactly the entry (case-sensitive).
std::vector<std::string> FilterByLetter(const std::vector<std::string>& catArray, std::string_view entry);

// "/icons.php?dir=" + the category with blanks written as "."; other characters that
// would end or change the query are percent-encoded.
std::string CategoryPagePath(std::string_view category);
// The server's base address (a trailing "/" is dropped) followed by the page path.
std::string CategoryPageAddress(std::string_view serverBase, std::string_view category);

// Which row to select after deleting row `deleted` (0-based) of a list that now has
// `remaining` rows: the row above, or the new first row when the first was deleted.
std::optional<int> RowAfterDelete(int deleted, int remaining);

}  // namespace iv::library
