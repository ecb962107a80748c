// The AIM integration as a part of the main window.
#pragma once
#include <memory>

#include "app/win/part.h"

namespace iv::aim {

// Handles TmrAIM, TmrIcon, TmrMsg, "Use this Icon!" (cmdUse), load step 15 and the
// hook's messages; fills MainHost::Hooks().applyBuddyIcon and refreshCurrentIcon.
std::unique_ptr<app::MainPart> MakeAimPart(app::MainHost& host);

}  // namespace iv::aim
