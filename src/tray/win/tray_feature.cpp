#include "tray/win/tray_feature.h"

#include "base/win/utf.h"
#include "links/core/links.h"
#include "shell/win/shell_open.h"
#include "tray/win/frmSysTray.h"
#include "ui/win/forms.h"

namespace iv::tray {
namespace {

class TrayFeature : public ui::Feature {
 public:
  explicit TrayFeature(ui::Host& host)
      : host_(host), exitMessage_(RegisterWindowMessageW(L"Iconvane.TrayExit")) {}

  void OnLoadStep(ui::LoadStep step) override {
    if (step == ui::LoadStep::TrayIcon) CreateTrayIcon();
  }

  bool OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
    if (!exitMessage_ || msg != exitMessage_) return false;
    ui::UnloadAllForms();
    result = 0;
    return true;
  }

 private:
  void CreateTrayIcon() {
    TrayEvents events;
    events.menuClick = [this](int32_t index, const std::string& key) { SysTray_MenuClick(index, key); };
    events.doubleClick = [this](int32_t button) { SysTray_SysTrayDoubleClick(button); };
    events.mouseDown = [this](int32_t button) { SysTray_SysTrayMouseDown(button); };
    SysTray = std::make_unique<frmSysTray>(std::move(events));
    SysTray->AddMenuItem(L"Show Iconvane Window", L"open", true);
    SysTray->AddMenuItem(L"Next Icon", L"next");
    SysTray->AddMenuItem(L"Previous Icon", L"previous");
    pauseItem_ = SysTray->AddMenuItem(L"Pause Rotation", L"pause");
    SysTray->AddMenuItem(L"-");
    SysTray->AddMenuItem(L"&Visit Dravolt Software Online", L"online");
    SysTray->AddMenuItem(L"-");
    SysTray->AddMenuItem(L"&About Iconvane...", L"About");
    SysTray->AddMenuItem(L"-");
    SysTray->AddMenuItem(L"&Exit Iconvane", L"close");
    SysTray->SetToolTip(L"Iconvane - Right Click for Options");
    SysTray->SetIconHandle(MainIcon());
  }

  HICON MainIcon() const {
    const HWND main = host_.MainWindow();
    auto icon = reinterpret_cast<HICON>(SendMessageW(main, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(main, GCLP_HICONSM));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(main, GCLP_HICON));
    return icon ? icon : SysTray->IconHandle();
  }

  void SysTray_MenuClick(int32_t /*index*/, const std::string& key) {
    const HWND main = host_.MainWindow();
    if (key == "open") {
      ShowWindow(main, SW_SHOW);
      if (IsIconic(main) || IsZoomed(main)) ShowWindow(main, SW_RESTORE);
    } else if (key == "online") {
      shell::ShellOpen(Widen(links::MakerUrl("/")));
    } else if (key == "About") {
      host_.ShowAbout();
    } else if (key == "next") {
      if (host_.Hooks().nextIcon) host_.Hooks().nextIcon();
    } else if (key == "previous") {
      if (host_.Hooks().previousIcon) host_.Hooks().previousIcon();
    } else if (key == "pause") {
      // The same item pauses and resumes.
      if (host_.Hooks().pauseRotation) host_.Hooks().pauseRotation(!Paused());
    } else if (key == "close") {
      // Posted: unloading destroys the tray window whose menu is still returning.
      PostMessageW(main, exitMessage_, 0, 0);
    }
  }

  void SysTray_SysTrayMouseDown(int32_t button) {
    const HWND main = host_.MainWindow();
    if (button == 2) {
      ShowPauseCheck();
      SysTray->ShowMenu();
    } else if (button == 1 && IsWindowVisible(main) && (IsIconic(main) || IsZoomed(main))) {
      ShowWindow(main, SW_RESTORE);
    }
  }

  void SysTray_SysTrayDoubleClick(int32_t /*button*/) { ui::ShowForm(host_.MainWindow()); }

  // Checked while paused, whoever paused the rotation (a command, another copy).
  void ShowPauseCheck() {
    if (SysTray->IsItemChecked(pauseItem_) != Paused()) SysTray->CheckMenuItem(pauseItem_);
  }
  bool Paused() const { return host_.Hooks().rotationPaused && host_.Hooks().rotationPaused(); }

  ui::Host& host_;
  UINT exitMessage_;
  std::unique_ptr<frmSysTray> SysTray;
  int32_t pauseItem_ = -1;
};

}  // namespace

std::unique_ptr<ui::Feature> MakeTrayFeature(ui::Host& host) { return std::make_unique<TrayFeature>(host); }

}  // namespace iv::tray
