// Where a window goes when its saved position is read back.
#pragma once
#include <string>

namespace iv::ui {

// One edge of a saved position: the stored text (or the centred default) clamped
// so that the window stays on the screen. All lengths in twips.
long ClampedEdge(const std::string& stored, long screen, long window);

// The centred default for one edge, as stored text.
std::string CentredEdge(long screen, long window);

}  // namespace iv::ui
