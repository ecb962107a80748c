#include "links/win/command_bar.h"

#include <vector>

#include "base/win/utf.h"
#include "base/win/window.h"
#include "links/core/links.h"

namespace iv::links {
namespace {

constexpr UINT kToolBase = 1000;
constexpr int kHeadBase = 2000;

// The heads of the bar and the tools under each; an empty tool name stands for
// the band "ZCPopup" as a sub-menu.
struct Head {
  std::string_view tool;
  std::vector<std::string_view> items;
};
const std::vector<Head>& Heads() {
  static const std::vector<Head> heads = {
      {"ID_HELP", {"ID_TOOLHELP", "ID_ABOUT"}},
      {"ID_SITES", {"ID_ICONS", "ID_SMILEY", "ID_DONATE", ""}},
  };
  return heads;
}

HMENU BandMenu() {
  HMENU menu = CreatePopupMenu();
  for (std::string_view name : BandTools())
    AppendMenuW(menu, MF_STRING, ToolCommandId(name), Widen(FindTool(name)->caption).c_str());
  return menu;
}

HMENU HeadMenu(const Head& head) {
  HMENU menu = CreatePopupMenu();
  for (std::string_view name : head.items) {
    if (name.empty()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(BandMenu()), Widen(kBandCaption).c_str());
    } else {
      AppendMenuW(menu, MF_STRING, ToolCommandId(name), Widen(FindTool(name)->caption).c_str());
    }
  }
  return menu;
}

class CommandBar : public Window {
 public:
  ToolHandler handler;

  void Choose(UINT command) {
    const auto& tools = Tools();
    if (command < kToolBase || command >= kToolBase + tools.size() || !handler) return;
    handler(std::string(tools[command - kToolBase].name));
  }

  // Runs a menu and hands on the chosen tool.
  void Track(HMENU menu, POINT at) {
    const HWND self = hwnd();
    SetForegroundWindow(GetAncestor(self, GA_ROOT));
    const UINT chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, self, nullptr);
    DestroyMenu(menu);
    if (chosen) Choose(chosen);
  }

 protected:
  bool OnCreate() override {
    int x = 2;
    for (size_t i = 0; i < Heads().size() + 1; ++i) {
      const std::string_view caption = i < Heads().size() ? FindTool(Heads()[i].tool)->caption : kBandCaption;
      const std::wstring text = Widen(caption);
      const int w = static_cast<int>(text.size()) * 7 + 20;
      CreateControl(hwnd(), L"BUTTON", text.c_str(), BS_PUSHBUTTON | BS_FLAT | WS_TABSTOP, x, 2, w, 22,
                    kHeadBase + static_cast<int>(i));
      x += w + 2;
    }
    return true;
  }

  bool OnCommand(int id, int code, HWND ctl) override {
    if (!ctl) {  // a menu item or an accelerator
      Choose(static_cast<UINT>(id));
      return true;
    }
    if (code != BN_CLICKED || id < kHeadBase) return false;
    const size_t head = static_cast<size_t>(id - kHeadBase);
    RECT r{};
    GetWindowRect(ctl, &r);
    if (head < Heads().size()) {
      // Choosing a head is a tool click too; the table gives those no action.
      if (handler) handler(std::string(Heads()[head].tool));
      if (!IsWindow(ctl)) return true;
      Track(HeadMenu(Heads()[head]), POINT{r.left, r.bottom});
    } else {
      Track(BandMenu(), POINT{r.left, r.bottom});
    }
    return true;
  }

  void OnFinalMessage() override { delete this; }
};

CommandBar* BarOf(HWND bar) { return dynamic_cast<CommandBar*>(Window::FromHandle(bar)); }

}  // namespace

UINT ToolCommandId(std::string_view toolName) {
  const auto& tools = Tools();
  for (size_t i = 0; i < tools.size(); ++i)
    if (tools[i].name == toolName) return kToolBase + static_cast<UINT>(i);
  return 0;
}

HWND CreateCommandBar(HWND parent, int id, RECT r) {
  return Window::CreateSelfOwned(std::make_unique<CommandBar>(), kCommandBarClass, L"",
                                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void SetToolHandler(HWND bar, ToolHandler handler) {
  if (CommandBar* b = BarOf(bar)) b->handler = std::move(handler);
}

std::string TrackBand(HWND owner) {
  POINT pt{};
  GetCursorPos(&pt);
  HMENU menu = BandMenu();
  SetForegroundWindow(GetAncestor(owner, GA_ROOT));
  const UINT chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, pt.x, pt.y, 0, owner, nullptr);
  DestroyMenu(menu);
  const auto& tools = Tools();
  if (chosen < kToolBase || chosen >= kToolBase + tools.size()) return {};
  return std::string(tools[chosen - kToolBase].name);
}

}  // namespace iv::links
