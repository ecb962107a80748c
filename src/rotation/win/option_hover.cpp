#include "rotation/win/option_hover.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>

namespace iv::rotation {

namespace {
constexpr UINT_PTR kSubclassId = 0x524f54;  // one id for all our subclasses
constexpr COLORREF kHoverColour = RGB(0, 0, 255);
}  // namespace

void OptionHover::Attach(const std::vector<HWND>& options) {
  Detach();
  for (HWND o : options) {
    if (!o) continue;
    if (!parent_) parent_ = GetParent(o);
    // Themed option buttons ignore the caption colour their parent picks.
    SetWindowTheme(o, L"", L"");
    if (SetWindowSubclass(o, OptionProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) options_.push_back(o);
  }
  if (parent_ && !SetWindowSubclass(parent_, ParentProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    parent_ = nullptr;
}

void OptionHover::Detach() {
  for (HWND o : options_) RemoveWindowSubclass(o, OptionProc, kSubclassId);
  if (parent_) RemoveWindowSubclass(parent_, ParentProc, kSubclassId);
  options_.clear();
  parent_ = hovered_ = nullptr;
}

bool OptionHover::IsOption(HWND hwnd) const {
  return std::find(options_.begin(), options_.end(), hwnd) != options_.end();
}

void OptionHover::SetHovered(HWND hwnd) {
  if (hovered_ == hwnd) return;
  HWND old = hovered_;
  hovered_ = hwnd;
  if (old) InvalidateRect(old, nullptr, TRUE);
  if (hwnd) InvalidateRect(hwnd, nullptr, TRUE);
}

LRESULT CALLBACK OptionHover::OptionProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  auto* self = reinterpret_cast<OptionHover*>(ref);
  switch (msg) {
    case WM_MOUSEMOVE:
      if (self->hovered_ != hwnd) {
        // Ask for WM_MOUSELEAVE so the caption turns back when the pointer goes.
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&tme);
        self->SetHovered(hwnd);
      }
      break;
    case WM_MOUSELEAVE:
      if (self->hovered_ == hwnd) self->SetHovered(nullptr);
      break;
    case WM_NCDESTROY:
      self->options_.erase(std::remove(self->options_.begin(), self->options_.end(), hwnd), self->options_.end());
      if (self->hovered_ == hwnd) self->hovered_ = nullptr;
      RemoveWindowSubclass(hwnd, OptionProc, kSubclassId);
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK OptionHover::ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  auto* self = reinterpret_cast<OptionHover*>(ref);
  if ((msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN) && self->IsOption(reinterpret_cast<HWND>(lp))) {
    // Whoever colours the panel keeps its background; only the caption colour is ours.
    const LRESULT brush = DefSubclassProc(hwnd, msg, wp, lp);
    const bool hot = reinterpret_cast<HWND>(lp) == self->hovered_;
    SetTextColor(reinterpret_cast<HDC>(wp), hot ? kHoverColour : GetSysColor(COLOR_BTNTEXT));
    return brush;
  }
  if (msg == WM_NCDESTROY) {
    self->parent_ = nullptr;
    RemoveWindowSubclass(hwnd, ParentProc, kSubclassId);
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace iv::rotation
