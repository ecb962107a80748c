#include "tray/core/tray_menu.h"

namespace iv::tray {

int32_t TrayMenu::AddMenuItem(const std::string& caption, const std::string& key, bool isDefault, bool checked) {
  int32_t index = 0;
  if (itemsAdded_) {
    index = static_cast<int32_t>(items_.size());
    items_.emplace_back();
  } else {
    itemsAdded_ = true;
  }
  MenuItem& item = items_[index];
  item.visible = true;
  item.key = key;
  item.caption = caption;
  item.checked = checked;
  if (isDefault) defaultIndex_ = index;
  return index;
}

int32_t TrayMenu::RemoveMenuItem(int32_t index) {
  if (!IsValidMenuIndex(index)) return 0;
  if (index == 0) {
    items_[0].caption.clear();
    return 0;
  }
  for (size_t i = index + 1; i < items_.size(); ++i) {
    items_[i - 1].caption = items_[i].caption;
    items_[i - 1].key = items_[i].key;
  }
  items_.pop_back();
  return 0;
}

void TrayMenu::EnableMenuItem(int32_t index, bool state) {
  if (IsValidMenuIndex(index)) items_[index].enabled = state;
}

bool TrayMenu::CheckMenuItem(int32_t index) {
  if (!IsValidMenuIndex(index) || index == 0) return false;
  items_[index].checked = !items_[index].checked;
  return items_[index].checked;
}

bool TrayMenu::IsItemChecked(int32_t index) const {
  return IsValidMenuIndex(index) && index != 0 && items_[index].checked;
}

std::optional<TrayEvent> DecodeNotification(uint32_t mouseMessage) {
  switch (mouseMessage) {
    case 512: return TrayEvent{TrayEventKind::MouseMove, 0};
    case 514: return TrayEvent{TrayEventKind::MouseDown, 1};
    case 515: return TrayEvent{TrayEventKind::DoubleClick, 1};
    case 516: return TrayEvent{TrayEventKind::MouseDown, 2};
    case 517: return TrayEvent{TrayEventKind::MouseUp, 2};
    case 518: return TrayEvent{TrayEventKind::DoubleClick, 2};
    default: return std::nullopt;  // 513 (left press), middle button and the rest
  }
}

std::string CutTip(std::string_view tip) {
  size_t chars = 0, i = 0;
  while (i < tip.size() && chars < kTipChars) {
    const auto b = static_cast<unsigned char>(tip[i]);
    size_t len = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    i += len;
    ++chars;
  }
  return std::string(tip.substr(0, std::min(i, tip.size())));
}

}  // namespace iv::tray
