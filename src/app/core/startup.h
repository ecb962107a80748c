// The start-up decision.
#pragma once
#include <string>
#include <string_view>

namespace iv::app {

enum class StartKind { CommandLink, MainHidden, MainShown, RotationCommand };

// "icvan:" in any case, quoted or not, starts a command link; exactly "-min" starts hidden;
// "-next", "-previous", "-pause" or "-resume" in any case is handed to the running copy.
StartKind DecideStart(std::string_view commandLine);

}  // namespace iv::app
