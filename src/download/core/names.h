// Names that come from links and icon lists end up as folder and file names inside
// the Icon Library. They are checked so that no link can write elsewhere.
#pragma once
#include <string>
#include <string_view>

namespace iv::download {

// True for a plain folder or file name: no path separators, drive colons, wildcard
// or other characters Windows rejects, no control characters, not empty, "." or ".."
// after trimming, no blank or dot at either end that Windows would drop silently,
// and no reserved device name (CON, NUL.gif, LPT1...).
bool IsSafeName(std::string_view name);

// A rotation entry "category\file" whose two parts are safe names.
bool IsSafeEntry(std::string_view entry);

// A safe name that ends in ".gif" (any letter case): the library lists nothing else,
// so nothing else may be written into it.
bool IsIconName(std::string_view name);

// The icon's body is a whole GIF image: signature "GIF87a" or "GIF89a" and the
// trailer byte 0x3B at the end.
bool IsGif(std::string_view body);

// The icon server signals failure by an empty reply or an HTML page.
bool IsServerFailure(std::string_view reply);

}  // namespace iv::download
