// A stand-in main window for the features' Wine tests: a top-level window whose
// children are the controls a feature uses, forwarding their notifications and its
// timers to it, and a Host that records what the feature asks of the others.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "settings/core/store.h"
#include "ui/win/feature.h"

namespace iv::ui::testing {

// Forms post a quit when the last one goes; a later menu or wait would end at once.
inline void DrainQuit() {
  MSG m;
  while (PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

class TestHost : public Host {
 public:
  // With no store given, the host keeps its own in memory.
  explicit TestHost(settings::Store* store = nullptr) : store_(store ? store : &ownStore_) {
    static const bool registered = [] {
      INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
      InitCommonControlsEx(&icc);
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = Proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"IvFeatureTestHost";
      return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    window_ = CreateWindowExW(0, L"IvFeatureTestHost", L"feature test", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480,
                              nullptr, nullptr, GetModuleHandleW(nullptr), this);
    ShowWindow(window_, SW_SHOWNOACTIVATE);
  }
  ~TestHost() override {
    routed_ = nullptr;
    feature_.reset();
    DestroyWindow(window_);
  }
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  // The feature under test gets the window's notifications: owned, or only routed to.
  void SetFeature(std::unique_ptr<Feature> feature) {
    feature_ = std::move(feature);
    routed_ = feature_.get();
  }
  void Route(Feature* feature) { routed_ = feature; }
  Feature& feature() { return *routed_; }
  void Load() {
    loading = true;
    ForEachLoadStep([this](LoadStep step) { routed_->OnLoadStep(step); });
    loading = false;
  }

  HWND Add(int id, const wchar_t* cls, DWORD style, int x, int y, int w, int h) {
    return controls_[id] = CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, x, y, w, h, window_,
                                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                           GetModuleHandleW(nullptr), nullptr);
  }
  void Put(int id, HWND control) { controls_[id] = control; }
  // A one-column list view without headers, as the main window's.
  HWND AddListView(int id, DWORD style, int x, int y, int w, int h) {
    const HWND lv = Add(id, WC_LISTVIEWW, LVS_REPORT | style, x, y, w, h);
    LVCOLUMNW col{};
    col.mask = LVCF_WIDTH;
    col.cx = w - 20;
    ListView_InsertColumn(lv, 0, &col);
    return lv;
  }

  // Host
  HWND MainWindow() const override { return window_; }
  HWND Control(int id) const override {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
  }
  settings::Store& Store() override { return *store_; }
  const std::wstring& ProgramFolder() const override { return programFolder; }
  bool IsLoading() const override { return loading; }
  bool ApplyBuddyIcon(const std::wstring& path) override {
    applied.push_back(path);
    return hooks_.applyBuddyIcon ? hooks_.applyBuddyIcon(path) : true;
  }
  void RefreshCurrentIcon(bool force) override {
    if (hooks_.refreshCurrentIcon) hooks_.refreshCurrentIcon(force);
  }
  void ShowPreview(const std::wstring& path) override {
    previews.push_back(path);
    if (hooks_.showPreview) hooks_.showPreview(path);
  }
  void AppendToRotation(const std::vector<std::string>& entries) override {
    if (hooks_.appendToRotation) hooks_.appendToRotation(entries);
  }
  void ShowCategory(const std::string& name) override {
    if (hooks_.showCategory) hooks_.showCategory(name);
  }
  void RefreshCategories() override {
    if (hooks_.refreshCategories) hooks_.refreshCategories();
  }
  void ShowAbout() override {
    if (hooks_.showAbout) hooks_.showAbout();
  }
  bool& LibrarySelected() override { return librarySelected; }
  HostHooks& Hooks() override { return hooks_; }

  std::wstring programFolder = L"C:\\Prog";
  bool loading = false;
  bool librarySelected = false;
  std::vector<std::wstring> applied, previews;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE)
      SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    auto* self = reinterpret_cast<TestHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (Feature* feature = self ? self->routed_ : nullptr) {
      if (msg == WM_COMMAND && feature->OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp))) return 0;
      if (msg == WM_TIMER) {
        feature->OnTimer(static_cast<int>(wp));
        return 0;
      }
      if (msg == WM_NOTIFY) {
        LRESULT result = 0;
        if (feature->OnNotify(reinterpret_cast<NMHDR*>(lp), result)) return result;
      }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }

  settings::MemoryBackend ownBackend_;
  settings::Store ownStore_{ownBackend_};
  settings::Store* store_;
  HWND window_ = nullptr;
  std::map<int, HWND> controls_;
  HostHooks hooks_;
  std::unique_ptr<Feature> feature_;
  Feature* routed_ = nullptr;
};

}  // namespace iv::ui::testing
