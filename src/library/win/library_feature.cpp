#include "library/win/library_feature.h"

#include <commctrl.h>

#include <climits>

#include "base/win/files.h"
#include "base/win/utf.h"
#include "base/win/window.h"
#include "download/core/server.h"
#include "library/core/categories.h"
#include "library/core/layout.h"
#include "library/core/prompts.h"
#include "library/core/safety.h"
#include "library/win/image_icons.h"
#include "library/win/library_files.h"
#include "msgbox/core/answer.h"
#include "ui/win/ids.h"
#include "ui/win/image_view.h"

namespace iv::library {

namespace {


// Thin list view and list box helpers; rows are 0-based.
int RowCount(HWND lv) { return ListView_GetItemCount(lv); }
int SelectedRow(HWND lv) { return ListView_GetNextItem(lv, -1, LVNI_SELECTED); }

std::wstring RowText(HWND lv, int row) { return ListViewText(lv, row); }

void AppendRow(HWND lv, const std::wstring& text, int image) {
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = INT_MAX;  // past the end: appended, so the listing order is kept
  item.pszText = const_cast<wchar_t*>(text.c_str());
  item.iImage = image;
  ListView_InsertItem(lv, &item);
}

void SetRowImage(HWND lv, int row, int image) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iImage = image;
  ListView_SetItem(lv, &item);
}

// The row with this text, trying `hint` first; -1 when there is none.
int FindRow(HWND lv, const std::wstring& text, int hint) {
  if (hint >= 0 && hint < RowCount(lv) && RowText(lv, hint) == text) return hint;
  for (int i = 0, n = RowCount(lv); i < n; ++i)
    if (RowText(lv, i) == text) return i;
  return -1;
}

void SetListRedraw(HWND ctl, bool hold) {
  SendMessageW(ctl, WM_SETREDRAW, hold ? FALSE : TRUE, 0);
  if (!hold) RedrawWindow(ctl, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

std::wstring TrimBlanks(const std::wstring& s) {
  const size_t b = s.find_first_not_of(L' ');
  if (b == std::wstring::npos) return {};
  return s.substr(b, s.find_last_not_of(L' ') - b + 1);
}

// A name of "Categories.dat": UTF-8 where it is valid, otherwise the system code page
// of older files. The page address is built from the text shown.
std::wstring FromAnsi(const std::string& s) {
  if (s.empty()) return {};
  const UINT cp = IsUtf8(s) ? CP_UTF8 : CP_ACP;
  const int n = MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

std::wstring LowerCase(std::wstring s) {
  if (!s.empty()) CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

class LibraryFeature final : public ui::Feature {
 public:
  LibraryFeature(ui::Host& host, LibraryServices services) : host_(host), services_(std::move(services)) {
    ui::HostHooks& hooks = host_.Hooks();
    hooks.showPreview = [this](const std::wstring& path) { ShowPreview(path); };
    hooks.showCategory = [this](const std::string& name) { ShowCategory(name); };
    hooks.refreshCategories = [this] { RefreshCategories(); };
  }

  ~LibraryFeature() override {
    ui::HostHooks& hooks = host_.Hooks();
    hooks.showPreview = nullptr;
    hooks.showCategory = nullptr;
    hooks.refreshCategories = nullptr;
    for (HIMAGELIST list : sharedLists_) ImageList_Destroy(list);
  }

  void OnLoadStep(ui::LoadStep step) override {
    using enum ui::LoadStep;
    switch (step) {
      case Letters:
        FillLetters();
        break;
      case Categories:
        RefreshCatArray();
        break;
      case FirstLetter:
        SendMessageW(Ctl(ids::cmbLet), CB_SETCURSEL, 0, 0);
        cmbLet_Click();
        break;
      case ImageIcons:
        AttachImageIcons();
        AcceptDrops();
        break;
      case LibraryFolder:
        CreateDirectoryW(Root().c_str(), nullptr);  // fails harmlessly when it exists
        break;
      case ScanLibrary:
        ScanLibraryFolder(Root() + L"\\", L"*.*");
        SelectRow(Ctl(ids::lvFolders), 0);
        Folder_Click(L"");
        host_.LibrarySelected() = true;
        break;
      case Preview:
        PreviewSelected();
        break;
      default:
        break;
    }
  }

  bool OnCommand(int id, int code, HWND /*ctl*/) override {
    if (id == ids::cmbLet && code == CBN_SELCHANGE) {
      cmbLet_Click();
      return true;
    }
    if (code != BN_CLICKED) return false;
    switch (id) {
      case ids::cmdDelIcon:
        cmdDelIcon_Click();
        return true;
      case ids::cmdDelFolder:
        cmdDelFolder_Click();
        return true;
      case ids::cmdBrowse:
        cmdBrowse_Click();
        return true;
      case ids::cmdView:
        cmdView_Click();
        return true;
      case ids::cmdImport:
        if (services_.import.choose) ImportIntoLibrary(services_.import.choose(host_.MainWindow()), -1);
        return true;
    }
    return false;
  }

  bool OnNotify(NMHDR* nm, LRESULT& /*result*/) override {
    const bool folders = nm->hwndFrom == Ctl(ids::lvFolders);
    if (!folders && nm->hwndFrom != Ctl(ids::lvFiles)) return false;
    int row = -1;
    if (nm->code == NM_CLICK) {
      row = reinterpret_cast<NMITEMACTIVATE*>(nm)->iItem;
    } else if (nm->code == LVN_ITEMCHANGED && !selecting_) {
      // A row the user selected with the keyboard counts as clicked too.
      const auto* change = reinterpret_cast<NMLISTVIEW*>(nm);
      if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
          !(change->uOldState & LVIS_SELECTED))
        row = change->iItem;
    }
    if (row < 0) return false;
    if (folders)
      lvFolders_ItemClick(row);
    else
      lvFiles_ItemClick();
    return true;
  }

  // Reloads the category array from "Categories.dat".
  void RefreshCatArray() {
    catArray_ = ParseCategories(ReadWholeFile(Widen(CategoriesFilePath(Narrow(host_.ProgramFolder())))));
  }

  // Refills the server category list for the chosen letter.
  void cmbLet_Click() {
    const HWND cmb = Ctl(ids::cmbLet), lst = Ctl(ids::LstCats);
    std::wstring chosen;
    const LRESULT sel = SendMessageW(cmb, CB_GETCURSEL, 0, 0);
    if (sel != CB_ERR) {
      chosen.resize(SendMessageW(cmb, CB_GETLBTEXTLEN, sel, 0) + 1);
      chosen.resize(SendMessageW(cmb, CB_GETLBTEXT, sel, reinterpret_cast<LPARAM>(chosen.data())));
    }
    SetListRedraw(lst, true);
    SendMessageW(lst, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : FilterByLetter(catArray_, Narrow(chosen)))
      SendMessageW(lst, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FromAnsi(name).c_str()));
    SetListRedraw(lst, false);
  }

  // Adds the folder's category folders and icons to the two views (neither is cleared).
  void ScanLibraryFolder(const std::wstring& folder, const std::wstring& pattern) {
    const HWND folders = Ctl(ids::lvFolders), files = Ctl(ids::lvFiles);
    SetListRedraw(files, true);
    SetListRedraw(folders, true);
    const ScanResult scan = ScanFolder(ListDirectory, Narrow(folder), Narrow(pattern));
    ListView_SetItemCountEx(files, RowCount(files) + static_cast<int>(scan.fileRows.size()), LVSICF_NOSCROLL);
    for (const std::string& name : scan.folders) AppendRow(folders, Widen(name), ClosedFile);
    for (const std::string& row : scan.fileRows) AppendRow(files, LowerCase(Widen(row)), HTMLFile);
    SetListRedraw(files, false);
    SetListRedraw(folders, false);
  }

  // Shows the category selected in the folder view; `itemText` is the clicked row's text.
  void Folder_Click(const std::wstring& itemText) {
    if (!itemText.empty() && itemText == lastFolderText_) return;  // the same row again
    lastFolderText_ = itemText;
    const HWND folders = Ctl(ids::lvFolders), files = Ctl(ids::lvFiles);
    const int sel = SelectedRow(folders);
    if (sel < 0) return;
    const std::wstring path = Root() + L"\\" + RowText(folders, sel);
    if (path == currentFolderPath_) return;
    for (int i = 0, n = RowCount(folders); i < n; ++i) SetRowImage(folders, i, i == sel ? OpenFile : ClosedFile);
    Clear(files);
    currentFolderPath_ = path;
    ScanLibraryFolder(path, L"*.*");
    SelectRow(files, 0);  // the first icon is the one previewed
    host_.LibrarySelected() = true;
    PreviewSelected();
  }

  void ShowPreview(const std::wstring& path) { ui::SetImagePath(Ctl(ids::WbPreview), path); }

  // A category that downloads created: listed once, after the others.
  void ShowCategory(const std::string& name) {
    const HWND folders = Ctl(ids::lvFolders);
    const std::wstring text = Widen(name);
    if (!text.empty() && FindRow(folders, text, -1) < 0) AppendRow(folders, text, ClosedFile);
  }

  void RefreshCategories() {
    RefreshCatArray();
    cmbLet_Click();
  }

 private:
  HWND Ctl(int id) const { return host_.Control(id); }
  std::wstring Root() const { return Widen(LibraryRoot(Narrow(host_.ProgramFolder()))); }

  int Ask(const std::string& prompt) const {
    return services_.ask ? services_.ask(host_.MainWindow(), prompt) : 0;
  }

  void FillLetters() {
    const HWND cmb = Ctl(ids::cmbLet);
    SendMessageW(cmb, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : LetterEntries())
      SendMessageW(cmb, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(entry).c_str()));
  }

  void AttachImageIcons() {
    for (int id : {ids::lvFolders, ids::lvFiles}) {
      const HWND lv = Ctl(id);
      if (!lv) continue;
      // Views that share their lists leave destroying them to us.
      const bool shared = (GetWindowLongPtrW(lv, GWL_STYLE) & LVS_SHAREIMAGELISTS) != 0;
      for (auto [size, which] : {std::pair{16, LVSIL_SMALL}, std::pair{32, LVSIL_NORMAL}}) {
        HIMAGELIST list = CreateImageIcons(size);
        if (!list) continue;
        if (shared) sharedLists_.push_back(list);
        if (HIMAGELIST old = ListView_SetImageList(lv, list, which); old && !shared) ImageList_Destroy(old);
      }
    }
  }

  void SelectRow(HWND lv, int row) {
    if (row < 0 || row >= RowCount(lv)) return;
    selecting_ = true;
    ListView_SetItemState(lv, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(lv, row, FALSE);
    selecting_ = false;
  }

  void Clear(HWND lv) {
    selecting_ = true;
    ListView_DeleteAllItems(lv);
    selecting_ = false;
  }

  // The icon selected in the two views, or "" when either has no selection.
  std::wstring SelectedIconPath() const {
    const HWND folders = Ctl(ids::lvFolders), files = Ctl(ids::lvFiles);
    const int f = SelectedRow(folders), i = SelectedRow(files);
    if (f < 0 || i < 0) return {};
    return Root() + L"\\" + TrimBlanks(RowText(folders, f)) + L"\\" + TrimBlanks(RowText(files, i));
  }

  void PreviewSelected() { ShowPreview(SelectedIconPath()); }

  void lvFolders_ItemClick(int row) {
    Folder_Click(RowText(Ctl(ids::lvFolders), row));
    host_.LibrarySelected() = true;
    PreviewSelected();
  }

  void lvFiles_ItemClick() {
    host_.LibrarySelected() = true;
    PreviewSelected();
  }

  void cmdDelIcon_Click() {
    const HWND folders = Ctl(ids::lvFolders), files = Ctl(ids::lvFiles);
    const int f = SelectedRow(folders), i = SelectedRow(files);
    if (f < 0 || i < 0) return;  // no icon named: nothing to ask about
    const std::wstring category = RowText(folders, f), row = RowText(files, i);
    if (Ask(DeleteIconPrompt(Narrow(row), Narrow(category))) != msgbox::kAnswerYes) return;
    // A file that cannot go (hidden and read-only, in use) stays; the row goes either way.
    DeleteIconFile(Root(), category, TrimBlanks(row));
    if (const int now = FindRow(files, row, i); now >= 0) {
      selecting_ = true;
      ListView_DeleteItem(files, now);
      selecting_ = false;
    }
    Folder_Click(L"");
  }

  void cmdDelFolder_Click() {
    const HWND folders = Ctl(ids::lvFolders), files = Ctl(ids::lvFiles);
    const int noted = SelectedRow(folders);
    if (noted < 0) return;  // no category named: nothing to ask about
    const std::wstring category = RowText(folders, noted);
    if (Ask(DeleteFolderPrompt(Narrow(category))) != msgbox::kAnswerYes) return;
    // A folder that keeps a read-only file stays on disk; its row goes either way.
    DeleteCategoryFolder(Root(), category);
    const int row = FindRow(folders, category, noted);
    if (row < 0) return;
    selecting_ = true;
    ListView_DeleteItem(folders, row);
    selecting_ = false;
    if (const auto next = RowAfterDelete(row, RowCount(folders))) {
      SelectRow(folders, *next);
      Folder_Click(L"");
    } else {
      Clear(files);
      currentFolderPath_.clear();
      ShowPreview(L"");
    }
    SetListRedraw(folders, false);
    SetListRedraw(files, false);
  }

  void cmdBrowse_Click() {
    if (services_.open) services_.open(Root() + L"\\");
  }

  // Files dropped on a category row go to that category; elsewhere, to the selected one.
  void AcceptDrops() {
    AcceptDroppedFiles(Ctl(ids::lvFolders), [this](const std::vector<std::wstring>& files, int row) {
      ImportIntoLibrary(files, row);
    });
    AcceptDroppedFiles(Ctl(ids::lvFiles),
                       [this](const std::vector<std::wstring>& files, int) { ImportIntoLibrary(files, -1); });
  }

  void ImportIntoLibrary(const std::vector<std::wstring>& files, int folderRow) {
    const HWND view = Ctl(ids::lvFolders);
    if (folderRow < 0) folderRow = SelectedRow(view);
    const std::wstring offered = folderRow < 0 ? L"" : RowText(view, folderRow);
    ImportPictures(host_.MainWindow(), Root(), files, offered, services_.import, [this](const std::wstring& category) {
      const HWND folders = Ctl(ids::lvFolders);
      ShowCategory(Narrow(category));
      SelectRow(folders, FindRow(folders, category, -1));
      currentFolderPath_.clear();  // the category has new icons: list it again
      Folder_Click(L"");
    });
  }

  void cmdView_Click() {
    const HWND lst = Ctl(ids::LstCats);
    const LRESULT sel = SendMessageW(lst, LB_GETCURSEL, 0, 0);
    if (sel == LB_ERR) return;  // no category chosen: there is no page to open
    const std::wstring text = ListBoxText(lst, static_cast<int>(sel));
    const std::string url = download::ServerUrl(host_.Store(), CategoryPagePath(Narrow(text)));
    if (services_.open) services_.open(Widen(url));
  }

  ui::Host& host_;
  LibraryServices services_;
  std::vector<std::string> catArray_ = std::vector<std::string>(1);
  std::wstring currentFolderPath_;
  std::wstring lastFolderText_;
  bool selecting_ = false;  // selection changes the feature makes itself are not clicks
  std::vector<HIMAGELIST> sharedLists_;
};

}  // namespace

std::unique_ptr<ui::Feature> MakeLibraryFeature(ui::Host& host, LibraryServices services) {
  return std::make_unique<LibraryFeature>(host, std::move(services));
}

std::unique_ptr<ui::Feature> MakeLibraryFeature(ui::Host& host) {
  return MakeLibraryFeature(host, DefaultLibraryServices());
}

}  // namespace iv::library
