#pragma once
#include <memory>
#include <vector>

#include "ui/win/feature.h"

namespace iv::app {
std::vector<std::unique_ptr<ui::Feature>> MakeFeatures(ui::Host& host);
}  // namespace iv::app
