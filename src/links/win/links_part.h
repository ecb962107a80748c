// The main window's web links, promotion buttons, colour cycle and command bar.
#pragma once
#include <memory>

#include "app/win/part.h"

namespace iv::links {

std::unique_ptr<app::MainPart> MakeLinksPart(app::MainHost& host);

// Opens a web page with the shell; failures are only returned.
bool OpenPage(const std::string& url);

}  // namespace iv::links
