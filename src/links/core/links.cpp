#include "links/core/links.h"

#include "download/core/server.h"

namespace iv::links {

const std::string_view kFeatureText =
    "Zephyrchat Features: Tabbed IMs and Chat Rooms.         Color fade your IMs chat profile and Away "
    "Messages!         Hide the Buddy List Ads.         IM and Chat conversation recording.         "
    "Transparent Windows.         Away Message Scheduler.         AIM profile fading.         AIM Today "
    "toolbar.         News in your IM window.         Send files easier.         Extensive customization "
    "options.    AND MUCH MORE!!!  ...........";

std::vector<std::string> FeatureItems(std::string_view text) {
  std::vector<std::string> items;
  size_t start = 0;
  while (start < text.size()) {
    size_t gap = text.find("   ", start);
    if (gap == std::string_view::npos) gap = text.size();
    const std::string_view item = text.substr(start, gap - start);
    const size_t first = item.find_first_not_of(' ');
    if (first != std::string_view::npos) items.emplace_back(item.substr(first, item.find_last_not_of(' ') + 1 - first));
    start = text.find_first_not_of(' ', gap);
    if (start == std::string_view::npos) break;
  }
  return items;
}

// At the 100 ms tick: a second and a half, and a tenth of a second for each two letters.
int FeatureItemTicks(std::string_view item) { return 15 + static_cast<int>(item.size() / 2); }

size_t FeatureItemAt(const std::vector<std::string>& items, uint64_t tick) {
  if (items.empty()) return 0;
  uint64_t cycle = 0;
  for (const std::string& item : items) cycle += static_cast<uint64_t>(FeatureItemTicks(item));
  tick %= cycle;
  for (size_t i = 0; i < items.size(); ++i) {
    const auto ticks = static_cast<uint64_t>(FeatureItemTicks(items[i]));
    if (tick < ticks) return i;
    tick -= ticks;
  }
  return 0;
}

std::string MakerUrl(std::string_view path) { return std::string(kMakerSite) + std::string(path); }

std::string ZephyrchatUrl(std::string_view path) { return std::string(kZephyrchatSite) + std::string(path); }

std::string DonationUrl() {
  return std::string(kPaymentSite) + "/xclick/business=" + std::string(kPaymentAccount) +
         "&item_name=A+small+donation+for+Iconvane.+Thank+you!&amount=5.00";
}

std::string AboutTitle() { return "Iconvane: V " + std::string(kVersion); }

std::string LicenseText() {
  return "\"Iconvane for AIM\" is a free program.  Please support us by making a small donation.  "
         "Thank you for your support! :) ";
}

const std::vector<Tool>& Tools() {
  static const std::vector<Tool> tools = {
      {"ID_HELP", "Iconvane Help", Site::None, ""},
      {"ID_SITES", "Hot AIM Links", Site::None, ""},
      {"ID_TOOLHELP", "Picvane Help", Site::IconServer, download::kHelpPath},
      {"ID_ABOUT", "About...", Site::About, ""},
      {"ID_SMILEY", "1550+ AIM Smileys!", Site::Zephyrchat, "/smiley.htm"},
      {"ID_DONATE", "Make a Donation", Site::Donation, ""},
      {"ID_ICONS", "Iconvane Icon Site", Site::IconServer, download::kHomePath},
      {"ID_ZCHome", "Home", Site::Zephyrchat, "/"},
      {"ID_ZCFeatures", "Features", Site::Zephyrchat, "/features.htm"},
      {"ID_ZCSS", "Screenshots", Site::Zephyrchat, "/screenshots.htm"},
      {"ID_ZCDL", "Download Now!", Site::Zephyrchat, "/files/ZC-Setup.exe"},
  };
  return tools;
}

const Tool* FindTool(std::string_view name) {
  for (const Tool& t : Tools())
    if (t.name == name) return &t;
  return nullptr;
}

std::vector<std::string_view> BandTools() { return {"ID_ZCHome", "ID_ZCFeatures", "ID_ZCSS", "ID_ZCDL"}; }

ToolAction ActionFor(std::string_view toolName, const settings::Store& store) {
  const Tool* tool = FindTool(toolName);
  if (!tool) return {};
  switch (tool->site) {
    case Site::None: return {};
    case Site::About: return {ToolAction::Kind::ShowAbout, ""};
    case Site::IconServer: return {ToolAction::Kind::OpenUrl, download::ServerUrl(store, tool->path)};
    case Site::Maker: return {ToolAction::Kind::OpenUrl, MakerUrl(tool->path)};
    case Site::Zephyrchat: return {ToolAction::Kind::OpenUrl, ZephyrchatUrl(tool->path)};
    case Site::Donation: return {ToolAction::Kind::OpenUrl, DonationUrl()};
  }
  return {};
}

}  // namespace iv::links
