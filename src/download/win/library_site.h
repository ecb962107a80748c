// The download engine's fetching and library files, shared by the download window
// and the download benchmark. An icon asked for ahead of its turn is written by the
// worker that fetched it to a temporary file beside its place; the window's thread
// then only renames it into place.
#pragma once
#include <string>

#include "download/core/engine.h"
#include "download/win/inet.h"

namespace iv::download {

class LibrarySite : public DownloadSite {
 public:
  LibrarySite(Inet& inet, std::wstring library) : inet_(inet), library_(std::move(library)) {}
  ~LibrarySite() override { DropSpool(); }
  LibrarySite(const LibrarySite&) = delete;
  LibrarySite& operator=(const LibrarySite&) = delete;

  Fetched Fetch(const std::string& url) override;
  void Prefetch(const std::string& url, const std::string& category, const std::string& file) override;
  // A missing library is created too rather than failing every download.
  bool EnsureFolder(const std::string& category) override;
  bool IconExists(const std::string& category, const std::string& file) override;
  bool WriteIcon(const std::string& category, const std::string& file, const std::string& bytes) override;

 private:
  std::wstring Path(const std::string& category, const std::string& file) const;
  void DropSpool();

  Inet& inet_;
  std::wstring library_;
  std::wstring spool_;  // the last fetched body's temporary file, until written or dropped
};

}  // namespace iv::download
