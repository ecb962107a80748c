#include "app/win/welcome.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "app/core/simple_html.h"
#include "base/win/files.h"
#include "base/win/handles.h"
#include "base/win/utf.h"
#include "base/win/window.h"
#include "download/win/files.h"
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

// The page's links are SysLink children: real windows that Tab reaches, Enter and a
// click open, and screen readers read. The rest of the page is painted.
class WelcomeView : public Window {
 public:
  void Show(const std::wstring& path) {
    blocks_ = ParseSimpleHtml(ReadWholeFile(path));
    for (const Link& link : links_) DestroyWindow(link.window);
    links_.clear();
    Layout();
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
      case WM_SIZE:
        Layout();
        InvalidateRect(hwnd(), nullptr, TRUE);
        return 0;
      case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wp) != hwnd()) break;  // the links show their own hand
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
    }
    return Window::WndProc(msg, wp, lp);
  }

  bool OnNotify(NMHDR* nm, LRESULT& result) override {
    if (nm->code != NM_CLICK && nm->code != NM_RETURN) return false;
    for (const Link& link : links_) {
      if (link.window != nm->hwndFrom) continue;
      (void)shell::ShellOpen(Widen(link.href));  // failures are not shown
      result = 0;
      return true;
    }
    return false;
  }
  void OnFinalMessage() override { delete this; }

 private:
  struct Word {
    std::wstring text;
    POINT at;
    HFONT font;
    LONG end = 0;  // where the next word on the line would start
  };
  struct Link {
    std::string href;
    std::wstring text;
    HWND window = nullptr;
  };

  HFONT Font(int heading, bool bold, bool italic) {
    const int size = heading == 1 ? 22 : heading == 2 ? 18 : heading == 3 ? 16 : 14;
    const int key = size * 16 + (bold || heading ? 8 : 0) + (italic ? 4 : 0);
    for (auto& [k, f] : fonts_)
      if (k == key) return f.get();
    fonts_.emplace_back(key, UniqueFont(CreateFontW(-size, 0, 0, 0, (bold || heading) ? FW_BOLD : FW_NORMAL, italic,
                                                    FALSE, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0,
                                                    L"Arial")));
    return fonts_.back().second.get();
  }

  // The link window for the n-th link of the page, made on first use.
  HWND LinkWindow(size_t n, const std::string& href, const std::wstring& text, HFONT font) {
    if (n < links_.size()) return links_[n].window;
    const std::wstring markup = L"<a href=\"" + Widen(href) + L"\">" + text + L"</a>";
    const HWND link = CreateControl(hwnd(), WC_LINK, markup.c_str(), WS_TABSTOP, 0, 0, 0, 0, 0);
    SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    links_.push_back({href, text, link});
    return link;
  }

  // Lays the runs out word by word, wrapping at the view's width; a link is one piece.
  void Layout() {
    words_.clear();
    RECT client;
    GetClientRect(hwnd(), &client);
    const HDC dc = GetDC(hwnd());
    const int margin = 8, right = client.right - margin;
    int y = margin;
    size_t linkCount = 0;
    for (const HtmlBlock& block : blocks_) {
      int x = margin, lineHeight = 0;
      // The caller has selected the piece's font.
      const auto place = [&](const std::wstring& piece) {
        SIZE size{};
        GetTextExtentPoint32W(dc, piece.c_str(), static_cast<int>(piece.size()), &size);
        if (x + size.cx > right && x > margin) {
          x = margin;
          y += lineHeight;
          lineHeight = 0;
        }
        const POINT at{x, y};
        x += size.cx;
        lineHeight = std::max<int>(lineHeight, size.cy);
        return std::pair{at, size};
      };
      for (size_t r = 0; r < block.runs.size(); ++r) {
        const HtmlRun& run = block.runs[r];
        const HFONT font = Font(block.heading, run.bold, run.italic);
        SelectScope scope(dc, font);
        if (!run.href.empty()) {
          std::wstring text = Widen(run.text);
          while (r + 1 < block.runs.size() && block.runs[r + 1].href == run.href) text += Widen(block.runs[++r].text);
          const auto [at, size] = place(text);
          MoveWindow(LinkWindow(linkCount++, run.href, text, font), at.x, at.y, std::min<int>(size.cx + 2, right - at.x),
                     size.cy, TRUE);
          continue;
        }
        const std::wstring text = Widen(run.text);
        for (size_t start = 0; start < text.size();) {
          size_t end = text.find(L' ', start);
          end = end == std::wstring::npos ? text.size() : end + 1;
          const std::wstring word = text.substr(start, end - start);
          const auto [at, size] = place(word);
          // Words that follow each other on a line in one font are drawn with one call.
          Word* last = words_.empty() ? nullptr : &words_.back();
          if (last && last->font == font && last->at.y == at.y && last->end == at.x) {
            last->text += word;
          } else {
            words_.push_back({word, at, font});
            last = &words_.back();
          }
          last->end = at.x + size.cx;
          start = end;
        }
      }
      y += lineHeight + (block.heading ? 8 : 6);
    }
    ReleaseDC(hwnd(), dc);
  }

  void Paint(HDC dc) {
    RECT client;
    GetClientRect(hwnd(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    for (const Word& w : words_) {
      SelectScope font(dc, w.font);
      TextOutW(dc, w.at.x, w.at.y, w.text.c_str(), static_cast<int>(w.text.size()));
    }
  }

  std::vector<HtmlBlock> blocks_;
  std::vector<std::pair<int, UniqueFont>> fonts_;
  std::vector<Word> words_;
  std::vector<Link> links_;
};

}  // namespace

HWND CreateWelcomeView(HWND parent, int id, int x, int y, int w, int h) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LINK_CLASS};
  InitCommonControlsEx(&icc);
  // A control parent, so that the dialog keys move into the page's links.
  return Window::CreateSelfOwned(std::make_unique<WelcomeView>(), L"IconvaneWelcomeView", L"", WS_CHILD | WS_VISIBLE,
                                 WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT, x, y, w, h, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), CS_DBLCLKS,
                                 GetSysColorBrush(COLOR_WINDOW));
}

void ShowWelcomePage(HWND view, const std::wstring& path) {
  if (auto* v = dynamic_cast<WelcomeView*>(Window::FromHandle(view))) v->Show(path);
}

bool RestoreWelcomePage(const std::wstring& path) {
  const std::string_view page = PageResource();
  if (page.empty()) return false;
  if (ReadWholeFile(path) == page) return true;
  // Written beside and renamed over, so a failed write never leaves half a page.
  return download::WriteFileAtomic(path, page, true);
}

}  // namespace iv::app
