// The rotation feature on real controls: a stand-in main window holds the controls the
// feature uses and forwards their notifications to it.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "base/win/utf.h"
#include "base/win/window.h"
#include "rotation/win/rotation_feature.h"
#include "ui/win/ids.h"
#include "ui/wintests/test_host.h"

namespace iv::rotation {
namespace {

using Strings = std::vector<std::string>;
// The rotation feature's controls on a stand-in main window.
class RotationHost : public ui::testing::TestHost {
 public:
  explicit RotationHost(settings::Store& store) : TestHost(&store) {
    librarySelected = true;
    const std::pair<const wchar_t*, DWORD> kinds[] = {{L"LISTBOX", LBS_NOTIFY}, {L"BUTTON", BS_PUSHBUTTON},
                                                      {L"BUTTON", BS_AUTORADIOBUTTON}, {L"EDIT", 0}};
    const std::vector<int> ids[] = {{ids::lstRotation},
                                    {ids::cmdAddRotation, ids::cmdRemove, ids::cmdUp, ids::cmdDown, ids::cmdRotClear},
                                    {ids::OptHR, ids::OptDAY, ids::OptWEEK, ids::OptDISABLE, ids::OptCUSTOM},
                                    {ids::txtMinutes}};
    for (int k = 0; k < 4; ++k)
      for (int id : ids[k]) Add(id, kinds[k].first, kinds[k].second, 0, 0, 99, 20);
    for (int id : {ids::lvFolders, ids::lvFiles}) AddListView(id, LVS_SINGLESEL, 0, 0, 120, 20);
  }
};

Strings Rows(HWND lb) {
  Strings rows;
  for (int i = 0, n = static_cast<int>(SendMessageW(lb, LB_GETCOUNT, 0, 0)); i < n; ++i)
    rows.push_back(Narrow(ListBoxText(lb, i)));
  return rows;
}

class RotationFeatureTest : public ::testing::Test {
 protected:
  RotationFeatureTest() {
    feature_ = MakeRotationFeature(host_, std::make_unique<SystemClock>(),
                             [this](const std::wstring& prompt, int icon, int buttons, const std::wstring& title) {
                               questions_.push_back(prompt + L"|" + std::to_wstring(icon) + L"|" +
                                                    std::to_wstring(buttons) + L"|" + title);
                               return answer_;
                             });
    host_.Route(feature_.get());
    feature_->OnCreate();
  }
  ~RotationFeatureTest() override { host_.Route(nullptr); }

  void Load() { host_.Load(); }
  HWND C(int id) { return host_.Control(id); }
  void Click(int id) { SendMessageW(C(id), BM_CLICK, 0, 0); }
  Strings Rows() { return rotation::Rows(C(ids::lstRotation)); }
  int Selected() { return static_cast<int>(SendMessageW(C(ids::lstRotation), LB_GETCURSEL, 0, 0)); }
  void SelectRow(int row) {  // as a click does
    SendMessageW(C(ids::lstRotation), LB_SETCURSEL, row, 0);
    SendMessageW(host_.MainWindow(), WM_COMMAND, MAKEWPARAM(ids::lstRotation, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(C(ids::lstRotation)));
  }
  void PickLibraryIcon(const wchar_t* category, const wchar_t* fileRow) {
    for (auto [id, text] : {std::pair{ids::lvFolders, category}, std::pair{ids::lvFiles, fileRow}}) {
      ListView_DeleteAllItems(C(id));
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.pszText = const_cast<wchar_t*>(text);
      ListView_InsertItem(C(id), &item);
      ListView_SetItemState(C(id), 0, LVIS_SELECTED, LVIS_SELECTED);
    }
  }
  std::string Stored(const char* section, const std::string& name) { return store_.Get(section, name, "missing"); }
  Strings StoredList() {
    Strings out;
    for (int i = 1, n = std::stoi(Stored("Icons", "Count")); i <= n; ++i)
      out.push_back(Stored("Icons", std::to_string(i)));
    return out;
  }

  settings::MemoryBackend backend_;
  settings::Store store_{backend_};
  RotationHost host_{store_};
  std::vector<std::wstring> questions_;
  int answer_ = 7;
  std::unique_ptr<RotationFeature> feature_;
};

TEST_F(RotationFeatureTest, LoadFillsTheListAndTheScheduleWithoutStoringASelection) {
  store_.Set("Icons", "Count", "3");
  store_.Set("Icons", "1", "A\\a.gif");
  store_.Set("Icons", "3", "C\\c.gif");
  store_.Set("Options", "Minutes", "0");
  store_.Set("Options", "Rotate", "5");
  Load();
  EXPECT_EQ(Rows(), (Strings{"A\\a.gif", "", "C\\c.gif"}));
  EXPECT_EQ(GetText(C(ids::txtMinutes)), L"0");
  EXPECT_EQ(SendMessageW(C(ids::OptCUSTOM), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(Stored("Options", "Time"), "missing");
  feature_->OnTimer(ids::TmrRotate);  // 0 minutes and no "Time": due at once
  EXPECT_EQ(host_.applied, std::vector<std::wstring>{L"C:\\Prog\\Icon Library\\"});
  EXPECT_EQ(Stored("Options", "Last Index"), "1");
}

TEST_F(RotationFeatureTest, ButtonsEditTheListAndStoreIt) {
  Load();
  PickLibraryIcon(L"Animals", L" cat.gif");
  Click(ids::cmdAddRotation);
  PickLibraryIcon(L"Food", L" pie.gif");
  Click(ids::cmdAddRotation);
  Click(ids::cmdAddRotation);
  EXPECT_EQ(Selected(), -1);
  SelectRow(0);
  Click(ids::cmdDown);
  EXPECT_EQ(Rows(), (Strings{"Food\\pie.gif", "Animals\\cat.gif", "Food\\pie.gif"}));
  EXPECT_EQ(Selected(), 1);
  Click(ids::cmdUp);
  Click(ids::cmdUp);  // at the top: nothing moves
  EXPECT_EQ(Selected(), 0);
  Click(ids::cmdRemove);
  SelectRow(1);
  Click(ids::cmdRemove);
  EXPECT_EQ(Selected(), 0);
  EXPECT_EQ(Rows(), (Strings{"Food\\pie.gif"}));
  EXPECT_EQ(StoredList(), Rows());
}

TEST_F(RotationFeatureTest, HandedOffRowsAreStoredAndPreviewOnClickAndClearAllAsksFirst) {
  Load();
  host_.AppendToRotation({"A\\a.gif", " B\\b.gif "});  // the download hand-off
  EXPECT_EQ(StoredList(), Rows());
  SelectRow(1);
  EXPECT_FALSE(host_.librarySelected);
  EXPECT_EQ(host_.previews, std::vector<std::wstring>{L"C:\\Prog\\Icon Library\\B\\b.gif"});
  for (int answer : {7, -1, 6}) {
    answer_ = answer;
    Click(ids::cmdRotClear);
    EXPECT_EQ(Rows().size(), answer == 6 ? 0u : 2u);
  }
  EXPECT_EQ(StoredList(), Strings{});
  EXPECT_EQ(questions_.at(0),
            L"~B~C#FF0000Remove All Icons from Rotation?~B~N~C#000000 ~NAre you sure you want to remove ~ball~b "
            L"icons from your current rotation?|32|4|Iconvane for AIM");
}

}  // namespace
}  // namespace iv::rotation
