#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "base/win/pump.h"
#include "base/win/utf.h"
#include "library/win/library_files.h"
#include "library/wintests/fake_host.h"
#include "library/wintests/gifs.h"

namespace iv::library::testing {
namespace {

using Rows = std::vector<std::wstring>;

Rows Sorted(Rows rows) {
  std::sort(rows.begin(), rows.end());
  return rows;
}

// Runs window events until the condition holds or the deadline passes.
bool WaitFor(const std::function<bool()>& done, DWORD ms) { return PumpUntil(done, ms).end == PumpEnd::Done; }

// A user's click on a row (the list view's NM_CLICK), after the row is selected.
void ClickRow(FakeHost& host, int listId, int row) {
  host.Select(listId, row);
  NMITEMACTIVATE click{};
  click.hdr.hwndFrom = host.Control(listId);
  click.hdr.idFrom = static_cast<UINT_PTR>(listId);
  click.hdr.code = NM_CLICK;
  click.iItem = row;
  SendMessageW(host.MainWindow(), WM_NOTIFY, listId, reinterpret_cast<LPARAM>(&click));
}

int Row(FakeHost& host, int listId, const std::wstring& text) {
  const Rows rows = host.Rows(listId);
  const auto it = std::find(rows.begin(), rows.end(), text);
  return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

std::wstring SelectedText(FakeHost& host, int listId) {
  const int sel = host.Selected(listId);
  return sel < 0 ? L"" : host.Rows(listId)[sel];
}

// A library of three categories, a dot folder and a few stray files.
void MakeLibrary(FakeHost& host) {
  const fs::path lib = host.Library();
  for (const char* f : {"Cats/Tabby.GIF", "Cats/lion.gif", "Cats/notes.txt", "Cats/photo.png", "Dogs/pug.gif",
                        "Birds/owl.gif", ".git/x.gif", "stray.gif"})
    host.WriteFile(lib / f, StillGif());
}

TEST(LibraryLoad, ListsTheLibraryPreviewsTheFirstIconAndBrowses) {
  FakeHost host;
  MakeLibrary(host);
  host.Load();
  EXPECT_EQ(Sorted(host.Rows(ids::lvFolders)), (Rows{L"Birds", L"Cats", L"Dogs"}));
  ASSERT_EQ(host.Selected(ids::lvFolders), 0);
  const std::wstring first = host.Rows(ids::lvFolders)[0];
  EXPECT_EQ(host.Image(ids::lvFolders, 0), 1 /* OpenFile */);
  for (int i = 1; i < 3; ++i) EXPECT_EQ(host.Image(ids::lvFolders, i), 0 /* ClosedFile */);
  ASSERT_EQ(host.Selected(ids::lvFiles), 0);
  EXPECT_TRUE(host.librarySelected);
  const ui::ImageViewState view = ui::GetImageViewState(host.Control(ids::WbPreview));
  EXPECT_EQ(view.path, host.ProgramFolder() + L"\\Icon Library\\" + first + L"\\" +
                           host.Rows(ids::lvFiles)[0].substr(1));
  EXPECT_EQ(view.width, 1);

  // Clicking a category lists its icons once.
  const int cats = Row(host, ids::lvFolders, L"Cats");
  ClickRow(host, ids::lvFolders, cats);
  EXPECT_EQ(Sorted(host.Rows(ids::lvFiles)), (Rows{L" lion.gif", L" tabby.gif"}));
  EXPECT_EQ(host.Image(ids::lvFolders, cats), 1);
  // A second click on the same row does not scan again.
  host.WriteFile(host.Library() / "Cats" / "new.gif", StillGif());
  ClickRow(host, ids::lvFolders, cats);
  EXPECT_EQ(host.Rows(ids::lvFiles).size(), 2u);
  // Clicking an icon previews it and marks the library as the last selection.
  host.librarySelected = false;
  const int lion = Row(host, ids::lvFiles, L" lion.gif");
  ClickRow(host, ids::lvFiles, lion);
  EXPECT_TRUE(host.librarySelected);
  EXPECT_EQ(ui::GetImageViewState(host.Control(ids::WbPreview)).path,
            host.ProgramFolder() + L"\\Icon Library\\Cats\\lion.gif");

  // Downloaded categories are added once.
  host.ShowCategory("New Stuff");
  host.ShowCategory("New Stuff");
  host.ShowCategory("Cats");
  EXPECT_EQ(host.Rows(ids::lvFolders).size(), 4u);
  EXPECT_EQ(host.Rows(ids::lvFolders).back(), L"New Stuff");
}

TEST(LibraryLoad, CreatesAMissingLibraryAndStaysEmpty) {
  FakeHost host;
  host.Load();
  EXPECT_TRUE(fs::is_directory(host.Library()));
  EXPECT_TRUE(host.Rows(ids::lvFolders).empty());
  EXPECT_TRUE(host.Rows(ids::lvFiles).empty());
  EXPECT_EQ(ui::GetImageViewState(host.Control(ids::WbPreview)).width, 0);
  host.Click(ids::cmdDelFolder);
  host.Click(ids::cmdDelIcon);
  EXPECT_TRUE(host.prompts.empty());  // nothing selected: nothing asked
}

TEST(Categories, LetterBoxFiltersTheServerList) {
  FakeHost host;
  // Only lines ending in CR LF count; a read-only file still reads.
  host.WriteFile(host.Folder() / "Categories.dat", "Bears\r\nbats\r\nBig Cats\r\nApes\r\nZebras");
  SetFileAttributesW((host.Folder() / "Categories.dat").c_str(), FILE_ATTRIBUTE_READONLY);
  host.Load();
  const HWND cmb = host.Control(ids::cmbLet);
  EXPECT_EQ(SendMessageW(cmb, CB_GETCOUNT, 0, 0), 27);
  EXPECT_EQ(SendMessageW(cmb, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(host.ListBoxRows(ids::LstCats), (Rows{L"Bears", L"bats", L"Big Cats", L"Apes"}));
  SendMessageW(cmb, CB_SETCURSEL, 2, 0);  // "B"
  SendMessageW(host.MainWindow(), WM_COMMAND, MAKEWPARAM(ids::cmbLet, CBN_SELCHANGE), reinterpret_cast<LPARAM>(cmb));
  EXPECT_EQ(host.ListBoxRows(ids::LstCats), (Rows{L"Bears", L"Big Cats"}));
  SendMessageW(cmb, CB_SETCURSEL, 26, 0);  // "Z": the unterminated last line was not read
  SendMessageW(host.MainWindow(), WM_COMMAND, MAKEWPARAM(ids::cmbLet, CBN_SELCHANGE), reinterpret_cast<LPARAM>(cmb));
  EXPECT_TRUE(host.ListBoxRows(ids::LstCats).empty());

  // A category update rewrites the file and asks for a refresh.
  SetFileAttributesW((host.Folder() / "Categories.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
  host.WriteFile(host.Folder() / "Categories.dat", "Zoo\r\n");
  host.RefreshCategories();
  EXPECT_EQ(host.ListBoxRows(ids::LstCats), Rows{L"Zoo"});
}

TEST(Categories, ViewOpensTheCategoryPageOnTheServer) {
  FakeHost host;
  host.Store().Set("Options", "IconServer", "http://127.0.0.1:8080/");
  host.WriteFile(host.Folder() / "Categories.dat", "Two Words\r\n");
  host.Load();
  host.Click(ids::cmdView);
  EXPECT_TRUE(host.opened.empty());  // nothing chosen: nothing opens
  SendMessageW(host.Control(ids::LstCats), LB_SETCURSEL, 0, 0);
  host.Click(ids::cmdView);
  EXPECT_EQ(host.opened, Rows{L"http://127.0.0.1:8080/icons.php?dir=Two.Words"});
  host.Click(ids::cmdBrowse);
  EXPECT_EQ(host.opened.back(), host.ProgramFolder() + L"\\Icon Library\\");
}

TEST(Preview, ShowsStillAndAnimatedGifsAndNothingForBadFiles) {
  FakeHost host;
  const HWND view = host.Control(ids::WbPreview);
  const fs::path dir = host.Folder();
  host.WriteFile(dir / "empty.gif", "");
  host.WriteFile(dir / "bad.gif", "GIF89a not really");
  host.WriteFile(dir / "still.gif", StillGif());
  host.WriteFile(dir / "anim.gif", AnimatedGif());
  for (const char* name : {"missing.gif", "empty.gif", "bad.gif"}) {
    host.ShowPreview((dir / name).wstring());
    EXPECT_EQ(ui::GetImageViewState(view).width, 0) << name;
    UpdateWindow(view);  // painting an empty view is fine
  }
  host.ShowPreview((dir / "still.gif").wstring());
  EXPECT_EQ(ui::GetImageViewState(view).frames, 1);
  // The file is not held open: it can be replaced while it is shown.
  EXPECT_TRUE(DeleteFileW((dir / "still.gif").c_str()));

  host.ShowPreview((dir / "anim.gif").wstring());
  ASSERT_EQ(ui::GetImageViewState(view).frames, 2);
  EXPECT_TRUE(WaitFor([&] { return ui::GetImageViewState(view).frame == 1; }, 20000));
  EXPECT_TRUE(WaitFor([&] { return ui::GetImageViewState(view).frame == 0; }, 20000));
  host.ShowPreview(L"");
  EXPECT_EQ(ui::GetImageViewState(view).frames, 0);
  EXPECT_FALSE(ui::SetImagePath(host.Control(ids::lvFiles), L"x.gif"));  // not a view of ours
}

// A hidden view costs nothing: it reads the file at once (it may go meanwhile) but
// animates only while it can be seen, and goes on when shown again.
TEST(Preview, HiddenViewRestsAndGoesOnWhenShown) {
  FakeHost host;
  const HWND view = host.Control(ids::WbPreview);
  const fs::path gif = host.Folder() / "anim.gif";
  host.WriteFile(gif, AnimatedGif());
  ShowWindow(view, SW_HIDE);
  host.ShowPreview(gif.wstring());
  EXPECT_TRUE(DeleteFileW(gif.c_str()));
  ShowWindow(view, SW_SHOW);
  ASSERT_EQ(ui::GetImageViewState(view).frames, 2);
  EXPECT_TRUE(WaitFor([&] { return ui::GetImageViewState(view).frame == 1; }, 3000));
  ShowWindow(view, SW_HIDE);
  const int rested = ui::GetImageViewState(view).frame;
  EXPECT_FALSE(WaitFor([&] { return ui::GetImageViewState(view).frame != rested; }, 1000));
  ShowWindow(view, SW_SHOW);
  EXPECT_TRUE(WaitFor([&] { return ui::GetImageViewState(view).frame != rested; }, 3000));
}

class Deleting : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* f : {"Cats/a.gif", "Cats/b.gif", "Dogs/pug.gif", "Owls/owl.gif"})
      host_.WriteFile(host_.Library() / f, StillGif());
    host_.Load();
  }
  void ShowCategory(const wchar_t* name) { ClickRow(host_, ids::lvFolders, Row(host_, ids::lvFolders, name)); }
  void SelectIcon(const wchar_t* row) { ClickRow(host_, ids::lvFiles, Row(host_, ids::lvFiles, row)); }
  fs::path Lib(const char* rel) const { return host_.Library() / rel; }

  FakeHost host_;
};

TEST_F(Deleting, AReadOnlyIconIsMadeWritableAndDeletedAHiddenOneSurvivesButLeavesTheList) {
  ShowCategory(L"Cats");
  SetFileAttributesW(Lib("Cats/a.gif").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  SelectIcon(L" a.gif");
  host_.Click(ids::cmdDelIcon);
  ASSERT_EQ(host_.prompts.size(), 1u);
  EXPECT_NE(host_.prompts[0].find("~b~i~c#FF0000 a.gif~b~i~c#000000 from category \"~bCats~b\"?"), std::string::npos);
  EXPECT_FALSE(fs::exists(Lib("Cats/a.gif")));
  EXPECT_EQ(host_.Rows(ids::lvFiles), Rows{L" b.gif"});
  EXPECT_EQ(SelectedText(host_, ids::lvFolders), L"Cats");

  SetFileAttributesW(Lib("Cats/b.gif").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  SelectIcon(L" b.gif");
  host_.Click(ids::cmdDelIcon);
  EXPECT_TRUE(fs::exists(Lib("Cats/b.gif")));
  EXPECT_TRUE(host_.Rows(ids::lvFiles).empty());
}

TEST_F(Deleting, AnythingButYesKeepsEverything) {
  ShowCategory(L"Cats");
  SelectIcon(L" b.gif");
  for (int answer : {7, -1, 2}) {
    host_.answer = answer;
    host_.Click(ids::cmdDelIcon);
    host_.Click(ids::cmdDelFolder);
  }
  EXPECT_EQ(host_.prompts.size(), 6u);
  EXPECT_TRUE(fs::exists(Lib("Cats/b.gif")));
  EXPECT_EQ(host_.Rows(ids::lvFiles).size(), 2u);
  EXPECT_EQ(host_.Rows(ids::lvFolders).size(), 3u);
}

// A category goes with its other files and sub-folders; one holding a read-only file
// stays on disk but leaves the list.
TEST_F(Deleting, ACategoryGoesWithItsOtherFilesUnlessOneIsReadOnly) {
  host_.WriteFile(Lib("Dogs/readme.txt"), "x");
  host_.WriteFile(Lib("Dogs/deep/more/pic.png"), "x");
  ShowCategory(L"Dogs");
  host_.Click(ids::cmdDelFolder);
  ASSERT_EQ(host_.prompts.size(), 1u);
  EXPECT_NE(host_.prompts[0].find("delete icon category ~bDogs~b?"), std::string::npos);
  EXPECT_FALSE(fs::exists(Lib("Dogs")));
  EXPECT_EQ(Row(host_, ids::lvFolders, L"Dogs"), -1);

  host_.WriteFile(Lib("Owls/keep.txt"), "x");
  SetFileAttributesW(Lib("Owls/keep.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  ShowCategory(L"Owls");
  host_.Click(ids::cmdDelFolder);
  EXPECT_TRUE(fs::exists(Lib("Owls/keep.txt")));
  EXPECT_FALSE(fs::exists(Lib("Owls/owl.gif")));
  EXPECT_EQ(Row(host_, ids::lvFolders, L"Owls"), -1);
}

TEST_F(Deleting, TheNextCategoryIsShownAfterTheFirstOrLastIsDeleted) {
  const Rows before = host_.Rows(ids::lvFolders);
  ClickRow(host_, ids::lvFolders, 0);
  host_.Click(ids::cmdDelFolder);
  ASSERT_EQ(host_.Rows(ids::lvFolders), (Rows{before[1], before[2]}));
  EXPECT_EQ(host_.Selected(ids::lvFolders), 0);  // the category that moved into first place
  EXPECT_EQ(host_.Image(ids::lvFolders, 0), 1);
  const std::wstring shown = before[1];
  EXPECT_EQ(host_.Rows(ids::lvFiles).size(), shown == L"Cats" ? 2u : 1u);

  ClickRow(host_, ids::lvFolders, 1);
  host_.Click(ids::cmdDelFolder);
  ASSERT_EQ(host_.Rows(ids::lvFolders), Rows{before[1]});
  EXPECT_EQ(host_.Selected(ids::lvFolders), 0);  // the new last row
  EXPECT_EQ(host_.Rows(ids::lvFiles).size(), shown == L"Cats" ? 2u : 1u);

  host_.Click(ids::cmdDelFolder);
  EXPECT_TRUE(host_.Rows(ids::lvFolders).empty());
  EXPECT_TRUE(host_.Rows(ids::lvFiles).empty());
  EXPECT_EQ(ui::GetImageViewState(host_.Control(ids::WbPreview)).frames, 0);
  EXPECT_TRUE(fs::is_directory(host_.Library()));
  EXPECT_TRUE(fs::is_empty(host_.Library()));
}

TEST_F(Deleting, NamesThatLeadOutOfTheLibraryDeleteNothing) {
  host_.WriteFile(host_.Folder() / "precious.gif", StillGif());
  for (const char* name : {"..", "..\\..", "C:\\", "Cats\\..\\.."}) {
    host_.ShowCategory(name);
    ClickRow(host_, ids::lvFolders, Row(host_, ids::lvFolders, Widen(name)));
    host_.Click(ids::cmdDelFolder);
  }
  EXPECT_TRUE(fs::exists(host_.Folder() / "precious.gif"));
  EXPECT_TRUE(fs::exists(Lib("Cats/a.gif")));
  EXPECT_FALSE(DeleteIconFile(host_.Library().wstring(), L"Cats", L"..\\..\\precious.gif"));
  EXPECT_FALSE(DeleteIconFile(host_.Library().wstring(), L"..", L"precious.gif"));
  EXPECT_FALSE(DeleteCategoryFolder(host_.Library().wstring(), L""));
  EXPECT_TRUE(fs::exists(host_.Folder() / "precious.gif"));
}

}  // namespace
}  // namespace iv::library::testing
