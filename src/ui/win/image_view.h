// A child window that shows one GIF (or any picture GDI+ reads) by path, scaled to
// fit with its aspect kept, and animates animated GIFs on their own frame delays.
// A missing, empty or corrupt file leaves the view empty; nothing is ever shown.
#pragma once
#include <windows.h>

#include <string>

namespace iv::ui {

inline constexpr wchar_t kImageViewClass[] = L"IconvaneGifView";

// Creates the view as a child of `parent` with the control id `id`.
HWND CreateImageView(HWND parent, int id, RECT r);

// Shows the picture at `path` ("" clears the view). The file is read into memory at
// once and not kept open, so it can be replaced or deleted while it is shown.
// False when `view` is not an image view or the file gave no picture; a hidden view
// decodes when it is first painted, and answers true for a file that is not empty.
bool SetImagePath(HWND view, const std::wstring& path);

struct ImageViewState {
  std::wstring path;  // as last set
  int width = 0, height = 0;  // of the picture; 0 when the view is empty
  int frames = 0;
  int frame = 0;  // the frame on show
};
ImageViewState GetImageViewState(HWND view);

}  // namespace iv::ui
