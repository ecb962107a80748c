// The icon site's content, generated from a folder: root/<Category Name>/*.gif.
// Pure functions of the folder and the request's address; no networking here.
#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace iv::iconserver {

// A category as it appears in addresses: every blank written as ".".
std::string DottedName(std::string_view category);

// Category folders under root, sorted. Hidden folders and folders whose names
// hold a "." (it could not survive the dotted address form) are left out.
std::vector<std::string> ListCategories(const std::filesystem::path& root);

// The category folder named by a dotted address part; surrounding blanks and line
// ends are ignored (callers may carry a CR over from the category list).
std::optional<std::string> FindCategory(const std::filesystem::path& root,
                                        std::string_view dotted);

// The ".gif" files (any letter case) of a category folder, sorted.
std::vector<std::string> ListIcons(const std::filesystem::path& root,
                                   const std::string& category);

// True when name is a plain icon file name: no folder parts, not hidden, ".gif".
bool IsIconFileName(std::string_view name);

// "http://" + the request's Host header, or fallback when the header is missing
// or holds anything but host-name characters (it is echoed into pages).
std::string BaseUrl(std::string_view hostHeader, std::string_view fallback);

std::string IconUrl(std::string_view base, std::string_view category, std::string_view file);
std::string ListUrl(std::string_view base, std::string_view category);
std::string PageUrl(std::string_view base, std::string_view category);

// One category per line, every line ending in CR LF.
std::string CategoryListText(const std::vector<std::string>& categories);
// "[" + category + "]", then one absolute icon address per line; LF line ends.
std::string IconListText(std::string_view base, std::string_view category,
                         const std::vector<std::string>& icons);

std::string CategoryPage(std::string_view base, std::string_view category,
                         const std::vector<std::string>& icons);
std::string HomePage(std::string_view base, const std::vector<std::string>& categories);
std::string HelpPage();
std::string NotFoundPage(std::string_view path);

std::string HtmlEscape(std::string_view text);
std::string UrlEncode(std::string_view text);

}  // namespace iv::iconserver
