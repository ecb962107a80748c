// The hidden window that owns the notification-area icon, its tooltip and its
// pop-up menu, and turns the shell's mouse notifications into five events.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

#include "tray/core/tray_menu.h"
#include "ui/win/form.h"

namespace iv::tray {

inline constexpr UINT kCallbackMessage = WM_MOUSEMOVE;

struct TrayEvents {
  std::function<void(int32_t button)> mouseDown, mouseUp, doubleClick;
  std::function<void()> mouseMove;
  std::function<void(int32_t index, const std::string& key)> menuClick;
};

class frmSysTray : public ui::Form {
 public:
  using NotifyFn = std::function<BOOL(DWORD message, NOTIFYICONDATAW* data)>;

  // 'notify' stands in for Shell_NotifyIconW (tests record the calls).
  explicit frmSysTray(TrayEvents events, NotifyFn notify = nullptr);
  // The base class destroys a window still open without our handlers: remove the icon first.
  ~frmSysTray() override { OnDestroy(); }

  std::wstring ToolTip() const;
  void SetToolTip(const std::wstring& tip);
  HICON IconHandle() const { return data_.hIcon; }
  void SetIconHandle(HICON icon);

  // The first access to the menu loads the window and adds the icon.
  int32_t AddMenuItem(const std::wstring& caption, const std::wstring& key = L"", bool isDefault = false,
                      bool checked = false);
  int32_t RemoveMenuItem(int32_t index);
  void EnableMenuItem(int32_t index, bool state);
  bool CheckMenuItem(int32_t index);
  bool IsItemChecked(int32_t index) const;
  int32_t DefaultMenuIndex() const { return menu_.DefaultMenuIndex(); }
  void SetDefaultMenuIndex(int32_t index);
  // Runs the menu at the pointer; a chosen item raises menuClick before returning.
  void ShowMenu();
  const TrayMenu& Menu() const { return menu_; }

  bool Loaded() const { return hwnd() != nullptr; }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnDestroy() override;

 private:
  bool EnsureLoaded();
  void Notify(DWORD message);
  void Decode(LPARAM lp);

  TrayEvents events_;
  NotifyFn notify_;
  TrayMenu menu_;
  NOTIFYICONDATAW data_{};
  UINT taskbarCreated_ = 0;
  bool iconAdded_ = false;
};

}  // namespace iv::tray
