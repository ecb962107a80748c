#include "shell/core/shell_error.h"

namespace iv::shell {

ShellError ShellErrorFor(long long result, const std::string& exeName) {
  constexpr long kBase = -2147220456;
  ShellError e;
  e.source = exeName + ".GShell";
  const long r = static_cast<long>(result);
  switch (r) {
    case 0:
    case 8: e.number = 7; e.message = "Out of memory"; break;
    case 2: e.number = 53; e.message = "File not found"; break;
    case 3: e.number = 76; e.message = "Path not found"; break;
    case 5: e.number = 75; e.message = "Path/file access error"; break;
    case 11: e.number = kBase + 11; e.message = "The executable file is invalid or corrupt"; break;
    case 26: e.number = 75; e.message = "A sharing violation occurred."; break;
    case 27: e.number = kBase + 27; e.message = "This file type does not have a valid file association."; break;
    case 28:
      e.number = 286;
      e.message = "The file could not be opened due to time out.  Please try again in a moment.";
      break;
    case 29:
      e.number = 285;
      e.message = "The file could not be opened because the DDE transaction failed.  Please try again in a moment.";
      break;
    case 30:
      e.number = 285;
      e.message = "The file could not be opened because the target application is busy.  Please try again in a moment.";
      break;
    case 31: e.number = kBase + 31; e.message = "No application is associated with this file type."; break;
    case 32: e.number = 48; e.message = "The specified dynamic-link library was not found."; break;
    default:
      e.number = kBase + r;
      e.message = "An error occurred occurred whilst trying to open or print the selected file.";
      break;
  }
  return e;
}

}  // namespace iv::shell
