// The subsystems that plug into the main window, in the order they receive events.
#include "aim/win/aim_feature.h"
#include "app/win/features.h"
#include "download/win/download_feature.h"
#include "library/win/library_feature.h"
#include "links/win/links_feature.h"
#include "rotation/win/rotation_feature.h"
#include "tray/win/tray_feature.h"

namespace iv::app {

std::vector<std::unique_ptr<ui::Feature>> MakeFeatures(ui::Host& host) {
  std::vector<std::unique_ptr<ui::Feature>> features;
  features.push_back(library::MakeLibraryFeature(host));
  features.push_back(rotation::MakeRotationFeature(host));
  features.push_back(download::MakeDownloadFeature(host));
  features.push_back(aim::MakeAimFeature(host));
  features.push_back(tray::MakeTrayFeature(host));
  features.push_back(links::MakeLinksFeature(host));
  return features;
}

}  // namespace iv::app
