// The 300-icon list of the local icon site (IV_ICON_SERVER), fetched by the program
// the way a user meets it: from the start of a copy with an AddList link to its
// question "Add List to Rotation?". Printed beside the floor that run-bench.sh
// measures with curl in the same run (IV_CURL_MS: one curl, the list and its icons
// over one kept-alive connection). Also the download engine alone, in this process.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/win/utf.h"
#include "download/core/engine.h"
#include "download/win/files.h"
#include "download/win/inet.h"
#include "download/win/library_site.h"
#include "e2e/support/driver.h"
#include "../wintests/support.h"

namespace iv::download::testing {

namespace {

constexpr char kListPath[] = "/list.php?dir=Bulk.Icons";
constexpr int kRuns = 5;

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return 1000.0 * t.QuadPart / f.QuadPart;
}

class BenchSite : public LibrarySite {
 public:
  explicit BenchSite(const fs::path& library) : LibrarySite(inet_, library.wstring()) {}
  Fetched Fetch(const std::string& url) override {
    const double start = Now();
    Fetched f = LibrarySite::Fetch(url);
    waitMs += Now() - start;
    return f;
  }
  bool Cancelled() const override { return false; }
  bool WriteIcon(const std::string& c, const std::string& f, const std::string& bytes) override {
    const double start = Now();
    const bool ok = LibrarySite::WriteIcon(c, f, bytes);
    writeMs += Now() - start;
    return ok;
  }
  void SetCount(const std::string&) override {}
  void SetProgressRange(int, int) override {}
  void SetProgress(int) override {}

  double waitMs = 0, writeMs = 0;  // time spent waiting for replies and writing files

 private:
  Inet inet_;  // made before the base uses it: only its address is taken there
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Run {
  double window = -1, done = -1, question = -1;  // ms from CreateProcess
  size_t written = 0;
};

// One start of a copy with the list's link, until its question.
Run StartToQuestion(const std::wstring& dir, const std::string& listUrl) {
  std::error_code ec;
  fs::remove_all(fs::path(dir) / L"Icon Library" / L"Bulk Icons", ec);
  Run r;
  const double start = Now();
  e2e::Process p(dir + L"\\iconvane.exe", L"icvan:AddList?list=" + Widen(listUrl), dir);
  e2e::WaitUntil([&] {
    const auto dl = e2e::TopWindows(p.pid(), L"frmDL");
    if (!dl.empty() && r.window < 0) r.window = Now() - start;
    if (!dl.empty() && r.done < 0 && e2e::WindowText(dl.front()) == L"Download Complete") r.done = Now() - start;
    if (!e2e::TopWindows(p.pid(), L"frmMsgBox").empty()) r.question = Now() - start;
    return r.question >= 0;
  }, 120000);
  p.Kill();
  p.WaitExit(20000);
  for (const auto& e : fs::directory_iterator(fs::path(dir) / L"Icon Library" / L"Bulk Icons", ec)) {
    (void)e;
    ++r.written;
  }
  return r;
}

int Main(bool engineOnly) {
  const char* server = std::getenv("IV_ICON_SERVER");
  if (!server || !*server) {
    std::printf("download_bench: run it through run-bench.sh, which starts the icon site\n");
    return 2;
  }
  const std::string listUrl = std::string(server) + kListPath;
  const char* curlText = std::getenv("IV_CURL_MS");
  const double curl = curlText ? std::atof(curlText) : 0;

  e2e::ResetSettings();
  TempProgramFolder folder;
  e2e::CopyProgramFolder(folder.path());
  std::vector<double> window, done, program;
  for (int run = 0; run < kRuns && !engineOnly; ++run) {
    // A start right after a killed copy meets Wine's stall for the closed window.
    if (run > 0) Sleep(2500);
    const Run r = StartToQuestion(folder.path(), listUrl);
    if (r.question < 0 || r.written != 300) {
      std::printf("download_bench: run %d failed (%zu icons written)\n", run + 1, r.written);
      return 1;
    }
    window.push_back(r.window);
    done.push_back(r.done);
    program.push_back(r.question);
  }
  e2e::ResetSettings();
  const double p = engineOnly ? 0 : Median(program);
  if (!engineOnly)
    std::printf("download: 300-icon list, program start to question %.0f ms (median of %d; window up at %.0f ms,"
                " download complete at %.0f ms)\n",
                p, kRuns, Median(window), Median(done));
  if (curl > 0 && !engineOnly) {
    const double target = 3 * curl + 1000;
    std::printf("download: curl floor %.0f ms (301 URLs, one process); target <= 3 x curl + 1000 ms = %.0f ms: %s\n",
                curl, target, p <= target ? "met" : "NOT met");
  }

  // The engine alone, without the program's start-up and window.
  TempProgramFolder engineFolder;
  BenchSite site(engineFolder.library());
  for (const char* run : {"fresh", "all skipped"}) {
    site.waitMs = site.writeMs = 0;
    const double start = Now();
    const DownloadResult r = RunDownload("AddList", listUrl, site);
    const double ms = Now() - start;
    std::printf("download: engine alone, %-11s %.0f ms (%.0f waiting for replies, %.0f writing), %zu queued\n", run,
                ms, site.waitMs, site.writeMs, r.entries.size());
  }
  return engineFolder.LibraryFiles().size() == 300 ? 0 : 1;
}

}  // namespace

}  // namespace iv::download::testing

// --engine: only the engine alone, for a quick look.
int main(int argc, char** argv) {
  return iv::download::testing::Main(argc > 1 && std::string(argv[1]) == "--engine");
}
