// A stand-in main window for the library feature: the controls it uses, the host calls
// it makes, and a temporary program folder. Shared by the Wine tests and benchmarks.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "base/win/window.h"
#include "library/win/library_feature.h"
#include "settings/core/store.h"
#include "ui/win/feature.h"
#include "ui/wintests/test_host.h"
#include "ui/win/ids.h"
#include "ui/win/image_view.h"

namespace iv::library::testing {

namespace fs = std::filesystem;

class FakeHost : public ui::testing::TestHost {
 public:
  // The feature answers every question with `answer` and records what it asked and opened.
  // A fresh temporary program folder, removed afterwards, or an existing one that is kept.
  explicit FakeHost(const fs::path& existing = {}) : keep_(!existing.empty()) {
    folder_ = keep_ ? existing : NewTempFolder();
    fs::create_directories(folder_);
    programFolder = folder_.wstring();
    while (!programFolder.empty() && programFolder.back() == L'\\') programFolder.pop_back();
    const DWORD lv = LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER;
    Add(ids::cmbLet, WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL, 0, 0, 100, 300);
    Add(ids::LstCats, L"LISTBOX", LBS_NOTIFY | WS_VSCROLL, 0, 30, 200, 150);
    AddListView(ids::lvFolders, lv, 210, 0, 150, 270);
    AddListView(ids::lvFiles, lv, 370, 0, 150, 270);
    for (int id : {ids::cmdDelFolder, ids::cmdDelIcon, ids::cmdBrowse, ids::cmdView, ids::cmdImport})
      Add(id, L"BUTTON", BS_PUSHBUTTON, 0, 300 + 30 * (id % 4), 80, 25);
    Put(ids::WbPreview, ui::CreateImageView(MainWindow(), ids::WbPreview, RECT{530, 0, 610, 80}));
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
    SetFeature(MakeLibraryFeature(*this, services));
  }

  ~FakeHost() override {
    SetFeature(nullptr);
    if (keep_) return;
    std::error_code ec;
    // Read-only files would block the clean-up.
    for (auto it = fs::recursive_directory_iterator(folder_, ec); it != fs::recursive_directory_iterator(); ++it)
      SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(folder_, ec);
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
    for (int i = 0, n = ListView_GetItemCount(lv); i < n; ++i) rows.push_back(ListViewText(lv, i));
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
    for (int i = 0, n = static_cast<int>(SendMessageW(lb, LB_GETCOUNT, 0, 0)); i < n; ++i)
      rows.push_back(ListBoxText(lb, i));
    return rows;
  }

  static fs::path NewTempFolder() {
    return fs::temp_directory_path() /
           (L"iv_lib_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(counter_++));
  }

  int answer = 6;
  std::vector<std::string> prompts;
  std::vector<std::wstring> opened;
  // Importing: the files "chosen", the category names typed in turn, what was offered and told.
  std::vector<std::wstring> chosen, categoryAnswers, offered;
  std::vector<std::string> told;

 private:
  static inline int counter_ = 0;
  bool keep_;
  fs::path folder_;
};

}  // namespace iv::library::testing
