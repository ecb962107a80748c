// A stand-in main window for the library feature: the controls it uses, the host calls
// it makes, and a temporary program folder. Shared by the Wine tests and benchmarks.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "library/win/library_feature.h"
#include "settings/core/store.h"
#include "ui/win/feature.h"
#include "ui/win/ids.h"
#include "ui/win/image_view.h"

namespace iv::library::testing {

namespace fs = std::filesystem;

class FakeHost : public ui::Host {
 public:
  // The feature answers every question with `answer` and records what it asked and opened.
  // A fresh temporary program folder, removed afterwards, or an existing one that is kept.
  explicit FakeHost(const fs::path& existing = {}) : keep_(!existing.empty()) {
    static bool registered = [] {
      INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
      InitCommonControlsEx(&icc);
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = Proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"IvLibraryTestHost";
      return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    folder_ = keep_ ? existing : NewTempFolder();
    fs::create_directories(folder_);
    programFolder_ = folder_.wstring();
    while (!programFolder_.empty() && programFolder_.back() == L'\\') programFolder_.pop_back();
    window_ = CreateWindowExW(0, L"IvLibraryTestHost", L"library test", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                              nullptr, GetModuleHandleW(nullptr), this);
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    const DWORD lv = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER;
    Add(ids::cmbLet, WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL, 0, 0, 100, 300);
    Add(ids::LstCats, L"LISTBOX", LBS_NOTIFY | WS_VSCROLL, 0, 30, 200, 150);
    Add(ids::lvFolders, WC_LISTVIEWW, lv, 210, 0, 150, 270);
    Add(ids::lvFiles, WC_LISTVIEWW, lv, 370, 0, 150, 270);
    for (int id : {ids::lvFolders, ids::lvFiles}) {
      LVCOLUMNW col{};
      col.mask = LVCF_WIDTH;
      col.cx = 130;
      ListView_InsertColumn(Control(id), 0, &col);
    }
    for (int id : {ids::cmdDelFolder, ids::cmdDelIcon, ids::cmdBrowse, ids::cmdView, ids::cmdImport})
      Add(id, L"BUTTON", BS_PUSHBUTTON, 0, 300 + 30 * (id % 4), 80, 25);
    controls_[ids::WbPreview] = ui::CreateImageView(window_, ids::WbPreview, RECT{530, 0, 610, 80});
    LibraryServices services;
    services.ask = [this](HWND, const std::string& prompt) {
      prompts.push_back(prompt);
      return answer;
    };
    services.open = [this](const std::wstring& target) {
      opened.push_back(target);
      return true;
    };
    services.import.choose = [this](HWND) { return chosen; };
    services.import.askText = [this](HWND, const std::string& prompt, const std::wstring& suggested) {
      prompts.push_back(prompt);
      offered.push_back(suggested);
      if (categoryAnswers.empty()) return std::wstring();
      const std::wstring answer = categoryAnswers.front();
      categoryAnswers.erase(categoryAnswers.begin());
      return answer;
    };
    services.import.tell = [this](HWND, const std::string& text) { told.push_back(text); };
    feature_ = MakeLibraryFeature(*this, services);
  }

  ~FakeHost() override {
    feature_.reset();
    DestroyWindow(window_);
    if (keep_) return;
    std::error_code ec;
    // Read-only files would block the clean-up.
    for (auto it = fs::recursive_directory_iterator(folder_, ec); it != fs::recursive_directory_iterator(); ++it)
      SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(folder_, ec);
  }

  // Host
  HWND MainWindow() const override { return window_; }
  HWND Control(int id) const override {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
  }
  settings::Store& Store() override { return store_; }
  const std::wstring& ProgramFolder() const override { return programFolder_; }
  bool IsLoading() const override { return false; }
  bool ApplyBuddyIcon(const std::wstring&) override { return false; }
  void RefreshCurrentIcon(bool) override {}
  void ShowPreview(const std::wstring& p) override {
    if (hooks_.showPreview) hooks_.showPreview(p);
  }
  void AppendToRotation(const std::vector<std::string>&) override {}
  void ShowCategory(const std::string& n) override {
    if (hooks_.showCategory) hooks_.showCategory(n);
  }
  void ShowAbout() override {}
  void RefreshCategories() override {
    if (hooks_.refreshCategories) hooks_.refreshCategories();
  }
  bool& LibrarySelected() override { return librarySelected; }
  ui::HostHooks& Hooks() override { return hooks_; }

  // The load steps the library feature takes a share in.
  void Load() {
    for (int step = 1; step <= 22; ++step) feature_->OnLoadStep(step);
  }

  fs::path Library() const { return folder_ / L"Icon Library"; }
  fs::path Folder() const { return folder_; }
  void WriteFile(const fs::path& path, const std::string& bytes = "GIF89a") {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }

  // Clicks a button the way a user or a screen reader does.
  void Click(int id) { SendMessageW(Control(id), BM_CLICK, 0, 0); }
  // Selects a row as the keyboard does (the feature sees the selection change).
  void Select(int listId, int row) {
    ListView_SetItemState(Control(listId), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  std::vector<std::wstring> Rows(int listId) const {
    std::vector<std::wstring> rows;
    const HWND lv = Control(listId);
    for (int i = 0, n = ListView_GetItemCount(lv); i < n; ++i) {
      wchar_t buf[512] = {};
      ListView_GetItemText(lv, i, 0, buf, 512);
      rows.push_back(buf);
    }
    return rows;
  }
  int Selected(int listId) const { return ListView_GetNextItem(Control(listId), -1, LVNI_SELECTED); }
  int Image(int listId, int row) const {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ListView_GetItem(Control(listId), &item);
    return item.iImage;
  }
  std::vector<std::wstring> ListBoxRows(int id) const {
    std::vector<std::wstring> rows;
    const HWND lb = Control(id);
    for (LRESULT i = 0, n = SendMessageW(lb, LB_GETCOUNT, 0, 0); i < n; ++i) {
      std::wstring text(SendMessageW(lb, LB_GETTEXTLEN, i, 0) + 1, L'\0');
      text.resize(SendMessageW(lb, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data())));
      rows.push_back(text);
    }
    return rows;
  }

  static fs::path NewTempFolder() {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    return fs::path(tmp) / (L"iv_lib_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(counter_++));
  }

  int answer = 6;
  std::vector<std::string> prompts;
  std::vector<std::wstring> opened;
  // Importing: the files "chosen", the category names typed in turn, what was offered and told.
  std::vector<std::wstring> chosen, categoryAnswers, offered;
  std::vector<std::string> told;
  bool librarySelected = false;
  ui::Feature& feature() { return *feature_; }

 private:
  void Add(int id, const wchar_t* cls, DWORD style, int x, int y, int w, int h) {
    controls_[id] = CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, x, y, w, h, window_,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                    nullptr);
  }

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE)
      SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    auto* self = reinterpret_cast<FakeHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && self->feature_) {
      if (msg == WM_COMMAND &&
          self->feature_->OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)))
        return 0;
      if (msg == WM_NOTIFY) {
        LRESULT result = 0;
        if (self->feature_->OnNotify(reinterpret_cast<NMHDR*>(lp), result)) return result;
      }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }

  static inline int counter_ = 0;
  bool keep_;
  fs::path folder_;
  std::wstring programFolder_;
  HWND window_ = nullptr;
  std::map<int, HWND> controls_;
  settings::MemoryBackend backend_;
  settings::Store store_{backend_};
  ui::HostHooks hooks_;
  std::unique_ptr<ui::Feature> feature_;
};

}  // namespace iv::library::testing
