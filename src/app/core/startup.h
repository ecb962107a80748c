// The start-up decision and the main window's position rules.
#pragma once
#include <string>
#include <string_view>

namespace iv::app {

enum class StartKind { CommandLink, MainHidden, MainShown, RotationCommand };

// "icvan:" in any case, quoted or not, starts a command link; exactly "-min" starts hidden;
// "-next", "-previous", "-pause" or "-resume" in any case is handed to the running copy.
StartKind DecideStart(std::string_view commandLine);

// One edge of a saved position: the stored text (or the centred default) clamped
// so that the window stays on the screen. All lengths in twips.
long ClampedEdge(const std::string& stored, long screen, long window);

// The centred default for one edge, as stored text.
std::string CentredEdge(long screen, long window);

}  // namespace iv::app
