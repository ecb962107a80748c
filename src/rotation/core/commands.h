// Commands that another process, or the tray menu, gives the running copy's
// rotation: "-next", "-previous", "-pause" and "-resume" on the command line.
#pragma once
#include <optional>
#include <string_view>

namespace iv::rotation {

// Carried as the wParam of the registered window message below; the numbers are
// what other copies send, so they never change.
enum class Command : int { Next = 1, Previous = 2, Pause = 3, Resume = 4 };

// The registered window message that carries a command to the main window.
inline constexpr char kCommandMessageName[] = "Iconvane.RotationCommand";
// What the main window answers when it has taken a command.
inline constexpr long kCommandAccepted = 0x1C0A;

// The command a whole command line names: one of the four words in any case,
// optionally quoted, blanks around it ignored.
std::optional<Command> ParseCommand(std::string_view commandLine);

// A wParam from another process, if it names a command.
std::optional<Command> CommandFromCode(long long code);

}  // namespace iv::rotation
