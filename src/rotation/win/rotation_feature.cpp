#include "rotation/win/rotation_feature.h"

#include <windows.h>
#include <commctrl.h>

#include "base/win/utf.h"
#include "base/win/window.h"
#include "msgbox/win/msgbox.h"
#include "rotation/core/commands.h"
#include "rotation/core/history.h"
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
constexpr wchar_t kPausedText[] = L"Rotation paused";

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

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class RotationFeatureImpl : public RotationFeature {
 public:
  RotationFeatureImpl(ui::Host& host, std::unique_ptr<Clock> clock, AskFn ask)
      : host_(host),
        clock_(std::move(clock)),
        ask_(std::move(ask)),
        schedule_(host.Store(), *clock_, list_, Narrow(host.ProgramFolder()),
                  [this](const std::string& path) { (void)host_.ApplyBuddyIcon(Widen(path)); }),
        history_(host.Store(), FileExists),
        commandMessage_(RegisterWindowMessageW(Widen(kCommandMessageName).c_str())) {
    ui::HostHooks& hooks = host_.Hooks();
    hooks.appendToRotation = [this](const std::vector<std::string>& e) { AppendToRotation(e); };
    hooks.nextIcon = [this] { Run(Command::Next); };
    hooks.previousIcon = [this] { Run(Command::Previous); };
    hooks.pauseRotation = [this](bool pause) { Run(pause ? Command::Pause : Command::Resume); };
    hooks.rotationPaused = [this] { return schedule_.Paused(); };
    hooks.iconApplied = [this](const std::wstring& path) { history_.Applied(Narrow(path)); };
  }

  void OnCreate() override {
    std::vector<HWND> options;
    for (const auto& o : kOptions) options.push_back(host_.Control(o.id));
    hover_.Attach(options);
    // Under the options, inside their frame; shown only while paused.
    pausedLabel_ = CreateControl(GetParent(host_.Control(ids::OptHR)), L"STATIC", kPausedText,
                                 SS_LEFT | SS_NOPREFIX, 22, 142, 180, 18, ids::lblPaused);
    ShowWindow(pausedLabel_, SW_HIDE);
  }
  void OnUnload() override {
    hover_.Detach();
    ui::HostHooks& hooks = host_.Hooks();
    hooks.nextIcon = nullptr;
    hooks.previousIcon = nullptr;
    hooks.pauseRotation = nullptr;
    hooks.rotationPaused = nullptr;
    hooks.iconApplied = nullptr;
  }

  void OnLoadStep(ui::LoadStep step) override {
    if (step == ui::LoadStep::RotationList) LoadList();
    if (step == ui::LoadStep::Schedule) LoadSchedule();
    if (step == ui::LoadStep::End) RunQueuedCommands();
  }

  // A command from another copy (sent) or from our own queue (posted).
  bool OnMessage(UINT msg, WPARAM wp, LPARAM /*lp*/, LRESULT& result) override {
    if (!commandMessage_ || msg != commandMessage_) return false;
    const auto command = CommandFromCode(static_cast<long long>(wp));
    result = command ? kCommandAccepted : 0;
    if (!command) return true;
    // The sender is let go at once; the apply waits seconds for AIM.
    if (InSendMessage()) PostMessageW(host_.MainWindow(), commandMessage_, wp, 0);
    else Run(*command);
    return true;
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
    if (timerId != ids::TmrRotate) return;
    schedule_.Tick(Narrow(GetText(host_.Control(ids::txtMinutes))));
    // Another copy may have paused or resumed; an empty rotation reads nothing.
    if (!list_.empty()) ShowPaused(schedule_.Paused());
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

  // Commands that come while the window still loads wait for the rotation and the
  // schedule to be loaded.
  void Run(Command command) {
    if (!loaded_) {
      queued_.push_back(command);
      return;
    }
    switch (command) {
      case Command::Next: schedule_.NextNow(); break;
      case Command::Previous:
        if (const auto icon = history_.BeginBack()) (void)host_.ApplyBuddyIcon(Widen(*icon));
        break;
      case Command::Pause:
      case Command::Resume:
        schedule_.SetPaused(command == Command::Pause);
        ShowPaused(command == Command::Pause);
        break;
    }
  }

  void RunQueuedCommands() {
    loaded_ = true;
    // Posted: they run after the load sequence has ended.
    for (Command c : queued_) PostMessageW(host_.MainWindow(), commandMessage_, static_cast<WPARAM>(c), 0);
    queued_.clear();
  }

  // The label's own visibility: its tab may be hidden.
  void ShowPaused(bool paused) {
    if (!pausedLabel_) return;
    const bool shown = (GetWindowLongW(pausedLabel_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != paused) ShowWindow(pausedLabel_, paused ? SW_SHOW : SW_HIDE);
  }

  void LoadSchedule() {
    ShowPaused(schedule_.Paused());
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
  IconHistory history_;
  OptionHover hover_;
  UINT commandMessage_;
  HWND pausedLabel_ = nullptr;
  bool loaded_ = false;
  std::vector<Command> queued_;
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
