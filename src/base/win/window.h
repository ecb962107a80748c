// The window base class every window of the program derives from. The object is tied
// to its HWND at WM_NCCREATE; the procedure calls virtual handlers. WM_COMMAND,
// WM_NOTIFY and WM_DRAWITEM are first offered back to the child that sent them.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <utility>

namespace iv {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }

  // Registers the class once (lazily) and creates the window with this object attached.
  // An icon loaded from a resource gives the class its small icon too: the system takes
  // the small size from the same resource. A small icon alone serves the caption.
  bool Create(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y, int w,
              int h, HWND parent, HMENU menuOrId, UINT classStyle = CS_DBLCLKS, HBRUSH background = nullptr,
              HICON icon = nullptr, HICON smallIcon = nullptr);

  // For windows that delete themselves in OnFinalMessage: creates the window with Create's
  // arguments and hands it the object. On failure the object is deleted exactly once, by
  // its final message when a window existed for a moment, here otherwise.
  template <typename T, typename... Args>
  static HWND CreateSelfOwned(std::unique_ptr<T> window, Args&&... args) {
    bool attached = false;
    Window* raw = window.release();
    raw->attached_ = &attached;
    if (raw->Create(std::forward<Args>(args)...)) return raw->hwnd();
    if (!attached) delete raw;
    return nullptr;
  }

  // The object attached to a window of ours, or nullptr.
  static Window* FromHandle(HWND hwnd);

 protected:
  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

  virtual bool OnCreate() { return true; }
  virtual void OnDestroy() {}
  virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*ctl*/) { return false; }
  virtual bool OnNotify(NMHDR* /*nm*/, LRESULT& /*result*/) { return false; }
  virtual void OnTimer(UINT_PTR /*id*/) {}
  virtual void OnSize(int /*w*/, int /*h*/) {}
  // Notifications reflected from the parent: a control handles its own events.
  virtual bool OnReflectedCommand(int /*code*/) { return false; }
  virtual bool OnReflectedNotify(NMHDR* /*nm*/, LRESULT& /*result*/) { return false; }
  virtual bool OnReflectedDrawItem(DRAWITEMSTRUCT* /*di*/) { return false; }
  // Called after the last message, once the object is detached from its window.
  // Windows that own themselves (created with new, left to their parent) delete here.
  virtual void OnFinalMessage() {}

 private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
  bool* attached_ = nullptr;  // set once a window is tied to this object
};

// Text of any window, in UTF-16.
std::wstring GetText(HWND hwnd);

// The text of a list box's item, or of a list view's cell ("" for no such item).
std::wstring ListBoxText(HWND listBox, int index);
std::wstring ListViewText(HWND listView, int row, int column = 0);

// The font every control of ours uses.
HFONT UiFont();

// True when the window has no border, caption or scroll bar: nothing outside its client
// area to paint.
bool Frameless(HWND hwnd);

// A plain child control of a system class, with the UI font. While it has no frame it
// skips WM_NCPAINT (see Window::WndProc).
HWND CreateControl(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
                   int id, DWORD exStyle = 0);

}  // namespace iv
