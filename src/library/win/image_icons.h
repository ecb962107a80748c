// The small pictures of the library views (image list "ImageIcons"), drawn here.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string_view>

namespace iv::library {

// Image indexes, in the order of the image keys.
enum ImageKey : int { ClosedFile = 0, OpenFile, TextFile, Nick, HTMLFile, Buddy, kImageKeyCount };

// A new image list of all keys at `size` pixels square; the caller owns it.
HIMAGELIST CreateImageIcons(int size);

}  // namespace iv::library
