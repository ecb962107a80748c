#include "rotation/core/history.h"

#include <algorithm>

#include "rotation/core/rotation_list.h"

namespace iv::rotation {

std::vector<std::string> IconHistory::Icons() const {
  const size_t count = std::min(CountFromText(store_.Get(kHistorySection, "Count", "0")), kHistoryLength);
  std::vector<std::string> icons;
  for (size_t i = 1; i <= count; ++i) {
    std::string icon = store_.Get(kHistorySection, std::to_string(i), "");
    if (!icon.empty()) icons.push_back(std::move(icon));
  }
  return icons;
}

std::optional<std::string> IconHistory::BeginBack() {
  backTo_.reset();
  std::vector<std::string> icons = Icons();
  const size_t before = icons.size();
  // The current icon (the first) stays even when gone: it is what AIM shows.
  while (icons.size() > 1 && exists_ && !exists_(icons[1])) icons.erase(icons.begin() + 1);
  if (icons.size() != before) Save(icons);
  if (icons.size() < 2) return std::nullopt;
  backTo_ = icons[1];
  return backTo_;
}

void IconHistory::Applied(const std::string& iconPath) {
  const bool goingBack = backTo_ && *backTo_ == iconPath;
  backTo_.reset();
  std::vector<std::string> icons = Icons();
  if (goingBack && icons.size() >= 2 && icons[1] == iconPath) {
    icons.erase(icons.begin());
  } else {
    if (!icons.empty() && icons.front() == iconPath) return;
    icons.insert(icons.begin(), iconPath);
    if (icons.size() > kHistoryLength) icons.resize(kHistoryLength);
  }
  Save(icons);
}

void IconHistory::Save(const std::vector<std::string>& icons) {
  // Rewritten whole, so no value from a longer history stays behind.
  store_.DeleteSection(kHistorySection);
  store_.Set(kHistorySection, "Count", std::to_string(icons.size()));
  for (size_t i = 0; i < icons.size(); ++i) store_.Set(kHistorySection, std::to_string(i + 1), icons[i]);
}

}  // namespace iv::rotation
