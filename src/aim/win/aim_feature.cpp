#include "aim/win/aim_feature.h"

#include <commctrl.h>

#include "aim/win/aim.h"
#include "base/core/text.h"
#include "base/win/utf.h"
#include "base/win/window.h"
#include "download/core/server.h"
#include "shell/win/shell_open.h"
#include "ui/win/forms.h"
#include "ui/win/ids.h"
#include "ui/win/image_view.h"

namespace iv::aim {

namespace {

constexpr UINT kWatchInterval = 50;
constexpr UINT kIconInterval = 2000;
constexpr DWORD kWatchAfterApply = 5000;  // ms

std::wstring SelectedListViewText(HWND lv) {
  const int row = lv ? ListView_GetNextItem(lv, -1, LVNI_SELECTED) : -1;
  if (row < 0) return L"";
  return ListViewText(lv, row);
}

std::wstring FirstSelectedListBoxText(HWND lb) {
  if (!lb) return L"";
  const int count = static_cast<int>(SendMessageW(lb, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    if (SendMessageW(lb, LB_GETSEL, i, 0) <= 0) continue;
    return ListBoxText(lb, i);
  }
  return L"";
}

std::wstring Trimmed(const std::wstring& text) { return Widen(Trim(Narrow(text))); }

class AimFeature : public ui::Feature {
 public:
  explicit AimFeature(ui::Host& host) : host_(host) {}

  void OnCreate() override {
    Services services;
    services.shellOpen = [](const std::wstring& url) { (void)shell::ShellOpen(url); };
    ui::Host& host = host_;
    services.buddyIconLink = [&host] { return Widen(download::BuddyIconLink(host.Store())); };
    services.showCurrentIcon = [&host](const std::wstring& gif) {
      ui::SetImagePath(host.Control(ids::WbCurrent), gif);
    };
    services.applied = [&host](const std::wstring& path) {
      if (host.Hooks().iconApplied) host.Hooks().iconApplied(path);
    };
    aim_ = std::make_unique<Aim>(host_.Store(), host_.ProgramFolder(), host_.MainWindow(), std::move(services));
    aim_->LoadHook();
    // The schedule applies through the host; only cmdUse applies manually.
    host_.Hooks().applyBuddyIcon = [this](const std::wstring& path) {
      Apply(path, false);
      return true;
    };
    host_.Hooks().refreshCurrentIcon = [this](bool force) { aim_->RefreshCurrentIcon(force); };
  }

  void OnLoadStep(ui::LoadStep step) override {
    if (step == ui::LoadStep::CurrentIcon && aim_) aim_->RefreshCurrentIcon(false);
  }

  // The preview can be seen only on screen, and each refresh reads AIM's users from the
  // registry: refreshed when the window shows, then every 2 s while it is shown.
  void OnVisible(bool visible) override {
    if (!visible) {
      KillTimer(host_.MainWindow(), ids::TmrIcon);
      return;
    }
    if (aim_) aim_->RefreshCurrentIcon(false);
    SetTimer(host_.MainWindow(), ids::TmrIcon, kIconInterval, nullptr);
  }

  bool OnCommand(int id, int code, HWND) override {
    if (id != ids::cmdUse || code != BN_CLICKED || !aim_) return false;
    cmdUse_Click();
    return true;
  }

  void OnTimer(int timerId) override {
    if (!aim_) return;
    switch (timerId) {
      case ids::TmrAIM: aim_->TmrAIM_Timer(); break;
      case ids::TmrIcon: aim_->RefreshCurrentIcon(false); break;
      case ids::TmrMsg: TmrMsg_Timer(); break;
      default: break;
    }
  }

  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (!aim_ || !aim_->OnMessage(msg, wp, lp)) return false;
    result = 0;
    return true;
  }

  void OnUnload() override {
    if (!aim_) return;
    KillTimer(host_.MainWindow(), ids::TmrMsg);
    KillTimer(host_.MainWindow(), ids::TmrIcon);
    aim_->UnloadHook();
    host_.Hooks().applyBuddyIcon = nullptr;
    host_.Hooks().refreshCurrentIcon = nullptr;
  }

 private:
  // With nothing selected there is no icon to apply, and nothing happens.
  void cmdUse_Click() {
    const std::wstring library = host_.ProgramFolder() + L"\\Icon Library\\";
    std::wstring path;
    if (host_.LibrarySelected()) {
      const std::wstring folder = Trimmed(SelectedListViewText(host_.Control(ids::lvFolders)));
      const std::wstring file = Trimmed(SelectedListViewText(host_.Control(ids::lvFiles)));
      if (folder.empty() || file.empty()) return;
      path = library + folder + L"\\" + file;
    } else {
      const std::wstring entry = Trimmed(FirstSelectedListBoxText(host_.Control(ids::lstRotation)));
      if (entry.empty()) return;
      path = library + entry;
    }
    Apply(path, true);
  }

  // AIM's "Confirm action" question is watched for only around an apply, which is
  // what makes AIM ask it; a few seconds more cover an AIM slower than the apply's waits.
  void Apply(const std::wstring& path, bool manual) {
    SetTimer(host_.MainWindow(), ids::TmrMsg, kWatchInterval, nullptr);
    aim_->ApplyBuddyIcon(path, manual);
    lastApplyEnd_ = GetTickCount();
  }

  void TmrMsg_Timer() {
    aim_->AnswerConfirmAction();
    if (!aim_->ConfirmWatchNeeded() && GetTickCount() - lastApplyEnd_ >= kWatchAfterApply)
      KillTimer(host_.MainWindow(), ids::TmrMsg);
  }

  ui::Host& host_;
  std::unique_ptr<Aim> aim_;
  DWORD lastApplyEnd_ = 0;
};

}  // namespace

std::unique_ptr<ui::Feature> MakeAimFeature(ui::Host& host) { return std::make_unique<AimFeature>(host); }

}  // namespace iv::aim
