#include "app/win/welcome.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "app/core/simple_html.h"
#include "base/win/handles.h"
#include "base/win/utf.h"
#include "base/win/window.h"
#include "shell/win/shell_open.h"

namespace iv::app {

namespace {

std::string_view PageResource() {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC res = FindResourceW(module, L"AIMHTM", MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!res) return {};
  const HGLOBAL data = LoadResource(module, res);
  if (!data) return {};
  return {static_cast<const char*>(LockResource(data)), SizeofResource(module, res)};
}

std::string ReadFileBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class WelcomeView : public Window {
 public:
  void Show(const std::wstring& path) {
    blocks_ = ParseSimpleHtml(ReadFileBytes(path));
    InvalidateRect(hwnd(), nullptr, TRUE);
  }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_PAINT: {
        PaintScope ps(hwnd());
        Paint(ps.dc());
        return 0;
      }
      case WM_LBUTTONUP:
        for (const auto& [rect, href] : links_) {
          const POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
          if (PtInRect(&rect, pt)) (void)shell::ShellOpen(Widen(href));  // failures are not shown
        }
        return 0;
      case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
    }
    return Window::WndProc(msg, wp, lp);
  }
  void OnFinalMessage() override { delete this; }

 private:
  HFONT Font(int heading, bool bold, bool italic, bool underline) {
    const int size = heading == 1 ? 22 : heading == 2 ? 18 : heading == 3 ? 16 : 14;
    const int key = size * 16 + (bold || heading ? 8 : 0) + (italic ? 4 : 0) + (underline ? 2 : 0);
    for (auto& [k, f] : fonts_)
      if (k == key) return f.get();
    fonts_.emplace_back(key, UniqueFont(CreateFontW(-size, 0, 0, 0, (bold || heading) ? FW_BOLD : FW_NORMAL, italic,
                                                    underline, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0,
                                                    L"Arial")));
    return fonts_.back().second.get();
  }

  // Lays the runs out word by word, wrapping at the view's width.
  void Paint(HDC dc) {
    RECT client;
    GetClientRect(hwnd(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    links_.clear();
    const int margin = 8, width = client.right - 2 * margin;
    int y = margin;
    for (const HtmlBlock& block : blocks_) {
      int x = margin, lineHeight = 0;
      for (const HtmlRun& run : block.runs) {
        const bool link = !run.href.empty();
        SelectScope font(dc, Font(block.heading, run.bold, run.italic, link));
        SetTextColor(dc, link ? RGB(0, 0, 204) : GetSysColor(COLOR_WINDOWTEXT));
        const std::wstring text = Widen(run.text);
        size_t start = 0;
        while (start < text.size()) {
          size_t end = text.find(L' ', start);
          end = end == std::wstring::npos ? text.size() : end + 1;
          const std::wstring word = text.substr(start, end - start);
          SIZE size{};
          GetTextExtentPoint32W(dc, word.c_str(), static_cast<int>(word.size()), &size);
          if (x + size.cx > margin + width && x > margin) {
            x = margin;
            y += lineHeight;
          }
          TextOutW(dc, x, y, word.c_str(), static_cast<int>(word.size()));
          if (link) links_.push_back({RECT{x, y, x + size.cx, y + size.cy}, run.href});
          x += size.cx;
          lineHeight = std::max<int>(lineHeight, size.cy);
          start = end;
        }
      }
      y += lineHeight + (block.heading ? 8 : 6);
    }
  }

  std::vector<HtmlBlock> blocks_;
  std::vector<std::pair<int, UniqueFont>> fonts_;
  std::vector<std::pair<RECT, std::string>> links_;
};

}  // namespace

HWND CreateWelcomeView(HWND parent, int id, int x, int y, int w, int h) {
  return Window::CreateSelfOwned(std::make_unique<WelcomeView>(), L"IconvaneWelcomeView", L"", WS_CHILD | WS_VISIBLE,
                                 WS_EX_CLIENTEDGE, x, y, w, h, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), CS_DBLCLKS,
                                 GetSysColorBrush(COLOR_WINDOW));
}

void ShowWelcomePage(HWND view, const std::wstring& path) {
  if (auto* v = dynamic_cast<WelcomeView*>(Window::FromHandle(view))) v->Show(path);
}

bool RestoreWelcomePage(const std::wstring& path) {
  const std::string_view page = PageResource();
  if (page.empty()) return false;
  if (ReadFileBytes(path) == page) return true;
  // Written beside and renamed over, so a failed write never leaves half a page.
  const std::wstring temp = path + L".new";
  {
    std::ofstream out(temp.c_str(), std::ios::binary | std::ios::trunc);
    out.write(page.data(), static_cast<std::streamsize>(page.size()));
    if (!out) return false;
  }
  return MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace iv::app
