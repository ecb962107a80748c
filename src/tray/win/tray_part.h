// The main window's use of the tray component: its menu, tooltip and handlers.
#pragma once
#include <memory>

#include "app/win/part.h"

namespace iv::tray {

std::unique_ptr<app::MainPart> MakeTrayPart(app::MainHost& host);

}  // namespace iv::tray
