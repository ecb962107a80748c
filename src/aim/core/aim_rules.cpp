#include "aim/core/aim_rules.h"

#include <charconv>

#include "base/core/text.h"

namespace iv::aim {

std::string NormalizeScreenName(std::string_view name) {
  std::string out;
  for (char c : ToLowerAscii(Trim(name)))
    if (c != ' ') out += c;
  return out;
}

double VersionNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  size_t end = i;
  bool point = false;
  while (end < text.size() && ((text[end] >= '0' && text[end] <= '9') || (text[end] == '.' && !point))) {
    point |= text[end] == '.';
    ++end;
  }
  std::string number(text.substr(i, end - i));
  if (number.empty() || number == ".") return 0;
  if (number.front() == '.') number.insert(number.begin(), '0');
  double value = 0;
  std::from_chars(number.data(), number.data() + number.size(), value);
  return value;
}

std::optional<std::string> CutLastVersionPart(std::string_view version) {
  const size_t dot = version.rfind('.');
  if (dot == std::string_view::npos) return std::nullopt;
  return std::string(version.substr(0, dot));
}

bool UsesPreferencesMethod(double aimVersion) { return aimVersion >= kPreferencesMethodFrom; }

ClickPoint CategoryClickPoint(double aimVersion) {
  return aimVersion >= kNewListLayoutFrom ? ClickPoint{55, 134} : ClickPoint{35, 102};
}

int32_t MakeLong(int low, int high) {
  const uint32_t value = (static_cast<uint32_t>(high) & 0xFFFFu) << 16 | (static_cast<uint32_t>(low) & 0xFFFFu);
  return static_cast<int32_t>(value);
}

int AttrKind(uint32_t attributes) {
  if (attributes & 2u) return 2;
  if (attributes & 1u) return 1;
  return 0;
}

bool IsBuddyIconQuestion(std::string_view text) { return text.find("Buddy Icon") != std::string_view::npos; }

bool IsUserValueName(std::string_view name) { return name.find('<') == std::string_view::npos; }

std::vector<size_t> MatchingUsers(const std::vector<std::string>& users, std::string_view screenName) {
  std::vector<size_t> out;
  const std::string wanted = NormalizeScreenName(screenName);
  for (size_t i = 1; i < users.size(); ++i)
    if (NormalizeScreenName(users[i]) == wanted) out.push_back(i);
  return out;
}

size_t LastMatchingUser(const std::vector<std::string>& users, std::string_view screenName) {
  const auto all = MatchingUsers(users, screenName);
  return all.empty() ? 0 : all.back();
}

std::string PictureIdPath(std::string_view dataPath, std::string_view user) {
  return std::string(dataPath) + "\\" + std::string(user) + "\\picture.id";
}

std::string CompleteIconPath(std::string_view path, std::string_view programFolder) {
  if (path.find(":\\") != std::string_view::npos) return std::string(path);
  // The folder has no trailing backslash; a relative path may or may not start with one.
  const bool joined = !path.empty() && path.front() == '\\';
  return std::string(programFolder) + (joined ? "" : "\\") + std::string(path);
}

}  // namespace iv::aim
