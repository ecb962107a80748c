// Command links ("icvan:" + command + "?" + key + "=" + URL) and the names an icon
// address gives. Text is UTF-8.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace iv::download {

inline constexpr std::string_view kScheme = "icvan";
inline constexpr std::string_view kAddIcon = "AddIcon";
inline constexpr std::string_view kAddList = "AddList";

// The link from a start's command line: surrounding blanks and one pair of enclosing
// quotes removed (the registered command quotes the link so that blanks survive).
// nullopt when it does not start with "icvan:" in any letter case.
std::optional<std::string> LinkFromCommandLine(std::string_view commandLine);

// The link from its 7th character on.
std::string StripScheme(std::string_view link);
// The text before the first "?", or empty without one.
std::string GetCommand(std::string_view rest);
// Everything after the first "=" that follows the first "?"; the whole text after
// the "?" without such an "="; empty without "?".
std::string GetArgument(std::string_view rest);

// Percent-escapes ("%26") replaced by their bytes, which are UTF-8; anything that is
// not a whole escape is kept as it is.
std::string PercentDecode(std::string_view text);

// The last path segment of an icon address, percent-decoded.
std::string FileNameFromURL(std::string_view url);
// The second-to-last path segment, "." read as a blank ("Funny.Cats" -> "Funny Cats"),
// then percent-decoded.
std::string CategoryFromURL(std::string_view url);

// An icon list split at line feeds: element 0 is unused, line k is element k. Text
// after the last line feed is dropped; one CR before each line feed goes with it.
std::vector<std::string> RefreshURLArray(std::string_view list);
// Line 1 of an icon list without its first and last character ("[Cats]" -> "Cats").
std::string ListCategory(std::string_view line);

// Only web addresses are fetched; a link must not make us read local files.
bool IsWebUrl(std::string_view url);

}  // namespace iv::download
