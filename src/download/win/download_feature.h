// The main window's side of downloads: the URL-scheme registration at load, the
// hand-off messages from a downloading copy, and the category update button.
#pragma once
#include <memory>

#include "ui/win/feature.h"

namespace iv::download {

std::unique_ptr<ui::Feature> MakeDownloadFeature(ui::Host& host);

}  // namespace iv::download
