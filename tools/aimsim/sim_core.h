// Portable logic of the AIM stand-in: its command line, its "aim:" links, the checks it
// makes on icon files and the fixed look of its dialogs. No <windows.h> here.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace aimsim {

struct Options {
  std::string user = "Test User";  // blank and capitals, so callers must normalise
  std::string dataDir;             // empty: "AIM Data" beside the executable
  std::string logPath;             // empty: "aimsim.log" beside the data folder
  std::string link;                // an "aim:" link given on the command line
  std::string confirmText;         // replaces the confirmation question when set
  bool confirmOther = false;       // ask about something other than the buddy icon
  bool fetchSrc = false;           // overwrite a writable picture.id as if Src were fetched
  int ignoreSelects = 0;           // presses of "&Select" that leave the chooser open
  bool quit = false;               // close the running simulator and exit
  bool noRegister = false;         // leave the "aim" URL scheme alone
};

struct ParsedOptions {
  Options options;
  std::string error;  // empty when the command line was understood
};

// Arguments without the program name, UTF-8.
ParsedOptions ParseCommandLine(const std::vector<std::string>& args);

// A link "aim:Command?Key=Value&Key=Value". The scheme is matched in any letter case.
struct AimLink {
  std::string command;
  std::vector<std::pair<std::string, std::string>> params;
  // The value of a parameter, key matched in any letter case; empty when missing.
  std::string Param(std::string_view key) const;
  bool IsBuddyIcon() const;
};
bool ParseAimLink(std::string_view text, AimLink& out);

// What the messenger makes of a buddy icon's Src before fetching it: "ok" for an
// http or https address with a host and a path, else the reason ("missing",
// "not-http", "no-host", "no-path").
std::string CheckSrc(std::string_view src);

// Trimmed, lower case, no blanks: the form the data folder of a user is named by.
std::string NormalizeScreenName(std::string_view name);

// GIF87a or GIF89a signature.
bool IsGif(std::string_view bytes);

uint32_t Crc32(std::string_view bytes);
std::string Hex8(uint32_t value);

// What each build looks like: item height of the category list and the dialog title.
struct Profile {
  int itemHeight;
  const char* prefsTitle;
};
Profile ProfileForVersion(int major);

// Categories of the Preferences list; "Buddy Icons" is item 8.
const std::vector<std::string>& PreferenceCategories();
constexpr int kBuddyIconsItem = 8;

// The item under a client y of the list (no scrolling), or -1.
int ItemAtY(int y, int itemHeight, int itemCount);

// Text of the "Confirm action" question for a link.
std::string ConfirmText(const AimLink& link, const Options& options);

// Largest icon file the simulator reads; larger files are refused.
constexpr std::size_t kMaxIconBytes = 1 << 20;

// A 1x1 transparent GIF: the initial picture.id and the picture "fetched" from Src.
std::string_view BlankGif();

}  // namespace aimsim
