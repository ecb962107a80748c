#pragma once
#include <memory>
#include <vector>

#include "app/win/part.h"

namespace iv::app {
std::vector<std::unique_ptr<MainPart>> MakeParts(MainHost& host);
}  // namespace iv::app
