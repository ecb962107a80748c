// Names that may be joined onto a library path before anything is deleted. A name
// that passes names exactly one entry directly inside its parent folder.
#pragma once
#include <string_view>

namespace iv::library {

// False for empty names, "." and "..", names holding a path separator, a drive colon,
// wildcard or control characters, names with a blank at either end or ending in a dot
// (which the file system would strip, naming another entry) and reserved device names
// (CON, NUL.gif, LPT1, COM¹...) and text that is not UTF-8. Names from links and lists are checked with it too, so
// whatever a download creates can be deleted again.
bool IsSafeName(std::string_view name);

// Well-formed UTF-8: no stray continuation bytes, overlong forms or surrogates.
bool IsUtf8(std::string_view text);

// True when `child` is `parent` + "\" + one further component (ASCII case ignored).
// Both must be fully resolved paths.
bool IsDirectChild(std::string_view parent, std::string_view child);

}  // namespace iv::library
