#include "msgbox/win/frmMsgBox.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <algorithm>
#include <map>

#include "base/core/text.h"
#include "base/win/program_icon.h"
#include "base/win/utf.h"
#include "widgets/aolbutton/win/aolbutton.h"

namespace iv::msgbox {

namespace {

// Geometry in twips; the client area is 5460 twips wide whatever the message.
constexpr int kClientWidth = 5460;
constexpr int kAreaLeft = 60;
constexpr int kAreaTop = 60;
constexpr int kInputHeight = 345;
constexpr int kLeftButtonX = 2580;
constexpr int kRightButtonX = 4020;
constexpr int kButtonWidth = 1380;
constexpr int kButtonHeight = 345;
constexpr int kGap = 30;
constexpr int kBottomMargin = 60;

constexpr int kAreaId = 1001;
constexpr int kInputId = 1002;
constexpr int kLeftId = 1003;
constexpr int kRightId = 1004;
constexpr UINT kFinishMsg = WM_APP + 1;
constexpr UINT_PTR kSubclassId = 1;

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST | WS_EX_CONTROLPARENT;

HICON SystemIcon(IconKind kind) {
  switch (kind) {
    case IconKind::Critical: return LoadIconW(nullptr, IDI_HAND);
    case IconKind::Question: return LoadIconW(nullptr, IDI_QUESTION);
    case IconKind::Exclamation: return LoadIconW(nullptr, IDI_EXCLAMATION);
    case IconKind::Information: return LoadIconW(nullptr, IDI_ASTERISK);
    case IconKind::None: break;
  }
  return nullptr;
}

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  SIZE size{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
  if (!GetIconInfo(icon, &info)) return size;
  UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
  BITMAP bm{};
  if (colour && GetObjectW(colour.get(), sizeof(bm), &bm)) {
    size = {bm.bmWidth, bm.bmHeight};
  } else if (mask && GetObjectW(mask.get(), sizeof(bm), &bm)) {
    size = {bm.bmWidth, bm.bmHeight / 2};  // a monochrome icon stacks AND and XOR masks
  }
  return size;
}

RECT WorkArea(HWND owner) {
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  if (GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &mi)) return mi.rcWork;
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::wstring AccessibleText(const std::wstring& prompt) {
  std::wstring plain = Widen(PlainText(Narrow(prompt)));
  std::wstring out;
  for (size_t i = 0; i < plain.size(); ++i) {
    if (plain[i] == L'\n' && (i == 0 || plain[i - 1] != L'\r')) out += L'\r';
    out += plain[i];
  }
  return out;
}

struct OwnerState {
  int boxes = 0;
  bool enableAfter = false;
};
std::map<HWND, OwnerState>& Owners() {
  thread_local std::map<HWND, OwnerState> owners;
  return owners;
}

}  // namespace

OwnerLock::OwnerLock(HWND owner) : owner_(owner) {
  OwnerState& state = Owners()[owner_];
  // EnableWindow returns nonzero when the window was already disabled.
  if (state.boxes++ == 0) state.enableAfter = !EnableWindow(owner_, FALSE);
}

OwnerLock::~OwnerLock() {
  auto it = Owners().find(owner_);
  if (it == Owners().end() || --it->second.boxes > 0) return;
  if (it->second.enableAfter && IsWindow(owner_)) EnableWindow(owner_, TRUE);
  Owners().erase(it);
}

frmMsgBox::frmMsgBox(MsgBoxArgs args) : args_(std::move(args)) {}

frmMsgBox::~frmMsgBox() {
  // The owner comes back before the window goes, so activation returns to it.
  ownerLock_.reset();
}

int frmMsgBox::X(double twips) const { return static_cast<int>(RoundHalfEven(twips / tppX_)); }
int frmMsgBox::Y(double twips) const { return static_cast<int>(RoundHalfEven(twips / tppY_)); }

bool frmMsgBox::Open() {
  ScreenDC screen;
  tppX_ = 1440.0 / std::max(1, GetDeviceCaps(screen.get(), LOGPIXELSX));
  tppY_ = 1440.0 / std::max(1, GetDeviceCaps(screen.get(), LOGPIXELSY));
  fonts_.emplace(GetDeviceCaps(screen.get(), LOGPIXELSY));

  const IconKind icon = IconFor(args_.Icon);
  const HICON systemIcon = SystemIcon(icon);
  image_ = args_.Picture ? args_.Picture : systemIcon;
  if (image_) imageSize_ = IconSize(image_);

  AreaGeometry geometry;
  geometry.leftMargin = image_ ? kMarginWithIcon : kMarginWithoutIcon;
  geometry.iconBottom = image_ ? kAreaTop + static_cast<int>(RoundHalfEven(imageSize_.cy * tppY_)) : 0;
  Layout layout;
  {
    MemoryDC dc(screen.get());
    GdiMeasurer measurer(dc.get(), *fonts_, tppX_, tppY_);
    layout = LayoutMessage(Narrow(args_.Prompt), geometry, measurer);
  }

  const HWND owner = args_.Owner && IsWindow(args_.Owner) ? args_.Owner : nullptr;
  const RECT work = WorkArea(owner);
  RECT frame{};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  // A message taller than the screen is cut off at the bottom rather than pushing the
  // buttons out of reach.
  const int fixedTw = kAreaTop + (args_.ShowInput ? kInputHeight : 0) + kGap + kButtonHeight + kBottomMargin;
  const double roomTw = (work.bottom - work.top - (frame.bottom - frame.top)) * tppY_ - fixedTw;
  const int areaHeight = std::max(kAreaHeight, std::min(layout.height, static_cast<int>(roomTw)));
  const int inputTop = kAreaTop + areaHeight;
  const int buttonsTop = args_.ShowInput ? inputTop + kInputHeight + kGap : inputTop + kGap;

  RECT r{0, 0, X(kClientWidth), Y(buttonsTop + kButtonHeight + kBottomMargin)};
  AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  const int x = work.left + (work.right - work.left - w) / 2;
  const int y = work.top + std::max(0L, (work.bottom - work.top - h) / 2);
  const std::wstring title = args_.Title.empty() ? std::wstring(kDefaultTitle) : args_.Title;
  if (!Create(L"frmMsgBox", title.c_str(), kStyle, kExStyle, x, y, w, h, owner, nullptr)) return false;

  CreateControls(areaHeight, buttonsTop);
  RenderMessage(layout, X(kAreaWidth), Y(areaHeight));
  if (systemIcon) {
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(systemIcon));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(systemIcon));
  } else {
    SetProgramIcon(hwnd());
  }
  if (const std::string_view sound = SoundFor(icon); !sound.empty()) {
    PlaySoundW(Widen(sound).c_str(), nullptr, SND_ALIAS | SND_ASYNC | SND_NODEFAULT);
  }

  if (owner) ownerLock_.emplace(owner);
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  lastFocus_ = DefaultFocus();
  SetFocus(lastFocus_);
  UpdateWindow(hwnd());
  return true;
}

void frmMsgBox::CreateControls(int areaHeightTw, int buttonsTopTw) {
  const HINSTANCE inst = GetModuleHandleW(nullptr);
  // An owner-drawn static keeps the plain message as its text for screen readers.
  area_ = CreateWindowExW(0, L"STATIC", AccessibleText(args_.Prompt).c_str(), WS_CHILD | WS_VISIBLE | SS_OWNERDRAW,
                          X(kAreaLeft), Y(kAreaTop), X(kAreaWidth), Y(areaHeightTw), hwnd(),
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAreaId)), inst, nullptr);

  const int inputTop = kAreaTop + areaHeightTw;
  input_ = CreateControl(hwnd(), L"EDIT", args_.DefaultText.c_str(), WS_TABSTOP | ES_AUTOHSCROLL, X(kAreaLeft),
                         Y(inputTop), X(kAreaWidth), Y(kInputHeight), kInputId, WS_EX_CLIENTEDGE);
  SendMessageW(input_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_->Get({})), FALSE);
  SendMessageW(input_, EM_SETLIMITTEXT, args_.MaxLength > 0 ? args_.MaxLength : 0, 0);
  SendMessageW(input_, EM_SETSEL, 0, args_.SelectText ? -1 : 0);
  if (!args_.ShowInput) ShowWindow(input_, SW_HIDE);

  const Captions captions = CaptionsFor(args_.Buttons);
  const std::wstring leftText = args_.OKCaption.empty() ? Widen(captions.left) : args_.OKCaption;
  const std::wstring rightText = args_.CancelCaption.empty() ? Widen(captions.right) : args_.CancelCaption;
  const int top = Y(buttonsTopTw), bottom = Y(buttonsTopTw + kButtonHeight);
  left_ = aolbutton::Create(hwnd(), kLeftId, leftText, {X(kLeftButtonX), top, X(kLeftButtonX + kButtonWidth), bottom});
  right_ = aolbutton::Create(hwnd(), kRightId, rightText,
                             {X(kRightButtonX), top, X(kRightButtonX + kButtonWidth), bottom});
  if (!captions.leftVisible) ShowWindow(left_, SW_HIDE);

  const auto embolden = [](HWND button) {
    if (aolbutton::Button* b = aolbutton::Get(button)) {
      aolbutton::Font font = b->GetFont();
      font.bold = true;
      b->SetFont(font);
    }
  };
  if (args_.BoldOK) embolden(left_);
  if (args_.BoldCancel) embolden(right_);
  for (HWND control : {input_, left_, right_}) {
    SetWindowSubclass(control, ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  }
}

// The message is drawn once into a bitmap; painting only copies it.
void frmMsgBox::RenderMessage(const Layout& layout, int widthPx, int heightPx) {
  ScreenDC screen;
  messageBitmap_.reset(CreateCompatibleBitmap(screen.get(), widthPx, heightPx));
  if (!messageBitmap_) return;
  MemoryDC dc(screen.get());
  SelectScope bitmap(dc.get(), messageBitmap_.get());
  RECT all{0, 0, widthPx, heightPx};
  FillRect(dc.get(), &all, GetSysColorBrush(COLOR_BTNFACE));
  // The image sits at the area's top left corner, which is where the window puts it.
  if (image_) DrawIconEx(dc.get(), 0, 0, image_, imageSize_.cx, imageSize_.cy, 0, nullptr, DI_NORMAL);
  SetBkMode(dc.get(), TRANSPARENT);
  for (const TextRun& run : layout.runs) {
    const std::wstring text = Widen(run.text);
    SelectScope font(dc.get(), fonts_->Get(run.font));
    SetTextColor(dc.get(), run.colour);
    TextOutW(dc.get(), X(run.x), Y(run.y), text.c_str(), static_cast<int>(text.size()));
  }
}

LRESULT frmMsgBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd(), focus)) lastFocus_ = focus;
      } else if (!HIWORD(wp)) {
        SetFocus(lastFocus_ && IsWindowVisible(lastFocus_) ? lastFocus_ : DefaultFocus());
      }
      return 0;
    case WM_DRAWITEM: {
      const auto* di = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (di->CtlID != kAreaId) break;
      if (messageBitmap_) {
        MemoryDC dc(di->hDC);
        SelectScope bitmap(dc.get(), messageBitmap_.get());
        BitBlt(di->hDC, 0, 0, di->rcItem.right, di->rcItem.bottom, dc.get(), 0, 0, SRCCOPY);
      }
      return TRUE;
    }
    case WM_KEYDOWN:
      if (OnKey(nullptr, wp)) return 0;
      break;
    case WM_CLOSE:
      Answer(Press::Closed);
      return 0;
    case kFinishMsg:
      Finish();
      return 0;
  }
  return Window::WndProc(msg, wp, lp);
}

bool frmMsgBox::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED || (id != kLeftId && id != kRightId)) return false;
  Answer(id == kLeftId ? Press::Left : Press::Right);
  return true;
}

void frmMsgBox::OnDestroy() {
  // Destroyed from outside (its owner went away): that is a close without a button.
  if (!answered_) {
    answered_ = true;
    const Outcome o = AnswerFor(args_.Buttons, args_.ShowInput, Press::Closed);
    result_ = {o.code, {}, o.isText};
  }
  ownerLock_.reset();
  finished_ = true;
}

LRESULT CALLBACK frmMsgBox::ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  auto* box = reinterpret_cast<frmMsgBox*>(self);
  switch (msg) {
    case WM_KEYDOWN:
      if (box->OnKey(hwnd, wp)) return 0;
      break;
    case WM_SETFOCUS:
      box->ShowDefaultButton(hwnd);
      break;
    case WM_CHAR:
      // Their key-down was handled; the edit control would beep at these.
      if (wp == L'\r' || wp == VK_ESCAPE || wp == L'\t') return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, ControlProc, kSubclassId);
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

bool frmMsgBox::OnKey(HWND from, WPARAM key) {
  if (!from || from == hwnd()) {
    const HWND focus = GetFocus();
    from = focus && IsChild(hwnd(), focus) ? focus : DefaultFocus();
  }
  switch (key) {
    case VK_RETURN:
      // Enter on a button is a click on it; in the input box it accepts the text.
      Answer(from == input_ ? Press::InputEnter : from == left_ ? Press::Left : Press::Right);
      return true;
    case VK_ESCAPE:
      if (const auto press = EscapePress(args_.Buttons, args_.ShowInput)) Answer(*press);
      return true;
    case VK_TAB:
      FocusNext(GetKeyState(VK_SHIFT) < 0);
      return true;
  }
  return false;
}

void frmMsgBox::Answer(Press press) {
  if (answered_) return;
  answered_ = true;
  const Outcome o = AnswerFor(args_.Buttons, args_.ShowInput, press);
  result_ = {o.code, o.typed ? GetText(input_) : std::wstring(), o.isText};
  // A button's own click handler is still running: the window goes once it returns.
  if (press == Press::Closed || !PostMessageW(hwnd(), kFinishMsg, 0, 0)) Finish();
}

void frmMsgBox::Finish() {
  if (!hwnd()) return;
  ownerLock_.reset();
  DestroyWindow(hwnd());
}

void frmMsgBox::Close() {
  if (hwnd()) SendMessageW(hwnd(), WM_CLOSE, 0, 0);
}

// The button Enter would press is marked the default one, as in system dialogs.
void frmMsgBox::ShowDefaultButton(HWND focus) {
  const HWND enterPresses = focus != input_ ? focus : IsWindowVisible(left_) ? left_ : right_;
  for (HWND button : {left_, right_}) {
    SendMessageW(button, BM_SETSTYLE, button == enterPresses ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  }
}

HWND frmMsgBox::DefaultFocus() const { return args_.ShowInput ? input_ : right_; }

void frmMsgBox::FocusNext(bool backwards) {
  HWND order[3];
  int n = 0;
  for (HWND control : {input_, left_, right_}) {
    if (IsWindowVisible(control)) order[n++] = control;
  }
  if (n == 0) return;
  int at = 0;
  while (at < n && order[at] != GetFocus()) ++at;
  const int next = at == n ? 0 : (at + (backwards ? n - 1 : 1)) % n;
  SetFocus(order[next]);
  if (order[next] == input_) SendMessageW(input_, EM_SETSEL, 0, -1);
}

}  // namespace iv::msgbox
