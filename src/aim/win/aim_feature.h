// The AIM integration as a feature of the main window.
#pragma once
#include <memory>

#include "ui/win/feature.h"

namespace iv::aim {

// Handles TmrAIM, TmrIcon, TmrMsg, "Use this Icon!" (cmdUse), the current icon load step and the
// hook's messages; fills Host::Hooks().applyBuddyIcon and refreshCurrentIcon.
std::unique_ptr<ui::Feature> MakeAimFeature(ui::Host& host);

}  // namespace iv::aim
