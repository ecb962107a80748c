// The main window's side of downloads: the URL-scheme registration at load, the
// hand-off messages from a downloading copy, and the category update button.
#pragma once
#include <memory>

#include "app/win/part.h"

namespace iv::download {

std::unique_ptr<app::MainPart> MakeDownloadPart(app::MainHost& host);

}  // namespace iv::download
