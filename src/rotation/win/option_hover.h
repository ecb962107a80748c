// Mouse-over highlight of the schedule options: the caption of the option under the
// pointer is drawn blue, the others in the system's button-text colour.
#pragma once
#include <windows.h>

#include <vector>

namespace iv::rotation {

class OptionHover {
 public:
  OptionHover() = default;
  OptionHover(const OptionHover&) = delete;
  OptionHover& operator=(const OptionHover&) = delete;
  ~OptionHover() { Detach(); }

  // The options must share one parent, which colours their captions.
  void Attach(const std::vector<HWND>& options);
  void Detach();

  HWND hovered() const { return hovered_; }

 private:
  static LRESULT CALLBACK OptionProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
  static LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
  bool IsOption(HWND hwnd) const;
  void SetHovered(HWND hwnd);

  std::vector<HWND> options_;
  HWND parent_ = nullptr;
  HWND hovered_ = nullptr;
};

}  // namespace iv::rotation
