// The subsystems that plug into the main window, in the order they receive events.
#include "app/win/parts_list.h"

namespace iv::app {

std::vector<std::unique_ptr<MainPart>> MakeParts(MainHost& host) {
  std::vector<std::unique_ptr<MainPart>> parts;
  // One line per subsystem: parts.push_back(<namespace>::Make<Name>Part(host));
  (void)host;
  return parts;
}

}  // namespace iv::app
