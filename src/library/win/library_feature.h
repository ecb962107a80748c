// The library views of the main window: the letter box and server category list,
// the category and icon views, their deletions, "Browse..." and the category page.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "library/win/import_ui.h"
#include "ui/win/feature.h"

namespace iv::library {

// What the feature needs from subsystems that may be replaced in tests.
struct LibraryServices {
  // Asks a marked-up Yes/No question; returns the message box result (6 = Yes).
  std::function<int(HWND owner, const std::string& prompt)> ask;
  // Hands a URL or folder to the desktop shell; false when it refused.
  std::function<bool(const std::wstring& target)> open;
  // Choosing pictures and asking and telling about importing them.
  ImportServices import;
};

// The services of the running program.
LibraryServices DefaultLibraryServices();

// The main window's library feature. It fills the host's hooks showPreview, showCategory
// and refreshCategories while it lives.
std::unique_ptr<ui::Feature> MakeLibraryFeature(ui::Host& host);
std::unique_ptr<ui::Feature> MakeLibraryFeature(ui::Host& host, LibraryServices services);

}  // namespace iv::library
