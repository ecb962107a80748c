#include "tray/win/frmSysTray.h"

#include <windowsx.h>

#include <vector>

#include "base/win/files.h"
#include "base/win/program_icon.h"
#include "base/win/utf.h"

namespace iv::tray {
namespace {

constexpr wchar_t kClassName[] = L"frmSysTray";

HICON OwnIcon() {
  HICON icon = ProgramIcon(true);
  return icon ? icon : LoadIconW(nullptr, IDI_APPLICATION);
}

// The file description from the executable's version information.
std::wstring FileDescription() {
  const std::wstring path = ExePath();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (!size) return L"";
  std::vector<BYTE> info(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, info.data())) return L"";
  struct Translation {
    WORD language, codePage;
  }* tr = nullptr;
  UINT len = 0;
  if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&tr), &len) ||
      len < sizeof(Translation))
    return L"";
  wchar_t key[64];
  swprintf(key, 64, L"\\StringFileInfo\\%04x%04x\\FileDescription", tr->language, tr->codePage);
  wchar_t* text = nullptr;
  if (!VerQueryValueW(info.data(), key, reinterpret_cast<void**>(&text), &len) || !text) return L"";
  return text;
}

}  // namespace

frmSysTray::frmSysTray(TrayEvents events, NotifyFn notify)
    : events_(std::move(events)), notify_(notify ? std::move(notify) : NotifyFn(Shell_NotifyIconW)) {}

bool frmSysTray::EnsureLoaded() {
  if (hwnd()) return true;
  if (!Create(kClassName, L"", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr, nullptr)) return false;
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  const HICON icon = OwnIcon();
  data_.cbSize = sizeof data_;
  data_.hWnd = hwnd();
  data_.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(icon));
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = kCallbackMessage;
  data_.hIcon = icon;
  const std::string tip = CutTip(Narrow(FileDescription()));
  CopyTruncated(data_.szTip, Widen(tip));
  Notify(NIM_ADD);
  iconAdded_ = true;
  return true;
}

void frmSysTray::Notify(DWORD message) { notify_(message, &data_); }

std::wstring frmSysTray::ToolTip() const { return data_.szTip; }

void frmSysTray::SetToolTip(const std::wstring& tip) {
  EnsureLoaded();
  const std::wstring cut = Widen(CutTip(Narrow(tip)));
  CopyTruncated(data_.szTip, cut);
  data_.uFlags = NIF_TIP;
  Notify(NIM_MODIFY);
}

void frmSysTray::SetIconHandle(HICON icon) {
  EnsureLoaded();
  if (icon == data_.hIcon) return;
  data_.hIcon = icon;
  data_.uFlags = NIF_ICON;
  Notify(NIM_MODIFY);
}

int32_t frmSysTray::AddMenuItem(const std::wstring& caption, const std::wstring& key, bool isDefault,
                                bool checked) {
  EnsureLoaded();
  return menu_.AddMenuItem(Narrow(caption), Narrow(key), isDefault, checked);
}

int32_t frmSysTray::RemoveMenuItem(int32_t index) {
  EnsureLoaded();
  return menu_.RemoveMenuItem(index);
}

void frmSysTray::EnableMenuItem(int32_t index, bool state) {
  EnsureLoaded();
  menu_.EnableMenuItem(index, state);
}

bool frmSysTray::CheckMenuItem(int32_t index) {
  EnsureLoaded();
  return menu_.CheckMenuItem(index);
}

bool frmSysTray::IsItemChecked(int32_t index) const { return menu_.IsItemChecked(index); }

void frmSysTray::SetDefaultMenuIndex(int32_t index) {
  EnsureLoaded();
  menu_.SetDefaultMenuIndex(index);
}

void frmSysTray::ShowMenu() {
  if (!EnsureLoaded()) return;
  // In the foreground, the menu closes when the user clicks elsewhere.
  SetForegroundWindow(hwnd());
  HMENU popup = CreatePopupMenu();
  const auto& items = menu_.Items();
  for (size_t i = 0; i < items.size(); ++i) {
    const MenuItem& item = items[i];
    if (!item.visible) continue;
    if (item.caption == "-") {
      AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (item.checked ? MF_CHECKED : 0) | (item.enabled ? 0 : MF_GRAYED);
    AppendMenuW(popup, flags, i + 1, Widen(item.caption).c_str());
  }
  if (menu_.DefaultMenuIndex() > -1) SetMenuDefaultItem(popup, menu_.DefaultMenuIndex() + 1, FALSE);
  POINT pt{};
  GetCursorPos(&pt);
  const HWND self = hwnd();
  const int chosen = TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY, pt.x, pt.y, 0, self, nullptr);
  DestroyMenu(popup);
  PostMessageW(self, WM_NULL, 0, 0);
  const int index = chosen - 1;
  if (chosen > 0 && menu_.IsValidMenuIndex(index) && events_.menuClick) {
    const std::string key = menu_.Items()[index].key;
    events_.menuClick(index, key);
  }
}

void frmSysTray::Decode(LPARAM lp) {
  const auto event = DecodeNotification(static_cast<uint32_t>(LOWORD(lp)));
  if (!event) return;
  switch (event->kind) {
    case TrayEventKind::MouseDown:
      if (events_.mouseDown) events_.mouseDown(event->button);
      break;
    case TrayEventKind::MouseUp:
      if (events_.mouseUp) events_.mouseUp(event->button);
      break;
    case TrayEventKind::MouseMove:
      if (events_.mouseMove) events_.mouseMove();
      break;
    case TrayEventKind::DoubleClick:
      if (events_.doubleClick) events_.doubleClick(event->button);
      break;
  }
}

LRESULT frmSysTray::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kCallbackMessage) {
    // The shell's callback: the mouse message number travels in lParam.
    Decode(lp);
    return 0;
  }
  if (taskbarCreated_ && msg == taskbarCreated_) {
    // Explorer restarted and forgot the icon.
    const UINT flags = data_.uFlags;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    Notify(NIM_ADD);
    data_.uFlags = flags;
    return 0;
  }
  return Form::WndProc(msg, wp, lp);
}

void frmSysTray::OnDestroy() {
  if (iconAdded_) Notify(NIM_DELETE);
  iconAdded_ = false;
}

}  // namespace iv::tray
