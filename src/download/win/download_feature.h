// The main window's side of downloads: the URL-scheme registration at load, the
// hand-off messages from a downloading copy, and the category update button.
#pragma once
#include <memory>

#include "ui/win/feature.h"
#include "download/core/handoff.h"

namespace iv::download {

std::unique_ptr<ui::Feature> MakeDownloadFeature(ui::Host& host);

// This copy found no running copy and becomes the main copy: its main window adds the
// queue it wrote to the rotation once loaded, then deletes the stored queue.
void AdoptQueueOnLoad(Queue queue);

}  // namespace iv::download
