// The main window's web links, promotion buttons, colour cycle and command bar.
#pragma once
#include <memory>

#include "ui/win/feature.h"

namespace iv::links {

std::unique_ptr<ui::Feature> MakeLinksFeature(ui::Host& host);

// Opens a web page with the shell; failures are only returned.
bool OpenPage(const std::string& url);

}  // namespace iv::links
