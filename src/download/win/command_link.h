// Start-up with a command link ("icvan:AddIcon?key=URL" or "icvan:AddList?key=URL").
#pragma once
#include <memory>
#include <string>

#include "ui/win/form.h"

namespace iv::download {

// What the download window decided: end with exitCode, or go on as the main window.
struct LinkOutcome {
  int exitCode = 0;
  bool runMainWindow = false;
  // Kept alive while the main window runs: it may stay open, or close once the main
  // window exists.
  std::unique_ptr<ui::Form> window{};
};

// Runs the download window for the link until it ends or, when no running copy takes
// the result, until it wants this copy to open its own main window.
[[nodiscard]] LinkOutcome RunCommandLink(const std::wstring& commandLine);

}  // namespace iv::download
