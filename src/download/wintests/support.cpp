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

namespace {
BOOL CALLBACK FindVisible(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<std::pair<const wchar_t*, HWND>*>(lp);
  if (!IsWindowVisible(h) || e2e::WindowText(h) != s->first) return TRUE;
  s->second = h;
  return FALSE;
}
}  // namespace

bool AnswerBox(e2e::Process& p, const wchar_t* button, const wchar_t* title, DWORD ms) {
  const HWND box = e2e::WaitForTopWindow(p.pid(), L"frmMsgBox", title, ms);
  std::pair<const wchar_t*, HWND> search{button, nullptr};
  const auto found = [&] {
    EnumChildWindows(box, FindVisible, reinterpret_cast<LPARAM>(&search));
    return search.second != nullptr;
  };
  if (!box || !e2e::WaitUntil(found, ms)) return false;
  e2e::Click(search.second);
  return true;
}

}  // namespace iv::download::testing
