// The notification-area component's model: its pop-up menu (an indexed list
// without gaps), the tooltip field and the decoding of the shell's mouse
// notifications into the component's events.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace iv::tray {

struct MenuItem {
  std::string caption;  // "-" makes a separator line
  std::string key;
  bool checked = false;
  bool enabled = true;
  bool visible = true;
};

class TrayMenu {
 public:
  TrayMenu() : items_(1) {}

  // The first call reuses element 0; every later call appends.
  int32_t AddMenuItem(const std::string& caption, const std::string& key = "", bool isDefault = false,
                      bool checked = false);
  // Captions and keys after the index move up one; flags stay with their index.
  // Element 0 is only blanked. Always 0.
  int32_t RemoveMenuItem(int32_t index);
  void EnableMenuItem(int32_t index, bool state);
  // Inverts the checked flag of an element other than 0 and returns the new value.
  bool CheckMenuItem(int32_t index);
  bool IsItemChecked(int32_t index) const;
  int32_t DefaultMenuIndex() const { return defaultIndex_; }
  void SetDefaultMenuIndex(int32_t index) { defaultIndex_ = IsValidMenuIndex(index) ? index : 0; }
  bool IsValidMenuIndex(int32_t index) const { return index >= 0 && index < static_cast<int32_t>(items_.size()); }

  const std::vector<MenuItem>& Items() const { return items_; }

 private:
  std::vector<MenuItem> items_;
  int32_t defaultIndex_ = 0;
  bool itemsAdded_ = false;
};

enum class TrayEventKind { MouseDown = 1, MouseUp, MouseMove, DoubleClick };

struct TrayEvent {
  TrayEventKind kind;
  int32_t button = 0;  // 1 left, 2 right; 0 for a move
  bool operator==(const TrayEvent&) const = default;
};

// The event for a mouse message number the shell reported, if it raises one.
// The left button reports its "down" at release; its press raises nothing.
std::optional<TrayEvent> DecodeNotification(uint32_t mouseMessage);

// The tooltip field holds 64 characters; longer text is cut there (UTF-8 aware).
inline constexpr size_t kTipChars = 64;
std::string CutTip(std::string_view tip);

}  // namespace iv::tray
