// What a failed hand-over to the desktop shell means, by the shell's result code.
#pragma once
#include <string>

namespace iv::shell {

struct ShellError {
  long number = 0;
  std::string source;   // "<exe name>.GShell"
  std::string message;
};

// True for a result the shell reports as success (below 0 or above 32).
inline bool ShellSucceeded(long long result) { return result < 0 || result > 32; }

// The error for a failed result (0 to 32); exeName is the program's name without extension.
ShellError ShellErrorFor(long long result, const std::string& exeName);

}  // namespace iv::shell
