// The main window's use of the tray component: its menu, tooltip and handlers.
#pragma once
#include <memory>

#include "ui/win/feature.h"

namespace iv::tray {

std::unique_ptr<ui::Feature> MakeTrayFeature(ui::Host& host);

}  // namespace iv::tray
