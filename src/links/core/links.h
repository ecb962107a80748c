// The web links of the main window: the command bar's tools and what each opens,
// the maker's and the other product's sites, the donation page and the texts of
// the promotion button and the about box.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/core/store.h"

namespace iv::links {

inline constexpr std::string_view kMakerSite = "http://www.dravolt.example";
inline constexpr std::string_view kZephyrchatSite = "http://www.zephyrchat.example";
inline constexpr std::string_view kPaymentSite = "https://www.payments.example";
inline constexpr std::string_view kPaymentAccount = "donate%40dravolt.example";

inline constexpr std::string_view kVersion = "1.2.0";

std::string MakerUrl(std::string_view path);
std::string ZephyrchatUrl(std::string_view path);
std::string DonationUrl();

// "Iconvane: V " and the version.
std::string AboutTitle();
// The licence text of the about box.
std::string LicenseText();

// The caption of the promotion button.
extern const std::string_view kFeatureText;

// The feature text is longer than the button is wide: the button shows its items
// (the parts between runs of three or more blanks) one at a time, each long enough
// to be read. Items are trimmed; an empty text has no items.
std::vector<std::string> FeatureItems(std::string_view text);
// How many animation ticks an item stays: longer items stay longer.
int FeatureItemTicks(std::string_view item);
// The item shown after `tick` ticks of the animation, from the first again after the last.
size_t FeatureItemAt(const std::vector<std::string>& items, uint64_t tick);

enum class Site { None, IconServer, Maker, Zephyrchat, Donation, About };

struct Tool {
  std::string_view name;
  std::string_view caption;
  Site site;
  std::string_view path;
};

// The tools in the order of the table; the last four form the band "ZCPopup".
const std::vector<Tool>& Tools();
const Tool* FindTool(std::string_view name);  // exact, case-sensitive

inline constexpr std::string_view kBandName = "ZCPopup";
inline constexpr std::string_view kBandCaption = "Zephyrchat";
// The tool names of the band "ZCPopup", in order.
std::vector<std::string_view> BandTools();

// What choosing a tool does: open a URL, show the about box, or nothing.
struct ToolAction {
  enum class Kind { None, OpenUrl, ShowAbout } kind = Kind::None;
  std::string url;
  bool operator==(const ToolAction&) const = default;
};
ToolAction ActionFor(std::string_view toolName, const settings::Store& store);

}  // namespace iv::links
