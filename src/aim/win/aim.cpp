#include "aim/win/aim.h"

#include "aim/core/aim_rules.h"
#include "aim/win/discovery.h"
#include "aim/win/file_ops.h"
#include "base/win/utf.h"
#include "ui/win/forms.h"

namespace iv::aim {

namespace {

constexpr UINT kTextTimeoutMs = 1000;

// Text of a window of another process, or empty when it does not answer in time.
std::wstring RemoteText(HWND hwnd) {
  if (!hwnd) return L"";
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &length)) return L"";
  std::wstring text(length + 1, L'\0');
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           kTextTimeoutMs, &got))
    return L"";
  text.resize(got <= length ? got : length);
  return text;
}

}  // namespace

Aim::Aim(settings::Store& store, std::wstring programFolder, HWND mainWindow, Services services)
    : store_(store), programFolder_(std::move(programFolder)), mainWindow_(mainWindow),
      services_(std::move(services)) {
  if (!services_.wait) services_.wait = ui::Wait;
  UseDialogHook(&hook_);
}

Aim::~Aim() {
  UnloadHook();
  UseDialogHook(nullptr);
}

bool Aim::LoadHook() {
  // An upgrade moves aside a hook that AIM still held; AIM may have let go since.
  (void)DeleteMovedAsideHooks(programFolder_);
  if (!hook_.Load(programFolder_, mainWindow_)) return false;
  hook_.Watch(GetWindowThreadId(aimWindow_));
  return true;
}

void Aim::UnloadHook() {
  hook_.Off();
  SetHookArmed(false);
}

void Aim::TmrAIM_Timer() {
  const HWND found = FindAIMWindow();
  if (found == aimWindow_) return;
  aimWindow_ = found;
  hook_.Watch(0);
  hook_.Watch(GetWindowThreadId(aimWindow_));
  if (const auto version = GetAIMVersion(false)) aimVersion_ = VersionNumber(*version);
}

void Aim::AnswerConfirmAction() {
  const HWND question = FindWindowW(L"#32770", L"Confirm action");
  if (!question) {
    // The front is taken once AIM's question has gone: brought forward while it is
    // still open, the window would lose the front again when the question closes.
    if (refocusWhenAnswered_) {
      refocusWhenAnswered_ = false;
      BringToFront(mainWindow_);
    }
    return;
  }
  const HWND first = FindWindowExW(question, nullptr, L"Static", nullptr);
  const HWND second = first ? FindWindowExW(question, first, L"Static", nullptr) : nullptr;
  const std::string text = Narrow(RemoteText(second));
  SetHookArmed(true);
  if (!IsBuddyIconQuestion(text)) return;
  ClickWindow(FindWindowExW(question, nullptr, L"Button", nullptr));
  if (refocusAfterConfirm_) {
    refocusAfterConfirm_ = false;
    BringToFront(mainWindow_);
    refocusWhenAnswered_ = true;
  }
}

bool Aim::ConfirmWatchNeeded() const {
  return applying_ || refocusAfterConfirm_ || refocusWhenAnswered_ ||
         FindWindowW(L"#32770", L"Confirm action") != nullptr;
}

bool Aim::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != hook_.CaughtMessage() || wp != HCBT_CREATEWND) return false;
  // The DLL has already disarmed itself and hidden the dialog; closing it from here
  // as well covers a dialog that never reaches the point where the DLL closes it.
  hookedDialog_ = reinterpret_cast<HWND>(lp);
  SetHookArmed(false);
  if (IsWindow(hookedDialog_)) SendToAim(hookedDialog_, WM_CLOSE, 0, 0);
  return true;
}

std::wstring Aim::UserPictureId() {
  ListAIMUsers(aimUsers_);
  const size_t user = LastMatchingUser(aimUsers_, GetAIMScreenName(store_));
  return Widen(PictureIdPath(GetAIMDataPath(store_), user ? aimUsers_[user] : std::string()));
}

void Aim::ApplyBuddyIcon(const std::wstring& iconPath, bool manual) {
  // The waits below dispatch messages, so a click or the schedule can ask for
  // another apply meanwhile; running two at once would drive AIM's dialogs twice.
  if (applying_) {
    pending_.emplace(iconPath, manual);
    return;
  }
  applying_ = true;
  std::optional<std::pair<std::wstring, bool>> next{{iconPath, manual}};
  while (next) {
    if (ApplyOnce(next->first, next->second) && services_.applied) services_.applied(next->first);
    next = std::move(pending_);
    pending_.reset();
  }
  applying_ = false;
}

bool Aim::ApplyOnce(const std::wstring& iconPath, bool manual) {
  // The schedule's first tick at start can come before TmrAIM's, and AIM may have been
  // restarted since the last tick: the method must be that of the AIM running now.
  TmrAIM_Timer();
  const std::wstring pictureId = UserPictureId();
  if (UsesPreferencesMethod(aimVersion_)) return PreferencesMethod(iconPath);
  return PictureFileMethod(iconPath, pictureId, manual);
}

bool Aim::PictureFileMethod(const std::wstring& iconPath, const std::wstring& pictureId, bool manual) {
  // Without AIM's data folder the path would start with "\\", a network name.
  const bool haveFile = !GetAIMDataPath(store_).empty();
  bool copied = false;
  if (haveFile) {
    if (GetFileAttrKind(pictureId) == 1) SetFileAttr(pictureId, 0);
    copied = CopyOver(iconPath, pictureId);
  }
  if (manual) services_.wait(100);
  if (haveFile) SetFileAttr(pictureId, 1);
  services_.wait(200);
  if (services_.shellOpen && services_.buddyIconLink) services_.shellOpen(services_.buddyIconLink());
  if (manual) refocusAfterConfirm_ = true;
  RefreshCurrentIcon(true);
  services_.wait(3000);
  if (haveFile) SetFileAttr(pictureId, 0);
  return copied;
}

bool Aim::PreferencesMethod(const std::wstring& iconPath) {
  const Driver driver{aimVersion_, programFolder_, services_.wait};
  // The close posted by the apply before may not have been handled yet; that dialog
  // is ours, not one the user has open, so let it go first (2 s at most).
  for (int i = 0; i < 40 && closingPrefs_ && IsWindow(closingPrefs_); ++i) services_.wait(50);
  closingPrefs_ = nullptr;
  const HWND userPrefs = FindAIMPreferences();
  const bool wasOpen = userPrefs != nullptr;
  // A dialog the user has open is left as it was, on the page it showed.
  const int userCategory = CurrentCategory(userPrefs);
  // An armed hook would swallow the Preferences dialog we are about to open.
  SetHookArmed(false);
  OpenAIMPreferences(FindAIMWindow());
  const HWND prefs = FindAIMPreferences();
  ShowBuddyIconsPage(driver, prefs, !wasOpen);
  HWND dialog = FindChooseIconDialog();
  std::wstring path = iconPath;
  const bool taken = SubmitIconPath(driver, dialog, path);
  if (!wasOpen) closingPrefs_ = CloseAIMPreferences();
  else if (userCategory != CurrentCategory(userPrefs)) RestoreCategory(userPrefs, userCategory);
  ShowInPreview(iconPath);
  return taken;
}

void Aim::ShowInPreview(const std::wstring& source) {
  const std::wstring tmp = TmpGifPath();
  if (GetFileAttrKind(tmp) == 1) SetFileAttr(tmp, 0);
  CopyOver(source, tmp);
  if (services_.showCurrentIcon) services_.showCurrentIcon(tmp);
}

void Aim::RefreshCurrentIcon(bool force) {
  ListAIMUsers(aimUsers_);
  const std::string screenName = GetAIMScreenName(store_);
  const std::string dataPath = GetAIMDataPath(store_);
  for (size_t i : MatchingUsers(aimUsers_, screenName)) {
    if (aimUsers_[i] == currentIconUser_ && !force) continue;
    currentIconUser_ = aimUsers_[i];
    const std::wstring tmp = TmpGifPath();
    SetFileAttr(tmp, 0);
    CopyOver(Widen(PictureIdPath(dataPath, currentIconUser_)), tmp);
    if (services_.showCurrentIcon) services_.showCurrentIcon(tmp);
  }
}

}  // namespace iv::aim
