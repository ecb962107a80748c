// Downloads an icon list of 300 icons from a local server into a fresh library the
// way the download window does (worker-thread fetch, temporary file and rename) and
// prints the time per icon; then the same list again, when every icon is skipped.
#include <cstdio>

#include "base/win/utf.h"
#include "download/core/engine.h"
#include "download/win/files.h"
#include "download/win/inet.h"
#include "../wintests/http_stub.h"
#include "../wintests/support.h"

namespace iv::download::testing {

class BenchSite : public DownloadSite {
 public:
  explicit BenchSite(const fs::path& library) : library_(library.wstring()) {}
  Fetched Fetch(const std::string& url) override { return inet_.OpenURL(url); }
  bool Cancelled() const override { return false; }
  bool EnsureFolder(const std::string& c) override { return download::EnsureFolder(Folder(c)); }
  bool IconExists(const std::string& c, const std::string& f) override {
    return FileExists(Folder(c) + L"\\" + Widen(f));
  }
  bool WriteIcon(const std::string& c, const std::string& f, const std::string& bytes) override {
    return WriteFileAtomic(Folder(c) + L"\\" + Widen(f), bytes, false);
  }
  void SetCount(const std::string&) override {}
  void SetProgressRange(int, int) override {}
  void SetProgress(int) override {}

 private:
  std::wstring Folder(const std::string& c) const { return library_ + L"\\" + Widen(c); }
  std::wstring library_;
  Inet inet_;
};

int Main() {
  constexpr int kIcons = 300;
  HttpStub server;
  TempProgramFolder folder;
  std::string list = "[Bulk Icons]\n";
  const std::string icon = Gif(std::string(2000, '\x55'));  // about the size of a buddy icon
  for (int i = 1; i <= kIcons; ++i) {
    const std::string path = "/i/Bulk.Icons/icon" + std::to_string(i) + ".gif";
    server.Set(path, {200, icon});
    list += server.Base() + path + "\n";
  }
  server.Set("/list", {200, list});
  BenchSite site(folder.library());
  for (const char* run : {"fresh", "all skipped"}) {
    const ULONGLONG start = GetTickCount64();
    const DownloadResult r = RunDownload("AddList", server.Base() + "/list", site);
    const ULONGLONG ms = GetTickCount64() - start;
    std::printf("download_bench %-12s %d icons: %llu ms total, %.2f ms per icon, %zu queued\n", run, kIcons, ms,
                static_cast<double>(ms) / kIcons, r.entries.size());
  }
  return folder.LibraryFiles().size() == kIcons ? 0 : 1;
}

}  // namespace iv::download::testing

int main() { return iv::download::testing::Main(); }
