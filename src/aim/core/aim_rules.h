// The portable rules of the AIM integration: how screen names match, how the
// version decides the apply method and the click point, and how paths are formed.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace iv::aim {

// Trimmed, lower case, with the blanks inside removed.
std::string NormalizeScreenName(std::string_view name);

// The numeric value of a version text: leading blanks skipped, digits and at most
// one decimal point; 0 without a leading number. Correctly rounded, so "4.7"
// compares equal to 4.7.
double VersionNumber(std::string_view text);

// The version text without its last dot-separated part; nullopt without any dot.
std::optional<std::string> CutLastVersionPart(std::string_view version);

inline constexpr double kPreferencesMethodFrom = 4.7;
inline constexpr double kNewListLayoutFrom = 5.0;

// Below 4.7 AIM takes its icon from "picture.id"; from 4.7 on through Preferences.
bool UsesPreferencesMethod(double aimVersion);

struct ClickPoint {
  int x;
  int y;
};
// Where the "Buddy Icons" entry of the Preferences category list is clicked.
ClickPoint CategoryClickPoint(double aimVersion);

// high * 65536 + low, each taken as 16 bits.
int32_t MakeLong(int low, int high);

// 2 hidden, else 1 read-only, else 0; no other bit matters.
int AttrKind(uint32_t attributes);

// The question AIM asks about a buddy icon (case-sensitive).
bool IsBuddyIconQuestion(std::string_view text);

// Value names of AIM's Users key that are screen names ("<" marks others).
bool IsUserValueName(std::string_view name);

// Index (1-based, into users with index 0 unused) of the last entry matching the
// logged-in screen name; 0 when none does.
size_t LastMatchingUser(const std::vector<std::string>& users, std::string_view screenName);
// Every matching index, in order.
std::vector<size_t> MatchingUsers(const std::vector<std::string>& users, std::string_view screenName);

// dataPath "\" user "\picture.id".
std::string PictureIdPath(std::string_view dataPath, std::string_view user);

// A path without ":\" is taken as relative to the program folder.
std::string CompleteIconPath(std::string_view path, std::string_view programFolder);

// Fixed waits of one apply, in milliseconds (what a run cannot be shorter than).
inline constexpr int kPictureWaitsManual = 100 + 200 + 3000;
inline constexpr int kPictureWaitsScheduled = 200 + 3000;
// 50 + 800 before browsing, 800 after typing the path.
inline constexpr int kPreferencesWaits = 50 + 800 + 800;

}  // namespace iv::aim
