// The subsystems that plug into the main window, in the order they receive events.
#include "aim/win/aim_part.h"
#include "app/win/parts_list.h"
#include "download/win/download_part.h"
#include "library/win/library_part.h"
#include "links/win/links_part.h"
#include "rotation/win/rotation_part.h"
#include "tray/win/tray_part.h"

namespace iv::app {

std::vector<std::unique_ptr<MainPart>> MakeParts(MainHost& host) {
  std::vector<std::unique_ptr<MainPart>> parts;
  parts.push_back(library::MakeLibraryPart(host));
  parts.push_back(rotation::MakeRotationPart(host));
  parts.push_back(download::MakeDownloadPart(host));
  parts.push_back(aim::MakeAimPart(host));
  parts.push_back(tray::MakeTrayPart(host));
  parts.push_back(links::MakeLinksPart(host));
  return parts;
}

}  // namespace iv::app
