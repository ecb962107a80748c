#include "support.h"

namespace iv::download::testing {

std::vector<std::string> TempProgramFolder::LibraryFiles() const {
  std::vector<std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(library()))
    if (!e.is_directory()) files.push_back(fs::relative(e.path(), library()).generic_string());
  return files;
}

}  // namespace iv::download::testing
