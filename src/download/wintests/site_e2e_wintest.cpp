// Downloads and the category update with the real program against the local icon
// site (a separate server process, started by the test's wrapper script): links
// started the way a browser starts them, questions answered the way a user does.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>

#include "e2e/support/driver.h"
#include "icon_site.h"
#include "support.h"
#include "ui/win/ids.h"

namespace iv::download::testing {

namespace {

namespace e2e = iv::e2e;

constexpr int kRibbonId = 10;  // the status ribbon of the download and update windows
constexpr DWORD kLong = 30000;  // generous: two busy cores run Wine and the server
const std::wstring kFailed = L"Update Failed - Please try again Later.";
const std::string kOldCategories = "Old Category\r\n\r\n";

std::wstring W(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// --- The program's windows, seen from outside -------------------------------------

bool Answer(e2e::Process& p, const wchar_t* button, const wchar_t* title = L"Iconvane") {
  return e2e::AnswerBox(p.pid(), button, title, kLong);
}

// --- The registry -------------------------------------------------------------------

std::vector<std::wstring> Rotation() {
  std::vector<std::wstring> entries;
  const int n = _wtoi(e2e::GetSetting(L"Icons", L"Count", L"0").c_str());
  for (int k = 1; k <= n; ++k) entries.push_back(e2e::GetSetting(L"Icons", std::to_wstring(k)));
  return entries;
}

void SetRotation(const std::vector<std::wstring>& entries) {
  e2e::SetSetting(L"Icons", L"Count", std::to_wstring(entries.size()));
  for (size_t k = 0; k < entries.size(); ++k) e2e::SetSetting(L"Icons", std::to_wstring(k + 1), entries[k]);
}

bool QueueGone() {
  return !e2e::KeyExists(HKEY_CURRENT_USER, L"SOFTWARE\\Dravolt Software\\Iconvane for AIM\\Icons\\Temp");
}

// The download or update window's ribbon reports the failure.
bool ShowsFailure(HWND w) {
  return e2e::WaitUntil([&] { return e2e::WindowText(GetDlgItem(w, kRibbonId)) == kFailed; }, kLong);
}

// --- Files ----------------------------------------------------------------------------

// Every folder ("name/") and file (size and hash) under root.
std::map<std::string, std::string> Snapshot(const fs::path& root) {
  std::map<std::string, std::string> entries;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    const std::string rel = fs::relative(e.path(), root).generic_string();
    if (e.is_directory()) {
      entries[rel + "/"] = "";
    } else {
      const std::string bytes = ReadAll(e.path());
      entries[rel] = std::to_string(bytes.size()) + ":" + std::to_string(std::hash<std::string>{}(bytes));
    }
  }
  return entries;
}

// The file names of an icon list, in its order.
std::vector<std::string> ListedFiles(const std::string& list) {
  std::vector<std::string> names;
  size_t start = list.find('\n');
  for (size_t end; start != std::string::npos && (end = list.find('\n', start + 1)) != std::string::npos;
       start = end)
    names.push_back(list.substr(list.rfind('/', end) + 1, end - list.rfind('/', end) - 1));
  return names;
}

class SiteE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!site.available()) GTEST_SKIP() << "IV_ICON_SERVER is not set: run through with-iconserver.sh";
    ASSERT_TRUE(site.Reset());
    e2e::ResetSettings();
    e2e::CopyProgramFolder(folder.path());
    e2e::SetSetting(L"Options", L"IconServer", W(site.Base()));
  }
  void TearDown() override {
    if (main) e2e::CloseProgram(running, main);
    e2e::ResetSettings();
    if (site.available()) site.Reset();
  }

  std::wstring Exe() const { return folder.path() + L"\\iconvane.exe"; }
  void StartRunningCopy() {
    running = e2e::Process(Exe(), L"", folder.path());
    main = e2e::WaitForMainWindow(running.pid(), kLong);
    ASSERT_TRUE(main);
  }
  // A copy started with a link, as the browser starts it.
  e2e::Process StartLink(const std::string& command, const std::string& key, const std::string& target,
                         const std::wstring& quote = L"", const std::wstring& scheme = L"icvan:") {
    const std::wstring link = scheme + W(command) + L"?" + W(key) + L"=" + W(site.Base() + target);
    return e2e::Process(Exe(), quote + link + quote, folder.path());
  }
  // Starts a link, answers its question and waits for that copy to end.
  bool RunLink(const std::string& command, const std::string& key, const std::string& target, const wchar_t* button) {
    e2e::Process dl = StartLink(command, key, target);
    return Answer(dl, button) && dl.WaitExit(kLong);
  }
  // An old category file, in place of the one the program ships.
  fs::path OldCategories() const {
    const fs::path file = fs::path(folder.path()) / "Categories.dat";
    std::ofstream(file, std::ios::binary) << kOldCategories;
    return file;
  }
  HWND Control(int id) const { return e2e::FindDescendant(main, id); }
  std::string Library(const std::string& category, const std::string& file) const {
    return ReadAll(folder.library() / category / file);
  }

  IconSite site;
  TempProgramFolder folder;
  e2e::Process running;
  HWND main = nullptr;
};

}  // namespace

TEST_F(SiteE2E, IconsGoIntoNewCategoriesAndTheSameLinkTwiceIsSkipped) {
  const std::string icon = "/icons/Funny.Cats/cat-orange.gif";
  StartRunningCopy();
  const size_t foldersBefore = e2e::ListViewRows(Control(ids::lvFolders)).size();

  ASSERT_TRUE(RunLink("AddIcon", "icon", icon, L"Yes"));
  const std::vector<std::wstring> one{L"Funny Cats\\cat-orange.gif"};
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ListBoxRows(Control(ids::lstRotation)) == one; }, kLong));
  EXPECT_EQ(Rotation(), one);
  EXPECT_TRUE(QueueGone());
  const std::vector<std::wstring> folders = e2e::ListViewRows(Control(ids::lvFolders));
  ASSERT_EQ(folders.size(), foldersBefore + 1);
  EXPECT_EQ(folders.back(), L"Funny Cats");
  EXPECT_EQ(site.Hits(icon), 1);

  // Again: nothing is fetched, the question still comes; No leaves the rotation alone.
  ASSERT_TRUE(RunLink("AddIcon", "icon", icon, L"No"));
  EXPECT_EQ(site.Hits(icon), 1);
  EXPECT_EQ(Rotation(), one);
  EXPECT_EQ(e2e::ListBoxRows(Control(ids::lstRotation)), one);
  EXPECT_EQ(e2e::ListViewRows(Control(ids::lvFolders)).size(), foldersBefore + 1);
  EXPECT_TRUE(QueueGone());

  const SiteReply original = site.Get(icon);
  ASSERT_EQ(original.status, 200);
  EXPECT_EQ(Library("Funny Cats", "cat-orange.gif"), original.body);
  EXPECT_EQ(folder.LibraryFiles(), std::vector<std::string>{"Funny Cats/cat-orange.gif"});

  // A slow icon arrives whole.
  const std::string slow = "/icons/abstract/stripes.gif";
  ASSERT_TRUE(site.Fail("slow", slow, "&delay=250&chunks=4"));
  ASSERT_TRUE(RunLink("AddIcon", "icon", slow, L"No"));
  ASSERT_TRUE(site.Clear(slow));
  EXPECT_EQ(Library("abstract", "stripes.gif"), site.Get(slow).body);

  // The command line the program registers works, scheme in any case.
  const std::wstring expected = L"\"" + Exe() + L"\" \"%1\"";
  const auto registered = [] { return e2e::RegText(HKEY_CLASSES_ROOT, L"icvan\\shell\\open\\command", nullptr); };
  // The load sequence registers the scheme; it may still be running.
  EXPECT_TRUE(e2e::WaitUntil([&] { return registered() == expected; }, kLong)) << registered();
  const std::string blue = "/icons/Smileys/smile-blue.gif";
  e2e::Process dl = StartLink("AddIcon", "icon", blue, L"\"", L"ICVAN:");
  ASSERT_TRUE(Answer(dl, L"Yes"));
  EXPECT_TRUE(dl.WaitExit(kLong));
  EXPECT_EQ(Library("Smileys", "smile-blue.gif"), site.Get(blue).body);
}

TEST_F(SiteE2E, AListAnsweredYesGrowsTheRotationInTheListsOrderAndNoOnlyShowsItsCategory) {
  std::vector<std::wstring> rotation;
  fs::create_directories(folder.library() / "Old");
  for (int k = 1; k <= 5; ++k) {
    const std::string name = std::to_string(k) + ".gif";
    std::ofstream(folder.library() / "Old" / name, std::ios::binary) << Gif();
    rotation.push_back(L"Old\\" + W(name));
  }
  SetRotation(rotation);
  StartRunningCopy();
  ASSERT_EQ(e2e::ListBoxRows(Control(ids::lstRotation)), rotation);

  const SiteReply list = site.Get("/list.php?dir=Smileys");
  ASSERT_EQ(list.status, 200);
  const std::vector<std::string> files = ListedFiles(list.body);
  ASSERT_EQ(files.size(), 3u);
  for (const std::string& f : files) rotation.push_back(L"Smileys\\" + W(f));

  ASSERT_TRUE(RunLink("AddList", "list", "/list.php?dir=Smileys", L"Yes"));
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ListBoxRows(Control(ids::lstRotation)) == rotation; }, kLong));
  EXPECT_EQ(SendMessageW(Control(ids::lstRotation), LB_GETCOUNT, 0, 0), 8);
  EXPECT_EQ(Rotation(), rotation);
  EXPECT_TRUE(QueueGone());
  for (const std::string& f : files) EXPECT_EQ(Library("Smileys", f), site.Get("/icons/Smileys/" + f).body) << f;

  std::vector<std::wstring> folders = e2e::ListViewRows(Control(ids::lvFolders));
  ASSERT_TRUE(RunLink("AddList", "list", "/list.php?dir=Sports", L"No"));
  // The category message is sent, not posted: it has been handled once the copy ended.
  folders.push_back(L"Sports");
  EXPECT_EQ(e2e::ListViewRows(Control(ids::lvFolders)), folders);
  EXPECT_TRUE(QueueGone());
  EXPECT_EQ(Rotation(), rotation);
  EXPECT_EQ(e2e::ListBoxRows(Control(ids::lstRotation)), rotation);
  // The icons were fetched all the same.
  const std::vector<std::string> sports = ListedFiles(site.Get("/list.php?dir=Sports").body);
  ASSERT_EQ(sports.size(), 3u);
  for (const std::string& f : sports) EXPECT_FALSE(Library("Sports", f).empty()) << f;
}

TEST_F(SiteE2E, TheCategoryUpdateReplacesTheFileOnlyWhenTheSiteAnswersInFull) {
  const fs::path file = OldCategories();
  StartRunningCopy();
  const auto open = [&] {
    e2e::Click(Control(ids::cmdUpdate));
    return e2e::WaitForTopWindow(running.pid(), L"frmUpdate", nullptr, kLong);
  };
  const auto close = [&](HWND upd, const wchar_t* caption) {
    const HWND button = e2e::FindDescendantByText(upd, nullptr, caption);
    if (!button) return false;
    e2e::Click(button);
    return e2e::WaitUntil([&] { return !IsWindow(upd); }, kLong);
  };

  const std::vector<std::wstring> oldNames{L"Old Category"};
  ASSERT_EQ(e2e::ListBoxRows(Control(ids::LstCats)), oldNames);

  // 8 pieces 2 s apart: the cancel below must come well before the reply ends.
  ASSERT_TRUE(site.Fail("slow", "/iconvane.php", "&delay=2000&chunks=8"));
  HWND upd = open();
  ASSERT_TRUE(upd);
  ASSERT_TRUE(e2e::WaitUntil([&] { return site.Hits("/iconvane.php") == 1; }, kLong));
  const ULONGLONG asked = GetTickCount64();
  e2e::Click(e2e::FindDescendantByText(upd, nullptr, L"Cancel"));
  // The window goes only once its fetch has returned, so nothing can be written later.
  EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(upd); }, kLong));
  EXPECT_LT(GetTickCount64() - asked, 12000u) << "the transfer ran to its end";
  EXPECT_EQ(ReadAll(file), kOldCategories);
  EXPECT_FALSE(running.WaitExit(0)) << "the program must keep running";

  ASSERT_TRUE(site.Reset());
  ASSERT_TRUE(site.Fail("html", "/iconvane.php"));
  upd = open();
  ASSERT_TRUE(upd);
  EXPECT_TRUE(ShowsFailure(upd));
  EXPECT_EQ(site.Hits("/iconvane.php"), 1);
  EXPECT_TRUE(close(upd, L"Cancel"));
  EXPECT_EQ(ReadAll(file), kOldCategories);
  EXPECT_EQ(e2e::ListBoxRows(Control(ids::LstCats)), oldNames);

  // A file that cannot be replaced is no success either, and the old one stays.
  ASSERT_TRUE(site.Clear("/iconvane.php"));
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
  upd = open();
  ASSERT_TRUE(upd);
  EXPECT_TRUE(ShowsFailure(upd));
  EXPECT_NE(e2e::WindowText(upd), L"Success!");
  EXPECT_TRUE(close(upd, L"Cancel"));
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadAll(file), kOldCategories);

  upd = open();
  ASSERT_TRUE(upd);
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::WindowText(upd) == L"Success!"; }, kLong));
  const SiteReply list = site.Get("/iconvane.php");
  ASSERT_EQ(list.status, 200);
  EXPECT_EQ(ReadAll(file), list.body + "\r\n");
  EXPECT_EQ(e2e::WindowText(GetDlgItem(upd, kRibbonId)), L"Successfully Updated Categories!");
  // The main window's category list (letter "All") is rebuilt from the new file.
  std::vector<std::wstring> names;
  for (size_t at = 0, end; (end = list.body.find("\r\n", at)) != std::string::npos; at = end + 2)
    names.push_back(W(list.body.substr(at, end - at)));
  EXPECT_EQ(names.size(), 4u);
  EXPECT_EQ(e2e::ListBoxRows(Control(ids::LstCats)), names);
  EXPECT_TRUE(close(upd, L"Close"));
}

TEST_F(SiteE2E, IconServerFailuresWriteNothing) {
  struct Case {
    const char* mode;
    const char* command;
    const char* key;
    std::string target;  // the link's address, below the site
    std::string path;    // what fails
  };
  const std::string icon = "/icons/Funny.Cats/cat-grey.gif";
  const std::vector<Case> cases{{"404", "AddIcon", "icon", icon, icon},
                                {"500", "AddIcon", "icon", icon, icon},
                                {"truncate", "AddIcon", "icon", icon, icon},
                                {"html", "AddIcon", "icon", icon, icon},
                                {"truncate", "AddList", "list", "/list.php?dir=Sports", "/list.php"},
                                {"500", "AddList", "list", "/list.php?dir=Sports", "/list.php"}};
  const fs::path parent = fs::path(folder.path()).parent_path();
  const auto programBefore = Snapshot(folder.path());
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.command) + " " + c.mode);
    ASSERT_TRUE(site.Reset());
    ASSERT_TRUE(site.Fail(c.mode, c.path));
    e2e::Process dl = StartLink(c.command, c.key, c.target);
    const HWND w = e2e::WaitForTopWindow(dl.pid(), L"frmDL", nullptr, kLong);
    ASSERT_TRUE(w);
    EXPECT_TRUE(ShowsFailure(w));
    EXPECT_EQ(site.Hits(c.path), 1);
    EXPECT_TRUE(e2e::TopWindows(dl.pid(), L"frmMsgBox").empty()) << "a failed download asks nothing";
    PostMessageW(w, WM_CLOSE, 0, 0);
    EXPECT_TRUE(dl.WaitExit(kLong));

    // An icon's category folder is made before the fetch; it may stay, but empty.
    auto after = Snapshot(folder.path());
    std::error_code ec;
    if (fs::is_empty(folder.library() / "Funny Cats", ec)) after.erase("Icon Library/Funny Cats/");
    EXPECT_EQ(after, programBefore);
    for (const char* name : {"Funny Cats", "Sports", "cat-grey.gif"}) EXPECT_FALSE(fs::exists(parent / name));
    EXPECT_TRUE(Rotation().empty());
    EXPECT_TRUE(QueueGone());
  }
}

TEST_F(SiteE2E, WithoutARunningCopyTheDownloadingCopyBecomesTheProgram) {
  // An unknown command (they are case-sensitive) is reported, and the copy ends.
  const std::string grey = "/icons/Funny.Cats/cat-grey.gif";
  e2e::Process unknown = StartLink("addicon", "icon", grey);
  ASSERT_TRUE(Answer(unknown, L"OK", L"Picvane"));
  EXPECT_TRUE(unknown.WaitExit(kLong));
  EXPECT_EQ(site.Hits(grey), 0);

  e2e::Process dl = StartLink("AddList", "list", "/list.php?dir=Smileys");
  ASSERT_TRUE(Answer(dl, L"Yes"));
  const HWND own = e2e::WaitForMainWindow(dl.pid(), kLong);
  ASSERT_TRUE(own);
  // The list's window stays open beside it, and the new main copy adds the list itself.
  EXPECT_TRUE(e2e::WaitForTopWindow(dl.pid(), L"frmDL", L"Download Complete", kLong));
  std::vector<std::wstring> expected;
  for (const std::string& f : ListedFiles(site.Get("/list.php?dir=Smileys").body))
    expected.push_back(L"Smileys\\" + W(f));
  ASSERT_EQ(expected.size(), 3u);
  EXPECT_TRUE(e2e::WaitUntil([&] { return Rotation() == expected && QueueGone(); }, kLong));
  EXPECT_EQ(e2e::ListBoxRows(e2e::FindDescendant(own, ids::lstRotation)), expected);
  EXPECT_TRUE(e2e::CloseProgram(dl, own));

  // An icon's window goes, and the program it opened keeps running; No adds nothing.
  e2e::Process icon = StartLink("AddIcon", "icon", "/icons/Funny.Cats/cat-black.gif");
  ASSERT_TRUE(Answer(icon, L"No"));
  const HWND iconMain = e2e::WaitForMainWindow(icon.pid(), kLong);
  ASSERT_TRUE(iconMain);
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::TopWindows(icon.pid(), L"frmDL").empty(); }, kLong));
  EXPECT_FALSE(icon.WaitExit(0));
  EXPECT_EQ(Rotation(), expected);
  EXPECT_TRUE(QueueGone());
  EXPECT_TRUE(e2e::CloseProgram(icon, iconMain));
}

TEST_F(SiteE2E, ClosingDuringTransfersEndsTheCopyWithoutWritingAnything) {
  const std::vector<std::string> sports = ListedFiles(site.Get("/list.php?dir=Sports").body);
  ASSERT_EQ(sports.size(), 3u);
  struct Case {
    const char* command;
    const char* key;
    std::string target;
    std::string slow;                // the failure switch's pattern
    std::vector<std::string> asked;  // under way when the window closes
  };
  const std::string icon = "/icons/Funny.Cats/cat-wink.gif";
  // In the list every icon is slow, so each worker is inside a transfer at the close.
  const std::vector<Case> cases{{"AddIcon", "icon", icon, icon, {icon}},
                                {"AddList", "list", "/list.php?dir=Sports", "/icons/Sports/*",
                                 {"/icons/Sports/" + sports[0], "/icons/Sports/" + sports[1],
                                  "/icons/Sports/" + sports[2]}}};
  StartRunningCopy();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    ASSERT_TRUE(site.Fail("slow", c.slow, "&delay=2000&chunks=8"));
    e2e::Process dl = StartLink(c.command, c.key, c.target);
    const HWND w = e2e::WaitForTopWindow(dl.pid(), L"frmDL", nullptr, kLong);
    ASSERT_TRUE(w);
    for (const std::string& path : c.asked)
      ASSERT_TRUE(e2e::WaitUntil([&] { return site.Hits(path) == 1; }, kLong)) << path;
    PostMessageW(w, WM_CLOSE, 0, 0);
    EXPECT_TRUE(dl.WaitExit(12000)) << "a transfer ran on after the close";
    EXPECT_EQ(folder.LibraryFiles(), std::vector<std::string>{});
    EXPECT_TRUE(Rotation().empty());
    EXPECT_TRUE(QueueGone());
  }
}

}  // namespace iv::download::testing
