// The icons applied last, newest first, so that "-previous" can go back through
// them. Kept in the settings section "History" ("Count", then "1".."Count") and
// read afresh for every use, like the rest of the store, so copies share it.
#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/core/store.h"

namespace iv::rotation {

inline constexpr std::string_view kHistorySection = "History";
inline constexpr size_t kHistoryLength = 20;

class IconHistory {
 public:
  using ExistsFn = std::function<bool(const std::string& iconPath)>;

  IconHistory(settings::Store& store, ExistsFn exists) : store_(store), exists_(std::move(exists)) {}

  // Full icon paths, newest first; at most kHistoryLength, empty values skipped.
  std::vector<std::string> Icons() const;

  // The icon before the current one, for "-previous" to apply; nullopt when there is
  // none. Icons whose files have gone are dropped from the history on the way, so a
  // deleted icon cannot leave "-previous" stuck on it.
  std::optional<std::string> BeginBack();

  // An apply of 'iconPath' succeeded. After BeginBack for this icon the current one
  // is dropped, which is the step back; otherwise the icon becomes the newest (once:
  // the same icon applied again in a row is not repeated).
  void Applied(const std::string& iconPath);

 private:
  void Save(const std::vector<std::string>& icons);

  settings::Store& store_;
  ExistsFn exists_;
  std::optional<std::string> backTo_;
};

}  // namespace iv::rotation
