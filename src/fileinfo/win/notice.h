// Where clsFiles reports a file it cannot read, unless a caller gives its own.
#pragma once
#include "fileinfo/win/clsFiles.h"

namespace iv::fileinfo {
clsFiles::Notice DefaultNotice();
}  // namespace iv::fileinfo
