#include "rotation/core/commands.h"

#include <string>

#include "base/core/text.h"

namespace iv::rotation {

std::optional<Command> ParseCommand(std::string_view commandLine) {
  std::string word = Trim(commandLine);
  if (word.size() >= 2 && word.front() == '"' && word.back() == '"') word = Trim(word.substr(1, word.size() - 2));
  if (EqualsNoCase(word, "-next")) return Command::Next;
  if (EqualsNoCase(word, "-previous")) return Command::Previous;
  if (EqualsNoCase(word, "-pause")) return Command::Pause;
  if (EqualsNoCase(word, "-resume")) return Command::Resume;
  return std::nullopt;
}

std::optional<Command> CommandFromCode(long long code) {
  if (code < static_cast<int>(Command::Next) || code > static_cast<int>(Command::Resume)) return std::nullopt;
  return static_cast<Command>(code);
}

}  // namespace iv::rotation
