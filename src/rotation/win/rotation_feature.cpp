#include "rotation/win/rotation_feature.h"

#include <windows.h>
#include <commctrl.h>

#include "base/win/utf.h"
#include "base/win/window.h"
#include "msgbox/win/msgbox.h"
#include "rotation/core/rotation_list.h"
#include "rotation/core/schedule.h"
#include "rotation/win/option_hover.h"
#include "ui/win/ids.h"

namespace iv::rotation {

namespace {

constexpr wchar_t kTitle[] = L"Iconvane for AIM";
constexpr wchar_t kClearQuestion[] =
    L"~B~C#FF0000Remove All Icons from Rotation?~B~N~C#000000 ~NAre you sure you want to remove ~ball~b icons "
    L"from your current rotation?";
constexpr wchar_t kFullNotice[] =
    L"~bThe rotation is full.~b~nIt holds 32,767 icons, as many as it can; remove some to add others.";

struct OptionCode {
  int id;
  int code;
};
constexpr OptionCode kOptions[] = {{ids::OptHR, kEveryHour},
                                   {ids::OptDAY, kEveryDay},
                                   {ids::OptWEEK, kEveryWeek},
                                   {ids::OptDISABLE, kDisabled},
                                   {ids::OptCUSTOM, kEveryMinutes}};

// Text of the selected row of a list view, if one is selected.
bool SelectedListViewText(HWND lv, std::wstring& text) {
  if (!lv) return false;
  const int row = ListView_GetNextItem(lv, -1, LVNI_SELECTED);
  if (row < 0) return false;
  text = ListViewText(lv, row);
  return true;
}

class RotationFeatureImpl : public RotationFeature {
 public:
  RotationFeatureImpl(ui::Host& host, std::unique_ptr<Clock> clock, AskFn ask)
      : host_(host),
        clock_(std::move(clock)),
        ask_(std::move(ask)),
        schedule_(host.Store(), *clock_, list_, Narrow(host.ProgramFolder()),
                  [this](const std::string& path) { (void)host_.ApplyBuddyIcon(Widen(path)); }) {
    host_.Hooks().appendToRotation = [this](const std::vector<std::string>& e) { AppendToRotation(e); };
  }

  void OnCreate() override {
    std::vector<HWND> options;
    for (const auto& o : kOptions) options.push_back(host_.Control(o.id));
    hover_.Attach(options);
  }
  void OnUnload() override { hover_.Detach(); }

  void OnLoadStep(ui::LoadStep step) override {
    if (step == ui::LoadStep::RotationList) LoadList();
    if (step == ui::LoadStep::Schedule) LoadSchedule();
  }

  bool OnCommand(int id, int code, HWND /*ctl*/) override {
    if (id == ids::lstRotation) {
      if (code == LBN_SELCHANGE) lstRotation_Click();
      return code == LBN_SELCHANGE;
    }
    if (id == ids::txtMinutes) {
      if (code == EN_CHANGE) schedule_.MinutesChanged(Narrow(GetText(host_.Control(ids::txtMinutes))));
      return code == EN_CHANGE;
    }
    if (code != BN_CLICKED) return false;
    switch (id) {
      case ids::cmdAddRotation: cmdAddRotation_Click(); return true;
      case ids::cmdRemove: cmdRemove_Click(); return true;
      case ids::cmdUp: Move(list_.MoveUp(SelectedRow())); return true;
      case ids::cmdDown: Move(list_.MoveDown(SelectedRow())); return true;
      case ids::cmdRotClear: cmdRotClear_Click(); return true;
    }
    for (const auto& o : kOptions) {
      if (o.id == id) {
        schedule_.SelectOption(o.code, host_.IsLoading());
        return true;
      }
    }
    return false;
  }

  void OnTimer(int timerId) override {
    if (timerId == ids::TmrRotate) schedule_.Tick(Narrow(GetText(host_.Control(ids::txtMinutes))));
  }

  void AppendToRotation(const std::vector<std::string>& entries) override {
    const size_t from = list_.size();
    list_.Append(entries);
    for (size_t i = from; i < list_.size(); ++i) AddRow(list_.at(i));
    list_.Save(host_.Store());
  }

  void SetAsk(AskFn ask) override { ask_ = std::move(ask); }

 private:
  HWND List() const { return host_.Control(ids::lstRotation); }
  int SelectedRow() const { return static_cast<int>(SendMessageW(List(), LB_GETCURSEL, 0, 0)); }
  void Select(int row) { SendMessageW(List(), LB_SETCURSEL, static_cast<WPARAM>(row), 0); }
  void AddRow(const std::string& entry) {
    SendMessageW(List(), LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(Widen(entry).c_str()));
  }
  void SetRow(int row, const std::string& entry) {
    SendMessageW(List(), LB_DELETESTRING, static_cast<WPARAM>(row), 0);
    SendMessageW(List(), LB_INSERTSTRING, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(Widen(entry).c_str()));
  }
  int Ask(const wchar_t* prompt, int icon, int buttons) { return ask_ ? ask_(prompt, icon, buttons, kTitle) : -1; }

  void LoadList() {
    list_.Load(host_.Store());
    HWND lb = List();
    SendMessageW(lb, WM_SETREDRAW, FALSE, 0);
    SendMessageW(lb, LB_RESETCONTENT, 0, 0);
    SendMessageW(lb, LB_INITSTORAGE, list_.size(), list_.size() * 32 * sizeof(wchar_t));
    for (const auto& e : list_.entries()) AddRow(e);
    SendMessageW(lb, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(lb, nullptr, TRUE);
  }

  void LoadSchedule() {
    const Schedule::Settings s = schedule_.ReadSettings();
    // Setting the text stores "Minutes" again through the change handler.
    SetWindowTextW(host_.Control(ids::txtMinutes), Widen(s.minutesText).c_str());
    for (const auto& o : kOptions) {
      if (o.code != s.mode) continue;
      HWND option = host_.Control(o.id);
      CheckRadioButton(GetParent(option), ids::OptHR, ids::OptCUSTOM, o.id);
      schedule_.SelectOption(o.code, host_.IsLoading());
    }
  }

  void cmdAddRotation_Click() {
    std::wstring category, file;
    if (!SelectedListViewText(host_.Control(ids::lvFolders), category) ||
        !SelectedListViewText(host_.Control(ids::lvFiles), file))
      return;
    if (!list_.Add(Narrow(category), Narrow(file))) {
      Ask(kFullNotice, msgbox::kIconExclamation, msgbox::kButtonsOK);
      return;
    }
    AddRow(list_.entries().back());
    list_.Save(host_.Store());
  }

  void cmdRemove_Click() {
    const int row = SelectedRow();
    if (row < 0 || static_cast<size_t>(row) >= list_.size()) return;
    const int next = list_.Remove(row);
    SendMessageW(List(), LB_DELETESTRING, static_cast<WPARAM>(row), 0);
    list_.Save(host_.Store());
    Select(next);
  }

  // Shows the outcome of a move: the two exchanged rows and the new selection.
  void Move(int selected) {
    const int before = SelectedRow();
    if (selected != before && selected >= 0 && before >= 0) {
      SetRow(before, list_.at(static_cast<size_t>(before)));
      SetRow(selected, list_.at(static_cast<size_t>(selected)));
      Select(selected);
    }
    list_.Save(host_.Store());
  }

  void cmdRotClear_Click() {
    if (Ask(kClearQuestion, msgbox::kIconQuestion, msgbox::kButtonsYesNo) != msgbox::kAnswerYes) return;
    list_.Clear();
    SendMessageW(List(), LB_RESETCONTENT, 0, 0);
    list_.Save(host_.Store());
  }

  void lstRotation_Click() {
    // "Use this Icon!" now applies the rotation entry, not the library's.
    host_.LibrarySelected() = false;
    const int row = SelectedRow();
    if (row < 0 || static_cast<size_t>(row) >= list_.size()) return;
    host_.ShowPreview(Widen(IconPath(Narrow(host_.ProgramFolder()), list_.at(static_cast<size_t>(row)))));
  }

  ui::Host& host_;
  std::unique_ptr<Clock> clock_;
  AskFn ask_;
  RotationEntries list_;
  Schedule schedule_;
  OptionHover hover_;
};

}  // namespace

DateTime SystemClock::Now() const {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return DateTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

std::unique_ptr<RotationFeature> MakeRotationFeature(ui::Host& host) {
  auto ask = [](const std::wstring& prompt, int icon, int buttons, const std::wstring& title) {
    return msgbox::ShowMsgBox(prompt, icon, buttons, title).code;
  };
  return MakeRotationFeature(host, std::make_unique<SystemClock>(), ask);
}

std::unique_ptr<RotationFeature> MakeRotationFeature(ui::Host& host, std::unique_ptr<Clock> clock, AskFn ask) {
  return std::make_unique<RotationFeatureImpl>(host, std::move(clock), std::move(ask));
}

}  // namespace iv::rotation
