#include "download/win/library_site.h"

#include <windows.h>

#include <utility>

#include "base/win/utf.h"
#include "download/win/files.h"

namespace iv::download {

std::wstring LibrarySite::Path(const std::string& category, const std::string& file) const {
  return library_ + L"\\" + Widen(category) + (file.empty() ? L"" : L"\\" + Widen(file));
}

void LibrarySite::DropSpool() {
  if (!spool_.empty()) DeleteFileW(std::exchange(spool_, {}).c_str());
}

Fetched LibrarySite::Fetch(const std::string& url) {
  DropSpool();  // the previous body was not written
  return inet_.OpenURL(url, {}, &spool_);
}

void LibrarySite::Prefetch(const std::string& url, const std::string& category, const std::string& file) {
  inet_.Prefetch(url, TempNameFor(Path(category, file)));
}

bool LibrarySite::EnsureFolder(const std::string& category) {
  return download::EnsureFolder(library_) && download::EnsureFolder(Path(category, ""));
}

bool LibrarySite::IconExists(const std::string& category, const std::string& file) {
  return FileExists(Path(category, file));
}

bool LibrarySite::WriteIcon(const std::string& category, const std::string& file, const std::string& bytes) {
  if (spool_.empty()) return WriteFileAtomic(Path(category, file), bytes, false);
  return CommitFile(std::exchange(spool_, {}), Path(category, file));
}

}  // namespace iv::download
