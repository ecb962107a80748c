#include "support.h"

#include <fstream>
#include <sstream>

namespace iv::download::testing {

TempProgramFolder::TempProgramFolder() {
  static int counter = 0;
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  const fs::path p =
      fs::path(tmp) / (L"iv dl " + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(counter++));
  fs::create_directories(p / L"Icon Library");
  path_ = p.wstring();
}

TempProgramFolder::~TempProgramFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::vector<std::string> TempProgramFolder::LibraryFiles() const {
  std::vector<std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(library()))
    if (!e.is_directory()) files.push_back(fs::relative(e.path(), library()).generic_string());
  return files;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace iv::download::testing
