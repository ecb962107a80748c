// Importing through the library views: the button, dropped files, the category
// question, the progress window and its "Cancel".
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cwchar>

#include "library/wintests/fake_host.h"
#include "library/wintests/pictures.h"

namespace iv::library::testing {
namespace {

class ImportUiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    host_ = std::make_unique<FakeHost>();
    for (const char* f : {"Cats/tabby.gif", "Dogs/pug.gif"}) host_->WriteFile(host_->Library() / f);
    host_->Load();
    pictures_ = host_->Folder() / L"pictures";
    fs::create_directories(pictures_);
    ComPtr<IWICImagingFactory> wic;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_PPV_ARGS(&wic))));
    ASSERT_TRUE(SavePhotoJpeg(wic.Get(), pictures_ / L"Beach.jpg", 1600, 1200, 4));
    SaveBytes(pictures_ / L"dot.bmp", Bmp(1, 1));
    SaveBytes(pictures_ / L"notes.txt", Bmp(1, 1));
  }
  void TearDown() override {
    host_.reset();
    CoUninitialize();
  }

  std::vector<std::wstring> Pictures(std::initializer_list<const wchar_t*> names) const {
    std::vector<std::wstring> out;
    for (const wchar_t* n : names) out.push_back((pictures_ / n).wstring());
    return out;
  }

  // Drops files on a list view the way the shell does, at a point in its client area.
  void Drop(int listId, const std::vector<std::wstring>& files, POINT at) {
    size_t chars = 1;
    for (const auto& f : files) chars += f.size() + 1;
    HGLOBAL mem = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(mem));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = at;
    drop->fWide = TRUE;
    auto* names = reinterpret_cast<wchar_t*>(drop + 1);
    for (const auto& f : files) {
      std::copy(f.begin(), f.end(), names);
      names += f.size() + 1;
    }
    GlobalUnlock(mem);
    SendMessageW(host_->Control(listId), WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);
  }

  POINT RowPoint(int listId, int row) const {
    RECT r{};
    ListView_GetItemRect(host_->Control(listId), row, &r, LVIR_BOUNDS);
    return POINT{r.left + 5, (r.top + r.bottom) / 2};
  }

  std::vector<std::wstring> Icons(const wchar_t* category) const {
    std::vector<std::wstring> names;
    for (const auto& e : fs::directory_iterator(host_->Library() / category)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::unique_ptr<FakeHost> host_;
  fs::path pictures_;
};

TEST_F(ImportUiTest, TheButtonImportsIntoANewCategoryAndShowsIt) {
  host_->chosen = Pictures({L"Beach.jpg", L"dot.bmp", L"notes.txt"});
  host_->categoryAnswers = {L"Holiday"};
  host_->Click(ids::cmdImport);
  ASSERT_EQ(host_->offered.size(), 1u);
  EXPECT_EQ(host_->offered[0], L"Cats");  // the selected category is offered
  EXPECT_EQ(Icons(L"Holiday"), (std::vector<std::wstring>{L"Beach.gif", L"dot.gif"}));
  const auto folders = host_->Rows(ids::lvFolders);
  ASSERT_EQ(host_->Selected(ids::lvFolders), static_cast<int>(folders.size()) - 1);
  EXPECT_EQ(folders.back(), L"Holiday");
  auto files = host_->Rows(ids::lvFiles);
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::wstring>{L" beach.gif", L" dot.gif"}));
  ASSERT_EQ(host_->told.size(), 1u);
  const std::string& summary = host_->told[0];
  EXPECT_NE(summary.find("2 of 3 pictures were imported into category ~bHoliday~b."), std::string::npos) << summary;
  EXPECT_NE(summary.find("~bnotes.txt~b was not imported: only PNG, JPEG, BMP and GIF"), std::string::npos)
      << summary;
  EXPECT_TRUE(IsWindowEnabled(host_->MainWindow()));
}

TEST_F(ImportUiTest, FilesDroppedOnACategoryRowGoThere) {
  const auto rows = host_->Rows(ids::lvFolders);
  const int dogs = static_cast<int>(std::find(rows.begin(), rows.end(), L"Dogs") - rows.begin());
  ASSERT_LT(dogs, static_cast<int>(rows.size()));
  host_->categoryAnswers = {L"dogs"};  // typed in other letters: the existing folder
  Drop(ids::lvFolders, Pictures({L"dot.bmp"}), RowPoint(ids::lvFolders, dogs));
  ASSERT_EQ(host_->offered.size(), 1u);
  EXPECT_EQ(host_->offered[0], L"Dogs");
  EXPECT_EQ(Icons(L"Dogs"), (std::vector<std::wstring>{L"dot.gif", L"pug.gif"}));
  const auto after = host_->Rows(ids::lvFolders);
  EXPECT_EQ(std::count(after.begin(), after.end(), L"Dogs"), 1);
  EXPECT_EQ(host_->Rows(ids::lvFolders)[host_->Selected(ids::lvFolders)], L"Dogs");
}

TEST_F(ImportUiTest, AnUnusableCategoryNameIsAskedAgainAndCancellingImportsNothing) {
  host_->categoryAnswers = {L"a/b", L"Good"};
  Drop(ids::lvFiles, Pictures({L"dot.bmp"}), POINT{5, 200});
  ASSERT_EQ(host_->told.size(), 2u);
  EXPECT_NE(host_->told[0].find("cannot be used"), std::string::npos);
  EXPECT_EQ(host_->offered.back(), L"a/b");
  EXPECT_EQ(Icons(L"Good"), std::vector<std::wstring>{L"dot.gif"});

  host_->told.clear();
  host_->categoryAnswers = {};  // the question cancelled
  Drop(ids::lvFiles, Pictures({L"dot.bmp"}), POINT{5, 200});
  EXPECT_TRUE(host_->told.empty());
  EXPECT_EQ(Icons(L"Good"), std::vector<std::wstring>{L"dot.gif"});
}

TEST_F(ImportUiTest, ANewCategoryForPicturesThatAllFailIsNotLeftBehind) {
  host_->chosen = Pictures({L"notes.txt"});
  host_->categoryAnswers = {L"Nothing"};
  host_->Click(ids::cmdImport);
  EXPECT_FALSE(fs::exists(host_->Library() / L"Nothing"));
  ASSERT_EQ(host_->told.size(), 1u);
  EXPECT_NE(host_->told[0].find("No picture was imported."), std::string::npos) << host_->told[0];
}

// What the timer sees of the progress window while the import runs.
struct Watch {
  HWND main = nullptr;
  int ticks = 0;
  bool quit = false;  // the program ends instead of the user pressing "Cancel"
  bool sawProgress = false, mainDisabled = false, pressed = false;
};
Watch* g_watch = nullptr;

void CALLBACK PressCancelOnThirdPicture(HWND, UINT, UINT_PTR, DWORD) {
  Watch& w = *g_watch;
  ++w.ticks;
  const HWND progress = FindWindowW(kImportWindowClass, L"Importing Pictures");
  if (!progress || w.pressed) return;
  w.mainDisabled = !IsWindowEnabled(w.main);
  wchar_t label[200] = {};
  GetWindowTextW(GetDlgItem(progress, 10), label, 200);
  // From the third picture on: a loaded machine may starve the timer past the third.
  int n = 0;
  if (swscanf(label, L"Importing %d of 40: ", &n) != 1 || n < 3) return;
  w.sawProgress = true;
  if (w.quit) {
    w.pressed = true;
    PostQuitMessage(3);
    return;
  }
  const HWND cancel = FindWindowExW(progress, nullptr, nullptr, L"Cancel");
  if (!cancel) return;
  w.pressed = true;
  SendMessageW(cancel, BM_CLICK, 0, 0);
}

// "Cancel", or the program's quit, which waits for the worker and stays queued for the
// outer loop.
TEST_F(ImportUiTest, ProgressShowsAndCancelOrQuitStopsAfterThePictureInHand) {
  std::vector<std::wstring> many;
  for (int i = 0; i < 40; ++i) {
    const fs::path copy = pictures_ / (L"photo" + std::to_wstring(i) + L".jpg");
    fs::copy_file(pictures_ / L"Beach.jpg", copy);
    many.push_back(copy.wstring());
  }
  for (const bool quit : {false, true}) {
    SCOPED_TRACE(quit ? "quit" : "cancel");
    const std::wstring category = quit ? L"Quit" : L"Many";
    host_->chosen = many;
    host_->categoryAnswers = {category};
    host_->told.clear();
    Watch watch{host_->MainWindow()};
    watch.quit = quit;
    g_watch = &watch;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, PressCancelOnThirdPicture);
    host_->Click(ids::cmdImport);
    KillTimer(nullptr, timer);
    g_watch = nullptr;
    MSG msg{};
    EXPECT_EQ(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE, quit);
    EXPECT_TRUE(watch.sawProgress);
    EXPECT_TRUE(watch.pressed);
    EXPECT_TRUE(watch.mainDisabled);
    EXPECT_FALSE(FindWindowW(kImportWindowClass, nullptr));
    EXPECT_TRUE(IsWindowEnabled(host_->MainWindow()));
    const auto icons = Icons(category.c_str());
    EXPECT_GE(icons.size(), 2u);
    EXPECT_LT(icons.size(), 10u);
    for (const auto& icon : icons) EXPECT_GT(fs::file_size(host_->Library() / category / icon), 100u) << icon;
    ASSERT_EQ(host_->told.size(), 1u);
    EXPECT_NE(host_->told[0].find("Import Cancelled"), std::string::npos);
    EXPECT_NE(host_->told[0].find(std::to_string(icons.size()) + " of 40 pictures"), std::string::npos)
        << host_->told[0];
  }
}

}  // namespace
}  // namespace iv::library::testing
