#include "app/core/startup.h"

#include "base/core/text.h"
#include "rotation/core/commands.h"

namespace iv::app {

StartKind DecideStart(std::string_view commandLine) {
  // The registered handler passes the link in quotes so that blanks survive.
  const std::string_view link =
      commandLine.size() > 1 && commandLine.front() == '"' ? commandLine.substr(1) : commandLine;
  if (StartsWithNoCase(link, "icvan:")) return StartKind::CommandLink;
  if (commandLine == "-min") return StartKind::MainHidden;
  if (rotation::ParseCommand(commandLine)) return StartKind::RotationCommand;
  return StartKind::MainShown;
}

}  // namespace iv::app
