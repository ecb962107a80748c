// The message box window: one per ShowMsgBox call, owned by that call.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "base/win/handles.h"
#include "base/win/window.h"
#include "msgbox/core/answer.h"
#include "msgbox/win/gdi_measurer.h"
#include "msgbox/win/msgbox.h"

namespace iv::msgbox {

struct MsgBoxArgs {
  std::wstring Prompt;
  int Icon = 0;
  int Buttons = 0;
  std::wstring Title;
  bool ShowInput = false;
  HWND Owner = nullptr;
  HICON Picture = nullptr;
  bool BoldOK = false;
  bool BoldCancel = false;
  std::wstring OKCaption;
  std::wstring CancelCaption;
  std::wstring DefaultText;
  bool SelectText = true;
  int MaxLength = 0;
};

// Keeps an owner window disabled while at least one box of ours is open over it, and
// enables it afterwards only if it was enabled before the first box.
class OwnerLock {
 public:
  explicit OwnerLock(HWND owner);
  OwnerLock(const OwnerLock&) = delete;
  OwnerLock& operator=(const OwnerLock&) = delete;
  ~OwnerLock();

 private:
  HWND owner_;
};

class frmMsgBox : public Window {
 public:
  explicit frmMsgBox(MsgBoxArgs args);
  ~frmMsgBox() override;

  // Lays the message out, creates and shows the box; false when it could not be created.
  bool Open();
  // True once the window is gone; the answer is then final.
  bool Finished() const { return finished_; }
  const MsgResult& Result() const { return result_; }
  // Closes the box as if by its close button.
  void Close();

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnCommand(int id, int code, HWND ctl) override;
  void OnDestroy() override;

 private:
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  void CreateControls(int areaHeightTw, int buttonsTopTw);
  void RenderMessage(const Layout& layout, int areaWidthPx, int areaHeightPx);
  bool OnKey(HWND from, WPARAM key);
  void Answer(Press press);
  void Finish();
  void ShowDefaultButton(HWND focus);
  HWND DefaultFocus() const;
  void FocusNext(bool backwards);
  int X(double twips) const;
  int Y(double twips) const;

  MsgBoxArgs args_;
  double tppX_ = 15;
  double tppY_ = 15;
  HICON image_ = nullptr;  // icon or picture drawn at the left of the message; not owned
  SIZE imageSize_{};
  std::optional<MessageFonts> fonts_;
  UniqueBitmap messageBitmap_;
  HWND area_ = nullptr;
  HWND input_ = nullptr;
  HWND left_ = nullptr;
  HWND right_ = nullptr;
  HWND lastFocus_ = nullptr;
  std::optional<OwnerLock> ownerLock_;
  MsgResult result_;
  bool answered_ = false;
  bool finished_ = false;
};

}  // namespace iv::msgbox
